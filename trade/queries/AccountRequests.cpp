// Dates, checks and request texts; see the header.
#include "trade/queries/AccountRequests.h"

#include "core/FunctionNumbers.h"
#include "core/StrUtil.h"
#include "framework/net/RequestText.h"

#include <algorithm>

namespace {

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int MonthDays(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[(month - 1) % 12];
}

void AppendTwo(std::string& out, int v) {
    out += static_cast<char>('0' + v / 10 % 10);
    out += static_cast<char>('0' + v % 10);
}

} // namespace

CalendarDate DaysBefore(const CalendarDate& date, int days) {
    CalendarDate d = date;
    d.month = std::clamp(d.month, 1, 12);
    d.day = std::clamp(d.day, 1, MonthDays(d.year, d.month));
    while (days > 0) {
        if (days < d.day) {
            d.day -= days;
            break;
        }
        days -= d.day;
        if (--d.month == 0) {
            d.month = 12;
            --d.year;
        }
        d.day = MonthDays(d.year, d.month);
    }
    return d;
}

std::string DateText(const CalendarDate& date) {
    std::string out = std::to_string(date.year);
    while (out.size() < 4)
        out.insert(out.begin(), '0');
    AppendTwo(out, date.month);
    AppendTwo(out, date.day);
    return out;
}

bool IsDateOrderValid(const CalendarDate& start, const CalendarDate& end) {
    if (start.year != end.year)
        return start.year < end.year;
    if (start.month != end.month)
        return start.month < end.month;
    return start.day <= end.day;
}

bool IsPlainValue(std::string_view value) { return IsPlainRequestText(value); }

bool IsPositiveWholeNumber(std::string_view value) {
    return IsDigits(value) && value.find_first_not_of('0') != std::string_view::npos;
}

std::string BuildHistoryRequest(std::string_view preset, std::string_view loginId, std::string_view start,
                                std::string_view end, std::string_view pagingKey, std::string_view cursor) {
    if (loginId.empty() || start.size() != 8 || end.size() != 8 || !IsDigits(start) || !IsDigits(end) ||
        !IsPlainValue(pagingKey) || !IsPlainValue(cursor))
        return {};
    std::string out(preset);
    out += '&';
    out += loginId;
    out += "&strdate=";
    out += start;
    out += "&enddate=";
    out += end;
    out += "&request_num=";
    out += std::to_string(kHistoryPageRows);
    if (!pagingKey.empty()) {
        out += '&';
        out += pagingKey;
        out += '=';
        out += cursor;
    }
    return out;
}

PasswordCheck CheckPasswords(std::u16string_view oldPassword, std::u16string_view newPassword,
                             std::u16string_view confirm) {
    if (oldPassword.empty())
        return {u"请输入原密码！", PasswordField::Old};
    if (newPassword.empty() || confirm.empty())
        return {u"请输入新密码和确认密码！", PasswordField::New};
    if (newPassword != confirm)
        return {u"确认密码与新密码不符！", PasswordField::Confirm};
    if (!IsDigits(oldPassword))
        return {u"输入的旧密码不是数字，请确认！", PasswordField::Old};
    if (newPassword.size() != 6 || !IsDigits(newPassword))
        return {u"新密码必须为六位数字，请确认！", PasswordField::New};
    return {};
}

std::string BuildPasswordRequest(std::string_view preset, std::string_view loginId, std::string_view oldPassword,
                                 std::string_view newPassword) {
    if (loginId.empty() || !IsDigits(oldPassword) || !IsDigits(newPassword))
        return {};
    std::string out(preset);
    // The login id is a parameter list of its own: it must not run into
    // the node's last value.
    if (!out.empty() && out.back() != '&')
        out += '&';
    out += loginId;
    out += "&oldpwd=";
    out += oldPassword;
    out += "&newpwd=";
    out += newPassword;
    return out;
}

std::string WarrantHolderParam(std::string_view market, std::string_view secuid, std::string_view fundid) {
    if (market.empty() || secuid.empty() || !IsPlainValue(market) || !IsPlainValue(secuid) || !IsPlainValue(fundid))
        return {};
    std::string out = "market=";
    out += market;
    out += "&secuid=";
    out += secuid;
    out += "&fundid=";
    out += fundid;
    return out;
}

std::string BuildWarrantPrecheck(std::string_view loginId, std::string_view code) {
    if (loginId.empty() || code.size() != 6 || !IsPlainValue(code))
        return {};
    std::string out = std::string(kRequestHead<kFuncWarrantPrecheck>) + "&";
    out += loginId;
    out += "&stkcode=";
    out += code;
    out += "&qryflag=1";
    return out;
}

std::string BuildWarrantExercise(std::string_view code, std::string_view price, std::string_view qty,
                                 std::string_view holderParam) {
    if (code.size() != 6 || !IsPlainValue(code) || !IsPriceText(price) || !IsPositiveWholeNumber(qty) ||
        holderParam.empty())
        return {};
    std::string out = BuildRequestText(kFuncWarrantExercise.main, kFuncWarrantExercise.sub, "stkcode=");
    out += code;
    out += "&price=";
    out += price;
    out += "&qty=";
    out += qty;
    out += '&';
    out += holderParam;
    return out;
}

std::u16string WarrantConfirmText(std::u16string_view code, std::u16string_view name, std::u16string_view price,
                                  std::u16string_view qty) {
    std::u16string out = u"交易类型：权证行权\n";
    const std::pair<std::u16string_view, std::u16string_view> lines[] = {
        {u"行权代码：", code}, {u"证券名称：", name}, {u"行权价格：", price}, {u"行权数量：", qty}};
    for (const auto& [label, value] : lines) {
        out += label;
        out += value;
        out += u'\n';
    }
    return out;
}
