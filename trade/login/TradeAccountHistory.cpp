// The history table with bound values; see the header.
#include "trade/login/TradeAccountHistory.h"

#include "core/TextConvert.h"
#include "framework/app/CAppData.h"
#include "platform/storage/CppSQLite3DB.h"
#include "platform/storage/FileOps.h"

namespace {
void Open(const CAppData& app, CppSQLite3DB& db) {
    db.open(app.MakeDataPath(kUserDataFile).view());
}
} // namespace

void EnsureHistoryTable(const CAppData& app) {
    CppSQLite3DB db;
    // A table already there needs no write, so a read-only store passes.
    if (IsRegularFile(app.MakeNativePath(WideToAnsi(kUserDataFile)))) {
        db.openForReading(app.MakeDataPath(kUserDataFile).view());
        if (db.tableExists(kHistoryTable))
            return;
    }
    Open(app, db);
    if (!db.tableExists(kHistoryTable))
        db.execDML(u"create table Table_HisTradeAccount(ACCOUNT varchar(20), ACCOUNTNAME varchar(10), "
                   u"SALESDEPT varchar(64), SALESDEPTCODE varchar(6),ACCOUNTTYPE varchar(2), "
                   u"INPUTEDACCOUNT varchar(20));");
}

std::vector<CHisAccountRecord> ReadHistoryAccounts(const CAppData& app) {
    std::vector<CHisAccountRecord> rows;
    if (!IsRegularFile(app.MakeNativePath(WideToAnsi(kUserDataFile))))
        return rows;
    CppSQLite3DB db;
    db.openForReading(app.MakeDataPath(kUserDataFile).view());
    if (!db.tableExists(kHistoryTable))
        return rows;
    for (CppSQLite3Query q = db.execQuery(u"select * from Table_HisTradeAccount;"); !q.eof(); q.nextRow()) {
        CHisAccountRecord r;
        r.account = q.getStringField(u"ACCOUNT");
        r.accountName = q.getStringField(u"ACCOUNTNAME");
        r.salesDept = q.getStringField(u"SALESDEPT");
        r.salesDeptCode = q.getStringField(u"SALESDEPTCODE");
        r.accountType = q.getStringField(u"ACCOUNTTYPE");
        r.inputAccount = q.getStringField(u"INPUTEDACCOUNT");
        rows.push_back(std::move(r));
    }
    return rows;
}

void SaveHistoryAccount(const CAppData& app, const CHisAccountRecord& r) {
    CppSQLite3DB db;
    Open(app, db);
    if (!db.tableExists(kHistoryTable))
        return;
    int count = 0;
    db.execScalar(u"select count(*) from Table_HisTradeAccount where ACCOUNT=?1;", count, {r.account.view()});
    if (count == 0)
        db.execDML(u"INSERT INTO Table_HisTradeAccount (ACCOUNT,ACCOUNTNAME,SALESDEPT, SALESDEPTCODE, ACCOUNTTYPE, "
                   u"INPUTEDACCOUNT) VALUES(?1,?2,?3,?4,?5,?6);",
                   {r.account.view(), r.accountName.view(), r.salesDept.view(), r.salesDeptCode.view(),
                    r.accountType.view(), r.inputAccount.view()});
    else
        db.execDML(u"UPDATE Table_HisTradeAccount SET ACCOUNTNAME=?1,SALESDEPT=?2, SALESDEPTCODE=?3,ACCOUNTTYPE=?4,"
                   u"INPUTEDACCOUNT=?5 WHERE ACCOUNT=?6;",
                   {r.accountName.view(), r.salesDept.view(), r.salesDeptCode.view(), r.accountType.view(),
                    r.inputAccount.view(), r.account.view()});
}

int DeleteHistoryAccount(const CAppData& app, std::u16string_view account) {
    CppSQLite3DB db;
    Open(app, db);
    if (!db.tableExists(kHistoryTable))
        return 0;
    return db.execDML(u"delete from Table_HisTradeAccount where ACCOUNT=?1;", {account});
}
