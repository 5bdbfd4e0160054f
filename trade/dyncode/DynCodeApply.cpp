// The token application's texts, its reply and its rows; see the header.
#include "trade/dyncode/DynCodeApply.h"

#include "core/StrUtil.h"
#include "core/TextConvert.h"
#include "framework/app/CAppData.h"
#include "platform/storage/CppSQLite3DB.h"
#include "platform/storage/CppSQLite3Exception.h"
#include "platform/storage/CppSQLite3Query.h"
#include "platform/storage/CppSQLite3Transaction.h"
#include "platform/storage/FileOps.h"
#include "trade/dyncode/DynCode.h"
#include "trade/dyncode/DynCodeStore.h"
#include "trade/login/TradeLoginText.h"

#include <utility>

std::vector<std::string> SplitAccountList(std::string_view text) {
    std::vector<std::string> out;
    for (;;) {
        const size_t comma = text.find(',');
        out.emplace_back(text.substr(0, comma));
        if (comma == std::string_view::npos)
            return out;
        text.remove_prefix(comma + 1);
    }
}

namespace {
// The ids of a list, empty items left out.
std::vector<std::string> Accounts(std::string_view list) {
    std::vector<std::string> out;
    for (std::string& id : SplitAccountList(list))
        if (!id.empty())
            out.push_back(std::move(id));
    return out;
}
} // namespace

DynCodeApplyRefusal AppendDynCodeApplyRequest(const CDynCodeApplyFields& f, std::string& out) {
    if (!IsDigits(f.mobile))
        return DynCodeApplyRefusal::NoMobile;
    for (std::string_view value : {f.typeCode, f.deptCode, f.accountId, f.password})
        if (value.empty() || !IsLoginValueSafe(value))
            return DynCodeApplyRefusal::BadValue;
    out.append(kDynCodeApplyRequest);
    out.append("&inputtype=").append(f.typeCode);
    out.append("&custorgid=").append(f.deptCode);
    out.append("&inputid=").append(f.accountId);
    out.append("&trdpwd=").append(f.password);
    out.append("&mobileno=").append(f.mobile);
    return DynCodeApplyRefusal::None;
}

CDynCodeApplyReply ReadDynCodeApplyReply(CDataSetList& reply) {
    CDynCodeApplyReply out;
    if (reply.IsError()) {
        out.kind = CDynCodeApplyReply::Kind::Error;
        out.errorText = reply.GetErrorText().str();
        return out;
    }
    if (reply.GetCount() != 1)
        return out;
    CDataSet* set = *reply.GetAt(0);
    if (!set || !set->MoveFirst())
        return out;
    const std::optional<CWString> seed = set->GetFieldTextByName("seed");
    const std::optional<CWString> funds = set->GetFieldTextByName("fundidlist");
    const std::optional<CWString> secus = set->GetFieldTextByName("secuidlist");
    if (!seed || !funds || !secus)
        return out;
    out.seed = seed->ToAnsi();
    const int length = static_cast<int>(out.seed.size());
    std::vector<std::uint8_t> bytes;
    if (length < kDynCodeMinSeedLength || length > kDynCodeMaxSeedLength || !HexToBytes(out.seed, bytes)) {
        out.kind = CDynCodeApplyReply::Kind::BadSeed;
        return out;
    }
    out.fundIds = Accounts(funds->ToAnsi());
    out.secuIds = Accounts(secus->ToAnsi());
    out.kind = out.fundIds.empty() && out.secuIds.empty() ? CDynCodeApplyReply::Kind::NoAccount
                                                          : CDynCodeApplyReply::Kind::Ok;
    return out;
}

bool StoreDynCodeApplication(const CAppData& app, const CDynCodeApplyReply& reply, std::u16string_view mobile,
                             std::int64_t applyTime) {
    const std::u16string sealed = SealDynCodeSeed(reply.seed);
    if (sealed.empty())
        return false;
    bool added = false;
    try {
        CppSQLite3DB db;
        db.open(app.MakeDataPath(kDynCodeDbFile).view());
        if (!db.tableExists(kDynCodeTable))
            db.execDML(kDynCodeCreateSql);
        CppSQLite3Transaction transaction(db);
        const auto write = [&](const std::vector<std::string>& ids, int isFund) {
            for (const std::string& id : ids) {
                const std::u16string account = AnsiToWide(id);
                // Every row of the account is rewritten, duplicates too.
                if (db.execDML(u"update Table_DynCode set SEED=?1, MOBILENO=?2, FACTOR=1, APPLYTIME=?3 "
                               u"where ACCOUNT=?4;",
                               {sealed, mobile, applyTime, account}) > 0)
                    continue;
                db.execDML(u"insert into Table_DynCode (ACCOUNT, SEED, MOBILENO, FACTOR, ISFUNDACCOUNT, APPLYTIME) "
                           u"values (?1, ?2, ?3, 1, ?4, ?5);",
                           {account, sealed, mobile, isFund, applyTime});
                added = true;
            }
        };
        write(reply.fundIds, 1);
        write(reply.secuIds, 0);
        transaction.commit();
    } catch (const CppSQLite3Exception&) {
        return false;
    }
    if (added)
        DynCodeListChanged = 1;
    return true;
}

bool ReadDynCodeTexts(CDataSetList& reply, CDynCodeTexts& out) {
    if (reply.IsError() || reply.GetCount() < 1)
        return false;
    CDataSet* set = *reply.GetAt(0);
    if (!set || set->GetColumnCount() < 3)
        return false;
    out = CDynCodeTexts();
    for (bool more = set->MoveFirst(); more; more = set->MoveNext()) {
        out.usage += set->GetFieldText(0).str();
        out.usage += u"\r\n";
        out.risk += set->GetFieldText(1).str();
        out.risk += u"\r\n";
        out.tip = set->GetFieldText(2).str();
    }
    return true;
}

bool LoadDynCodeFundAccounts(const CAppData& app, std::u16string_view mobile, std::vector<std::u16string>& out) {
    out.clear();
    try {
        if (!IsRegularFile(app.MakeNativePath(WideToAnsi(kDynCodeDbFile))))
            return true;
        CppSQLite3DB db;
        db.openForReading(app.MakeDataPath(kDynCodeDbFile).view());
        if (!db.tableExists(kDynCodeTable))
            return true;
        CppSQLite3Query q = db.execQuery(
            u"select ACCOUNT from Table_DynCode where MOBILENO=?1 and ISFUNDACCOUNT=1 order by rowid;",
            {std::u16string(mobile)});
        for (; !q.eof(); q.nextRow())
            out.push_back(q.getStringField(u"ACCOUNT"));
    } catch (const CppSQLite3Exception&) {
        out.clear();
        return false;
    }
    return true;
}

std::u16string RegisteredMobile(const CAppData& app) {
    CRegRecord record;
    app.ReadRegRecord(record);
    return record.Focus;
}
