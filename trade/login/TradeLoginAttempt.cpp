// What a successful trade login records; see the header.
#include "trade/login/TradeLoginAttempt.h"

#include "core/TextConvert.h"
#include "framework/app/CAppData.h"
#include "trade/login/SalesDeptStore.h"
#include "trade/login/TradeAccountHistory.h"
#include "trade/login/TradeLoginText.h"

void RecordTradeLogin(CAppData& app, const CTradeLoginAttempt& attempt, CTradeLoginReply& reply, bool save) {
    const std::string loginId = reply.session + "&operway=i";
    const CWString deptText = LoginDeptText(reply.fundId, attempt.dept, attempt.deptName);
    app.SetSetting("Trade_ZJZH", save ? attempt.typed : std::string(), false);
    app.SetSetting("Trade_SAVEZJZH", save ? "1" : "0", false);
    app.SetSetting("Trade_ZHLX", attempt.type, false);
    app.SetSetting(kSalesDeptSetting, attempt.dept, true);
    app.AddAccount(std::move(reply.holders), reply.fundId.c_str(), loginId.c_str(), attempt.password.Get(),
                   reply.customerName.c_str(), deptText.c_str());
    app.SetTradeLoggedIn(true);
}

bool SaveTradeLoginHistory(const CAppData& app, const CTradeLoginAttempt& attempt, const CTradeLoginReply& reply) {
    CHisAccountRecord row;
    row.account = CWString(AnsiToWide(reply.fundId));
    row.accountName = reply.customerName;
    row.salesDept = LoginDeptText(reply.fundId, attempt.dept, attempt.deptName);
    row.salesDeptCode = CWString(AnsiToWide(reply.orgId));
    row.accountType = CWString(AnsiToWide(attempt.type));
    row.inputAccount = CWString(AnsiToWide(attempt.typed));
    try {
        EnsureHistoryTable(app);
        SaveHistoryAccount(app, row);
    } catch (...) {
        return false;
    }
    return true;
}
