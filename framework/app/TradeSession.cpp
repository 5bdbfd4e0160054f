// The trade session's texts; see the header.
#include "framework/app/TradeSession.h"

#include "framework/app/CAppData.h"

std::string CurrentLoginId() {
    const CAppData* app = CAppData::Instance();
    const char* id = app ? app->GetLoginId() : nullptr;
    return id ? std::string(id) : std::string();
}

std::string CurrentTradePassword() {
    const CAppData* app = CAppData::Instance();
    const char* pw = app ? app->GetTradePassword() : nullptr;
    return pw ? std::string(pw) : std::string();
}

bool IsSendableLoginId(std::string_view loginId) {
    return !loginId.empty() && loginId.find('%') == std::string_view::npos;
}

bool IsSendablePassword(std::string_view password) {
    if (password.empty())
        return false;
    for (char c : password) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= ' ' || c == '&' || c == '=' || c == '%' || u == 0x7F)
            return false;
    }
    return true;
}
