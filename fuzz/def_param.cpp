// Fuzz target: a settings file "DefParam.dat" read as the program reads it;
// what it reads must write back to a file that reads the same.
#include "framework/app/CDefParam.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::optional<std::vector<CDefParam::Entry>> entries = CDefParam::Parse(data, size);
    if (!entries)
        return 0;
    for (const CDefParam::Entry& entry : *entries) {
        if (entry.first.empty() || entry.first.size() > CDefParam::kMaxTextLength ||
            entry.second.size() > CDefParam::kMaxTextLength)
            std::abort();
    }
    std::vector<uint8_t> written = CDefParam::Serialize(*entries);
    if (written.size() != size || CDefParam::Parse(written.data(), written.size()) != entries)
        std::abort();
    return 0;
}
