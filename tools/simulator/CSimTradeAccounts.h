// The simulated broker's trade data: its sales departments (501/17) and
// its customers' accounts with their phone tokens, deterministic so tests
// and screens can name them.
//
// Accounts. Each customer has one fund account ("fundid": the department's
// 4-character code and 8 digits, so a typed "12345" under department
// "0001" is "000100012345") and several holder accounts, one per market,
// each id in the form the client's NormalizeAccount gives: Shenzhen A and
// B ten digits, Shanghai A "A", "B" (numbers from 88) or "D" (from 89) and
// nine digits, Shanghai B "C" and nine digits. A login names its account
// by type and id (FindLogin). Every account has a six-digit trading
// password; an account with a pass phrase needs it (authtype 2), one
// without takes the simple way (authtype 0); a locked account refuses
// every login.
//
// Tokens. Some customers have a phone token: a seed (hexadecimal text) and
// the server's counter, shared by the fund account and its holders, as one
// application gives them. A code is checked from the server's counter
// (1 after the application) over a look-ahead window of kTokenLookAhead
// values, so the server falls back in step with a phone that spent codes
// the server never saw (an attempt refused by the phone itself or lost on
// the way); an accepted code moves the counter past it, so a code used
// once, or an older one, is refused. Tests set seeds with SetTokenSeed.
//
// Threads: the accounts change only through SetPassword, which a route
// calls under the server's lock; the tokens are
// guarded by a lock of their own, so a test may set a seed while the
// server runs.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

struct SimSalesDept {
    std::string code;        // 4 characters
    std::u16string name;
};

struct SimHolderAccount {
    std::string market;      // trade market: "0" 深A, "1" 沪A, "2" 深B, "3" 沪B
    std::u16string marketName; // "深A", "沪A", "深B", "沪B"
    std::string secuid;      // holder account id
};

struct SimTradeAccount {
    std::string fundid;      // 12 characters: orgid and 8 digits
    std::string orgid;       // the department's code
    std::u16string custname;
    std::string password;    // trading password, 6 digits
    std::string passPhrase;  // empty: the simple way (authtype 0) is accepted
    bool locked = false;     // every login refused
    std::vector<SimHolderAccount> holders;
};

class CSimTradeAccounts {
public:
    // Codes are checked from the server's counter up to this many values on:
    // room for a user's run of failed attempts that never reached the server.
    static constexpr std::uint32_t kTokenLookAhead = 10;
    // The seed of the accounts that have a token until a test sets another:
    // the RFC 4226 test key ("12345678901234567890").
    static constexpr char kDefaultSeed[] = "3132333435363738393031323334353637383930";

    CSimTradeAccounts();

    // The broker's departments in the order 501/17 lists them.
    const std::vector<SimSalesDept>& Departments() const { return m_departments; }
    // Every customer, in a fixed order.
    const std::vector<SimTradeAccount>& Accounts() const { return m_accounts; }

    // The customer a login names: type "Z" by fundid, "0".."3" by the id of
    // the holder account of that market; exact comparison. Null when none.
    const SimTradeAccount* FindLogin(std::string_view inputType, std::string_view inputId) const;
    const SimTradeAccount* FindFund(std::string_view fundid) const;
    // Replaces the trading password of fundid's customer (the password
    // change); false for an unknown fundid.
    bool SetPassword(std::string_view fundid, std::string_view password);

    // ---- Tokens (any thread) ----
    // Gives the customer of fundid a token with seed (hexadecimal text) and
    // the counter at 1; an empty seed takes the token away. False for an
    // unknown fundid.
    bool SetTokenSeed(std::string_view fundid, std::string_view seed);
    bool HasToken(std::string_view fundid) const;
    // The counter the next accepted code must reach at least; 0 without a token.
    std::uint32_t TokenCounter(std::string_view fundid) const;

    enum class TokenCheck {
        Accepted, // the code of a counter in the window; the counter moved past it
        Refused,  // no such code in the window (wrong, used or too far ahead)
        NoToken,  // the customer has no token
    };
    TokenCheck CheckTokenCode(std::string_view fundid, std::string_view code);

    // HOTP of RFC 4226 with six digits over a hexadecimal seed (the server's
    // own, apart from the client's); empty for a seed that is not hex.
    static std::string Hotp(std::string_view seedHex, std::uint32_t counter);

private:
    struct Token {
        std::string seed;        // hexadecimal text
        std::uint32_t counter = 1;
    };

    std::vector<SimSalesDept> m_departments;
    std::vector<SimTradeAccount> m_accounts;
    mutable std::mutex m_tokenLock;        // guards m_tokens
    std::map<std::string, Token, std::less<>> m_tokens; // by fundid
};
