// The department table and the 501/17 reply.
#include "trade/login/SalesDeptStore.h"

#include "core/TextConvert.h"
#include "framework/app/CAppData.h"
#include "platform/storage/CppSQLite3DB.h"
#include "platform/storage/CppSQLite3Exception.h"
#include "platform/storage/CppSQLite3Transaction.h"
#include "platform/storage/FileOps.h"

namespace {
bool IsAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

void OpenStore(const CAppData& app, CppSQLite3DB& db) {
    db.open(app.MakeDataPath(kSalesDeptDbFile).view());
}
} // namespace

bool IsSalesDeptCode(std::string_view code) {
    if (code.empty() || code.size() > static_cast<size_t>(kMaxSalesDeptCodeLength))
        return false;
    for (char c : code)
        if (!IsAsciiAlnum(c))
            return false;
    return true;
}

std::vector<SalesDept> ParseSalesDeptReply(CDataSetList& reply) {
    std::vector<SalesDept> out;
    if (reply.IsError() || reply.GetCount() < 1)
        return out;
    CDataSet** slot = reply.GetAt(0);
    CDataSet* set = slot ? *slot : nullptr;
    if (!set || set->GetColumnCount() < 2)
        return out;
    for (bool row = set->MoveFirst(); row; row = set->MoveNext()) {
        SalesDept dept{set->GetFieldText(1).ToAnsi(), set->GetFieldText(0).str()};
        if (IsSalesDeptCode(dept.code))
            out.push_back(std::move(dept));
    }
    return out;
}

std::optional<std::vector<SalesDept>> LoadSalesDepts(const CAppData& app) {
    std::vector<SalesDept> out;
    try {
        if (!IsRegularFile(app.MakeNativePath(WideToAnsi(kSalesDeptDbFile))))
            return out;
        CppSQLite3DB db;
        // Read-only when writing is refused: the list still loads.
        db.openForReading(app.MakeDataPath(kSalesDeptDbFile).view());
        if (!db.tableExists(kSalesDeptTable))
            return out;
        // Insertion order: rowid, which the rewrite renews in list order.
        CppSQLite3Query q = db.execQuery(u"select SALESDEPTCODE, SALESDEPTNAME from Table_SalesDept order by rowid;");
        for (; !q.eof(); q.nextRow())
            out.push_back({WideToAnsi(q.getStringField(0)), q.getStringField(1)});
    } catch (const CppSQLite3Exception&) {
        return std::nullopt;
    }
    return out;
}

bool EnsureSalesDeptTable(const CAppData& app) {
    try {
        CppSQLite3DB db;
        // A table already there needs no write, so a read-only store passes.
        if (IsRegularFile(app.MakeNativePath(WideToAnsi(kSalesDeptDbFile)))) {
            db.openForReading(app.MakeDataPath(kSalesDeptDbFile).view());
            if (db.tableExists(kSalesDeptTable))
                return true;
        }
        OpenStore(app, db);
        if (!db.tableExists(kSalesDeptTable))
            db.execDML(kSalesDeptCreateSql);
    } catch (const CppSQLite3Exception&) {
        return false;
    }
    return true;
}

bool SaveSalesDepts(const CAppData& app, const std::vector<SalesDept>& depts) {
    try {
        CppSQLite3DB db;
        OpenStore(app, db);
        CppSQLite3Transaction transaction(db);
        if (!db.tableExists(kSalesDeptTable))
            db.execDML(kSalesDeptCreateSql);
        db.execDML(u"delete from Table_SalesDept;");
        CppSQLite3Statement insert =
            db.compileStatement(u"INSERT INTO Table_SalesDept (SALESDEPTCODE, SALESDEPTNAME) VALUES(?1, ?2);");
        for (const SalesDept& dept : depts) {
            insert.bind(1, AnsiToWide(dept.code));
            insert.bind(2, std::u16string_view(dept.name));
            insert.execDML();
        }
        insert.finalize();
        transaction.commit();
    } catch (const CppSQLite3Exception&) {
        return false;
    }
    return true;
}

SalesDeptAdd AddSalesDeptIfMissing(const CAppData& app, std::u16string_view name, std::string_view code) {
    if (!IsSalesDeptCode(code) || name.empty() || name == kUnknownSalesDeptName)
        return SalesDeptAdd::Refused;
    try {
        CppSQLite3DB db;
        OpenStore(app, db);
        CppSQLite3Transaction transaction(db);
        if (!db.tableExists(kSalesDeptTable))
            db.execDML(kSalesDeptCreateSql);
        const std::u16string wideCode = AnsiToWide(code);
        int same = 0;
        if (!db.execScalar(u"select count(*) from Table_SalesDept where SALESDEPTCODE=?1;", same, {wideCode}))
            return SalesDeptAdd::Failed;
        if (same > 0)
            return SalesDeptAdd::Present;
        int count = 0;
        if (!db.execScalar(u"select count(*) from Table_SalesDept;", count))
            return SalesDeptAdd::Failed;
        if (count >= kMaxSalesDepts)
            return SalesDeptAdd::Full;
        db.execDML(u"INSERT INTO Table_SalesDept (SALESDEPTCODE, SALESDEPTNAME) VALUES(?1, ?2);", {wideCode, name});
        transaction.commit();
    } catch (const CppSQLite3Exception&) {
        return SalesDeptAdd::Failed;
    }
    return SalesDeptAdd::Added;
}

std::vector<SalesDept> NameStoredDepts(const std::vector<SalesDept>& stored, const std::vector<SalesDept>& server) {
    std::vector<SalesDept> out = stored;
    for (SalesDept& dept : out)
        for (const SalesDept& known : server)
            if (known.code == dept.code) {
                dept.name = known.name;
                break;
            }
    return out;
}
