// Login request, reply reading and account texts; see the header.
#include "trade/login/TradeLoginText.h"

#include "core/FunctionNumbers.h"
#include "framework/app/DataSetText.h"
#include "trade/login/SalesDeptStore.h"

namespace {
bool IsPlainChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '.' || c == '-' ||
           c == '_';
}

bool IsPlain(std::string_view text) {
    for (char c : text)
        if (!IsPlainChar(c))
            return false;
    return true;
}

// The cursor row's field of a named column as 8-bit text; empty when absent.
std::string FieldText(const CDataSet& set, const char* name) {
    return GetFieldAnsiText(set, set.FindColumn(name));
}
} // namespace

bool IsLoginValueSafe(std::string_view text) {
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '&' || c == '=' || c == '%' || u < 0x20 || u == 0x7F)
            return false;
    }
    return true;
}

bool AppendTradeLoginRequest(const CTradeLoginFields& fields, std::string& out) {
    const std::string_view authData = fields.auth == LoginAuth::None ? std::string_view() : fields.authData;
    if (fields.typeCode.empty() || fields.deptCode.empty() || fields.accountId.empty())
        return false;
    for (std::string_view value :
         {fields.typeCode, fields.deptCode, fields.accountId, fields.password, authData})
        if (!IsLoginValueSafe(value))
            return false;
    out.append(kRequestHead<kFuncTradeLogin>).append("&inputtype=").append(fields.typeCode);
    out.append("&custorgid=").append(fields.deptCode);
    out.append("&inputid=").append(fields.accountId);
    out.append("&trdpwd=").append(fields.password);
    out.append("&operway=i&authtype=").append(std::to_string(static_cast<int>(fields.auth)));
    out.append("&authdata=").append(authData);
    return true;
}

TokenRefusal ReadTokenRefusal(std::u16string_view errorText) {
    // The server's texts of a refused phone-token login.
    constexpr std::u16string_view kNotApplied = u"此认证方式没有申请";
    constexpr std::u16string_view kRefused[] = {u"令牌验证失败", u"找不到令牌", u"认证失败，您已经申请了动态口令"};
    if (errorText.find(kNotApplied) != std::u16string_view::npos)
        return TokenRefusal::NotApplied;
    for (std::u16string_view marker : kRefused)
        if (errorText.find(marker) != std::u16string_view::npos)
            return TokenRefusal::Refused;
    return TokenRefusal::None;
}

bool IsTradeSessionText(std::string_view text) {
    if (text.empty())
        return false;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find('&', start), text.size());
        const std::string_view pair = text.substr(start, end - start);
        const size_t eq = pair.find('=');
        if (eq == std::string_view::npos || eq == 0 || !IsPlain(pair.substr(0, eq)) || !IsPlain(pair.substr(eq + 1)))
            return false;
        start = end + 1;
    }
    return true;
}

CTradeLoginReply ReadTradeLoginReply(CDataSetList& reply) {
    CTradeLoginReply result;
    if (reply.IsError()) {
        result.kind = CTradeLoginReply::Kind::Error;
        result.errorText = reply.GetErrorText();
        return result;
    }
    result.kind = CTradeLoginReply::Kind::BadFormat;
    CDataSet* sessionSet = *reply.GetAt(0);
    CDataSet* holders = *reply.GetAt(1);
    if (!sessionSet || !holders || sessionSet->GetRowCount() < 1 || sessionSet->GetColumnCount() < 1)
        return result;
    sessionSet->MoveFirst();
    std::string session = GetFieldAnsiText(*sessionSet, 0);
    if (!IsTradeSessionText(session))
        return result;
    if (holders->FindColumn("fundid") < 0)
        return result;
    const int saved = holders->GetCursor();
    bool found = false;
    for (bool row = holders->MoveFirst(); row; row = holders->MoveNext()) {
        std::string fundId = FieldText(*holders, "fundid");
        if (fundId.empty())
            continue;
        // The fund account leads the trade requests as "fundid=": it must
        // be plain like the session.
        if (!IsPlain(fundId))
            break;
        result.fundId = std::move(fundId);
        result.orgId = FieldText(*holders, "orgid");
        if (std::optional<CWString> name = holders->GetFieldTextByName("custname"); name && !name->IsEmpty())
            result.customerName = *name;
        else
            result.customerName = kUnnamedCustomer;
        found = true;
        break;
    }
    holders->Move(saved - holders->GetCursor());
    if (!found)
        return result;
    result.session = std::move(session);
    result.holders = reply.Detach(1);
    result.kind = CTradeLoginReply::Kind::Success;
    return result;
}

CWString LoginDeptText(std::string_view fundId, std::string_view deptCode, std::u16string_view deptName) {
    constexpr size_t kCodeLength = 4;
    if (deptCode.size() >= kCodeLength && fundId.size() >= kCodeLength &&
        fundId.substr(0, kCodeLength) == deptCode.substr(0, kCodeLength))
        return CWString(deptName);
    return CWString(kUnknownSalesDeptName);
}

std::u16string MaskAccountId(std::u16string_view account) {
    std::u16string out(account);
    for (size_t i = 4; i < 8 && i < out.size(); ++i)
        out[i] = u'*';
    return out;
}

CWString AccountRowTitle(std::string_view accountId, std::u16string_view customerName) {
    CWString title = CWString::CWStringFromAnsi(accountId);
    title.AppendChar(u' ');
    title.Append(customerName);
    return title;
}
