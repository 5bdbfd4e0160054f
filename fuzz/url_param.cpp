// Fuzz target: request parameters. The input is a query, a key and a value
// split at NUL bytes; a value set must be the value then read, whenever the
// key and the value keep clear of the separators.
#include "core/StrUtil.h"

#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    input.append(3, '\0');
    const char* query = input.c_str();
    const char* key = query + std::strlen(query) + 1;
    const char* value = key + std::strlen(key) + 1;

    free(GetUrlParam(query, key));
    char* set = SetUrlParam(query, key, value);
    if (!set) {
        if (*key)  // only an empty key is refused
            std::abort();
        return 0;
    }
    char* read = GetUrlParam(set, key);
    bool plainKey = std::strpbrk(key, "&=") == nullptr;
    bool plainValue = std::strpbrk(value, "& ") == nullptr;
    if (plainKey && plainValue && (!read || std::strcmp(read, value) != 0))
        std::abort();
    free(read);
    free(set);
    return 0;
}
