// The resident figures from /proc/self/status, which the kernel keeps per
// kind of page, so reading it costs no walk of the mappings.
#include "platform/system/ResidentMemory.h"

#include <cstdio>
#include <malloc.h>
#include <string>

namespace {

// The value in kB of the line "<name>:   <n> kB", or nullopt.
std::optional<size_t> FieldKb(std::string_view text, std::string_view name) {
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (line.size() <= name.size() || line.substr(0, name.size()) != name || line[name.size()] != ':')
            continue;
        line.remove_prefix(name.size() + 1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        size_t kb = 0, digits = 0;
        for (; digits < line.size() && line[digits] >= '0' && line[digits] <= '9'; ++digits) {
            if (digits >= 15) // beyond any memory there is
                return std::nullopt;
            kb = kb * 10 + static_cast<size_t>(line[digits] - '0');
        }
        if (digits == 0 || line.substr(digits) != " kB")
            return std::nullopt;
        return kb;
    }
    return std::nullopt;
}

} // namespace

std::optional<CResidentMemory> ParseResidentMemory(std::string_view statusText) {
    const std::optional<size_t> file = FieldKb(statusText, "RssFile");
    const std::optional<size_t> shmem = FieldKb(statusText, "RssShmem");
    const std::optional<size_t> anon = FieldKb(statusText, "RssAnon");
    if (!file || !shmem || !anon)
        return std::nullopt;
    return CResidentMemory{*file * 1024, *shmem * 1024, *anon * 1024};
}

std::optional<CResidentMemory> ReadResidentMemory() {
    std::FILE* file = std::fopen("/proc/self/status", "re");
    if (!file)
        return std::nullopt;
    std::string text;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, n);
    std::fclose(file);
    return ParseResidentMemory(text);
}

void KeepHeapSmall() {
    mallopt(M_ARENA_MAX, 4);
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    // Setting the threshold above leaves the trim threshold at 128 kB for
    // good. A screen's controls and replies take a few hundred kB at the top
    // of the heap; given back as each screen closes, they come back as fresh
    // zeroed pages at the next tap. Half a megabyte kept covers a screen.
    mallopt(M_TRIM_THRESHOLD, 512 * 1024);
}
