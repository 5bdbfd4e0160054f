// The pure parts of the history query, the password change and the warrant
// exercise: dates, checks and request texts, so that what can reach the
// server is known without a window. Texts are built by appending; a value
// goes in only when it is what it should be, else nothing is built.
#pragma once

#include <string>
#include <string_view>

// ---- History query ----

struct CalendarDate {
    int year = 1970;
    int month = 1; // 1..12
    int day = 1;   // 1..31
};

// The date days calendar days before date (months and leap years counted).
CalendarDate DaysBefore(const CalendarDate& date, int days);
// The default start of the history query: 29 days before today.
inline CalendarDate DefaultHistoryStart(const CalendarDate& today) { return DaysBefore(today, 29); }
// "YYYYMMDD".
std::string DateText(const CalendarDate& date);
// True when start is not after end.
bool IsDateOrderValid(const CalendarDate& start, const CalendarDate& end);

// The rows one history page asks for.
inline constexpr int kHistoryPageRows = 80;

// "<preset>&<login id>&strdate=<start>&enddate=<end>&request_num=80", then
// "&<paging key>=<cursor>" when the key is not empty. Empty without a login
// id, for dates that are not eight digits, or for a key or cursor that is
// not plain (letters, digits, ".").
std::string BuildHistoryRequest(std::string_view preset, std::string_view loginId, std::string_view start,
                                std::string_view end, std::string_view pagingKey, std::string_view cursor);

// ---- Password change ----

// Which field a failed check names.
enum class PasswordField { None, Old, New, Confirm };
struct PasswordCheck {
    std::u16string_view message; // empty when every check passed
    PasswordField field = PasswordField::None;
};
// The five checks of the change, in their order.
PasswordCheck CheckPasswords(std::u16string_view oldPassword, std::u16string_view newPassword,
                             std::u16string_view confirm);

// The menu node's text, "&" when it does not end with one, the login id,
// "&oldpwd=" and the old, "&newpwd=" and the new password. Empty without a
// login id, or for passwords that are not digits.
std::string BuildPasswordRequest(std::string_view preset, std::string_view loginId, std::string_view oldPassword,
                                 std::string_view newPassword);

// ---- Warrant exercise ----

// True for letters, digits and "." only (empty included).
bool IsPlainValue(std::string_view value);
// True for a whole number above 0 (digits only, no sign).
bool IsPositiveWholeNumber(std::string_view value);

// "market=<m>&secuid=<s>&fundid=<f>"; empty when a value is not plain or
// the market or shareholder code is missing.
std::string WarrantHolderParam(std::string_view market, std::string_view secuid, std::string_view fundid);
// The pre-check: "tc_mfuncno=100&tc_sfuncno=28&<login id>&stkcode=<code>&qryflag=1";
// empty without a login id or for a code that is not six plain characters.
std::string BuildWarrantPrecheck(std::string_view loginId, std::string_view code);
// The exercise the confirmation page sends after the login id:
// "TC_MFUNCNO=100&TC_SFUNCNO=29&stkcode=..&price=..&qty=..&<holder>".
// Empty for a code not of six plain characters, a price that is not
// digits and ".", a quantity that is not a positive whole number or an
// empty holder.
std::string BuildWarrantExercise(std::string_view code, std::string_view price, std::string_view qty,
                                 std::string_view holderParam);
// The confirmation lines, each ended with "\n".
std::u16string WarrantConfirmText(std::u16string_view code, std::u16string_view name, std::u16string_view price,
                                  std::u16string_view qty);
