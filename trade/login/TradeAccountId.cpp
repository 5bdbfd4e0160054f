// The account-id rule of the trade login.
#include "trade/login/TradeAccountId.h"

namespace {
std::string PadLeft(std::string_view text, size_t width) {
    std::string out;
    if (text.size() < width)
        out.assign(width - text.size(), '0');
    out += text;
    return out;
}
} // namespace

std::string NormalizeAccount(std::string_view typed, std::string_view typeCode, std::string_view deptCode) {
    const size_t n = typed.size();
    if (typeCode == kAccountTypeFund) {
        std::string id = PadLeft(typed, 8);
        if (id.size() < 12)
            id.insert(0, deptCode);
        return id;
    }
    if (typeCode == kAccountTypeShenzhenA || typeCode == kAccountTypeShenzhenB)
        return n < 10 ? PadLeft(typed, 10) : std::string(typed);
    if (typeCode == kAccountTypeShanghaiA && n == 9) {
        const char* prefix = typed.starts_with("88") ? "B" : typed.starts_with("89") ? "D" : "A";
        return prefix + std::string(typed);
    }
    if (typeCode == kAccountTypeShanghaiB && n == 9)
        return "C" + std::string(typed);
    return std::string(typed);
}
