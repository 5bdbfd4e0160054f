// The account id a trade login sends ("inputid"), keys its phone token by
// and compares with the logged-in accounts, made from the number the user
// typed, the account type and the sales department.
#pragma once

#include <string>
#include <string_view>

// The account-type codes of the login form.
inline constexpr char kAccountTypeFund[] = "Z";             // 资金账号
inline constexpr char kAccountTypeShenzhenA[] = "0";        // 深A股东
inline constexpr char kAccountTypeShanghaiA[] = "1";        // 沪A股东
inline constexpr char kAccountTypeShenzhenB[] = "2";        // 深B股东
inline constexpr char kAccountTypeShanghaiB[] = "3";        // 沪B股东

// The account types as the login form and the token application list
// them, in this order.
struct CTradeAccountType {
    const char16_t* text;
    const char* code;
};
inline constexpr CTradeAccountType kTradeAccountTypes[5] = {
    {u"资金账号", kAccountTypeFund},      {u"深A股东", kAccountTypeShenzhenA}, {u"沪A股东", kAccountTypeShanghaiA},
    {u"深B股东", kAccountTypeShenzhenB}, {u"沪B股东", kAccountTypeShanghaiB},
};

// typed as the server knows the account:
//   "Z" fund account: left-padded with '0' to 8 characters; then, when
//       shorter than 12, the department code in front;
//   "0", "2" Shenzhen holders: shorter than 10, left-padded with '0' to 10;
//   "1" Shanghai A: 9 characters get "B" when they start "88", "D" when
//       they start "89", else "A";
//   "3" Shanghai B: 9 characters get "C";
//   anything else, and every other length, as typed.
// Type codes compare exactly (they come from the form's own list).
std::string NormalizeAccount(std::string_view typed, std::string_view typeCode, std::string_view deptCode);
