// Strict reading of function numbers; see the header.
#include "core/FunctionNumbers.h"

#include "core/StrUtil.h"

bool ParseFunctionNumber(std::string_view value, int* number) {
    if (value.empty() || value.size() > 9 || (value.size() > 1 && value[0] == '0'))
        return false;
    int n = 0;
    for (char c : value) {
        if (c < '0' || c > '9')
            return false;
        n = n * 10 + (c - '0');
    }
    *number = n;
    return true;
}

CFunctionNumbers ReadFunctionNumbers(std::string_view text) {
    CFunctionNumbers out;
    bool seenMain = false, seenSub = false;
    while (!text.empty()) {
        const size_t amp = text.find('&');
        const std::string_view part = text.substr(0, amp);
        text = amp == std::string_view::npos ? std::string_view() : text.substr(amp + 1);
        const size_t eq = part.find('=');
        const std::string_view name = part.substr(0, eq);
        const bool isMain = EqualsNoCase(name, "tc_mfuncno");
        if (!isMain && !EqualsNoCase(name, "tc_sfuncno"))
            continue;
        bool& seen = isMain ? seenMain : seenSub;
        if (seen)
            out.repeated = true;
        seen = true;
        int value = -1;
        if (eq == std::string_view::npos || !ParseFunctionNumber(part.substr(eq + 1), &value)) {
            out.malformed = true;
            value = -1;
        }
        (isMain ? out.main : out.sub) = value;
    }
    return out;
}
