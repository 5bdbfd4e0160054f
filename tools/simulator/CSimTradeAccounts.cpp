// The simulated broker's departments, customers and tokens.
#include "tools/simulator/CSimTradeAccounts.h"

#include "core/HmacSha1.h"

#include <cstdio>

namespace {
const std::vector<SimSalesDept> kDepartments = {
    {"0001", u"深圳深南中路证券营业部"}, {"0002", u"深圳华强北路证券营业部"},
    {"0003", u"上海浦东南路证券营业部"}, {"0004", u"上海淮海中路证券营业部"},
    {"0005", u"北京金融大街证券营业部"}, {"0006", u"广州天河北路证券营业部"},
    {"0007", u"杭州庆春路证券营业部"},   {"0008", u"成都人民南路证券营业部"},
    {"0009", u"武汉中北路证券营业部"},   {"0010", u"南京中山东路证券营业部"},
    {"0011", u"西安高新路证券营业部"},   {"0012", u"重庆解放碑证券营业部"},
};

SimHolderAccount Holder(const char* market, std::string secuid) {
    static const char16_t* const kNames[] = {u"深A", u"沪A", u"深B", u"沪B"};
    return {market, kNames[market[0] - '0'], std::move(secuid)};
}

std::vector<SimTradeAccount> MakeAccounts() {
    std::vector<SimTradeAccount> out;
    // A fund account in every market, the simple way.
    out.push_back({"000100012345", "0001", u"张伟", "123456", "", false,
                   {Holder("0", "0100012345"), Holder("1", "A100012345"), Holder("2", "2000012345"),
                    Holder("3", "C100012345")}});
    // A pass phrase, the two A markets.
    out.push_back({"000100012346", "0001", u"李娜", "135790", "orb2026", false,
                   {Holder("0", "0100012346"), Holder("1", "A100012346")}});
    // Phone tokens (kDefaultSeed until a test sets another).
    out.push_back({"000300056789", "0003", u"王芳", "246810", "", false,
                   {Holder("0", "0100056789"), Holder("1", "A300056789"), Holder("3", "C300056789")}});
    out.push_back({"000500088001", "0005", u"陈静", "112233", "jing88", false,
                   {Holder("1", "B880123456"), Holder("1", "D890123456"), Holder("0", "0100088001")}});
    // Locked.
    out.push_back({"000200023456", "0002", u"刘洋", "654321", "", true,
                   {Holder("0", "0100023456"), Holder("1", "A200023456")}});
    return out;
}
} // namespace

CSimTradeAccounts::CSimTradeAccounts() : m_departments(kDepartments), m_accounts(MakeAccounts()) {
    m_tokens["000300056789"] = {kDefaultSeed, 1};
    m_tokens["000500088001"] = {kDefaultSeed, 1};
}

const SimTradeAccount* CSimTradeAccounts::FindFund(std::string_view fundid) const {
    for (const SimTradeAccount& account : m_accounts)
        if (account.fundid == fundid)
            return &account;
    return nullptr;
}

bool CSimTradeAccounts::SetPassword(std::string_view fundid, std::string_view password) {
    for (SimTradeAccount& account : m_accounts)
        if (account.fundid == fundid) {
            account.password = password;
            return true;
        }
    return false;
}

const SimTradeAccount* CSimTradeAccounts::FindLogin(std::string_view inputType, std::string_view inputId) const {
    if (inputType == "Z")
        return FindFund(inputId);
    for (const SimTradeAccount& account : m_accounts)
        for (const SimHolderAccount& holder : account.holders)
            if (holder.market == inputType && holder.secuid == inputId)
                return &account;
    return nullptr;
}

bool CSimTradeAccounts::SetTokenSeed(std::string_view fundid, std::string_view seed) {
    if (!FindFund(fundid))
        return false;
    const std::lock_guard lock(m_tokenLock);
    if (seed.empty())
        m_tokens.erase(std::string(fundid));
    else
        m_tokens[std::string(fundid)] = {std::string(seed), 1};
    return true;
}

bool CSimTradeAccounts::HasToken(std::string_view fundid) const {
    const std::lock_guard lock(m_tokenLock);
    return m_tokens.find(fundid) != m_tokens.end();
}

std::uint32_t CSimTradeAccounts::TokenCounter(std::string_view fundid) const {
    const std::lock_guard lock(m_tokenLock);
    const auto it = m_tokens.find(fundid);
    return it == m_tokens.end() ? 0 : it->second.counter;
}

CSimTradeAccounts::TokenCheck CSimTradeAccounts::CheckTokenCode(std::string_view fundid, std::string_view code) {
    const std::lock_guard lock(m_tokenLock);
    const auto it = m_tokens.find(fundid);
    if (it == m_tokens.end())
        return TokenCheck::NoToken;
    Token& token = it->second;
    for (std::uint32_t c = token.counter; c < token.counter + kTokenLookAhead; ++c) {
        const std::string expected = Hotp(token.seed, c);
        if (!expected.empty() && expected == code) {
            token.counter = c + 1;
            return TokenCheck::Accepted;
        }
    }
    return TokenCheck::Refused;
}

std::string CSimTradeAccounts::Hotp(std::string_view seedHex, std::uint32_t counter) {
    // Whole hexadecimal pairs only: the seeds the server hands out.
    const auto nibble = [](char c) {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    };
    if (seedHex.size() % 2 != 0)
        return {};
    std::vector<std::uint8_t> key;
    for (size_t i = 0; i < seedHex.size(); i += 2) {
        const int high = nibble(seedHex[i]);
        const int low = nibble(seedHex[i + 1]);
        if (high < 0 || low < 0)
            return {};
        key.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    const std::uint8_t block[8] = {0, 0, 0, 0, std::uint8_t(counter >> 24), std::uint8_t(counter >> 16),
                                   std::uint8_t(counter >> 8), std::uint8_t(counter)};
    std::uint8_t mac[20];
    static const std::uint8_t kNone = 0;
    if (HmacSha1(key.empty() ? &kNone : key.data(), static_cast<int>(key.size()), block, 8, mac) != 0)
        return {};
    const int o = mac[19] & 0x0F;
    const std::uint32_t v = (mac[o] & 0x7Fu) << 24 | mac[o + 1] << 16 | mac[o + 2] << 8 | mac[o + 3];
    char text[8];
    std::snprintf(text, sizeof text, "%06u", v % 1000000u);
    return text;
}
