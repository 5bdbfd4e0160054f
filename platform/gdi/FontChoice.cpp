// The kept font choice (see the header). The file is four lines:
// the path, the face index, the font file's size and its modification time
// in nanoseconds.
#include "platform/gdi/FontChoice.h"

#include "platform/storage/AtomicFile.h"

#include <charconv>
#include <string_view>
#include <sys/stat.h>

namespace {

struct CFileStamp {
    long long size = 0;
    long long mtimeNs = 0;
};

std::optional<CFileStamp> StampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return CFileStamp{static_cast<long long>(st.st_size),
                      static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
}

bool ParseNumber(std::string_view text, long long& out) {
    if (text.empty())
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size();
}

} // namespace

std::optional<CFontChoice> ReadFontChoice(const std::string& keptPath) {
    const std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(keptPath);
    if (!bytes || bytes->size() > 4096)
        return std::nullopt;
    std::string_view rest(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    std::string_view lines[4];
    for (std::string_view& line : lines) {
        const size_t end = rest.find('\n');
        if (end == std::string_view::npos)
            return std::nullopt;
        line = rest.substr(0, end);
        rest.remove_prefix(end + 1);
    }
    long long index = 0, size = 0, mtimeNs = 0;
    if (!rest.empty() || lines[0].empty() || lines[0][0] != '/' || !ParseNumber(lines[1], index) || index < 0 ||
        index > 0xFFFF || !ParseNumber(lines[2], size) || !ParseNumber(lines[3], mtimeNs))
        return std::nullopt;
    CFontChoice choice{std::string(lines[0]), static_cast<int>(index)};
    const std::optional<CFileStamp> now = StampOf(choice.file);
    if (!now || now->size != size || now->mtimeNs != mtimeNs)
        return std::nullopt;
    return choice;
}

bool KeepFontChoice(const std::string& keptPath, const CFontChoice& choice) {
    // A path that would break the lines, or a relative one, is not kept.
    if (choice.file.empty() || choice.file[0] != '/' || choice.file.find('\n') != std::string::npos)
        return false;
    const std::optional<CFileStamp> stamp = StampOf(choice.file);
    if (!stamp)
        return false;
    std::string text = choice.file;
    text += '\n';
    text += std::to_string(choice.index);
    text += '\n';
    text += std::to_string(stamp->size);
    text += '\n';
    text += std::to_string(stamp->mtimeNs);
    text += '\n';
    return WriteFileAtomically(keptPath, text.data(), text.size());
}
