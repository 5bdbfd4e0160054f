// The phone-token table: look-up with the counter's advance, store, delete.
#include "trade/dyncode/DynCodeStore.h"

#include "core/TextConvert.h"
#include "framework/app/CAppData.h"
#include "platform/storage/CppSQLite3DB.h"
#include "platform/storage/CppSQLite3Exception.h"
#include "platform/storage/CppSQLite3Transaction.h"
#include "platform/storage/FileOps.h"
#include "trade/dyncode/DynCode.h"

#include <limits>

int DynCodeListChanged = 0;

namespace {
std::u16string MobileNumber(const CAppData& app) {
    CRegRecord record;
    app.ReadRegRecord(record);
    return record.Focus;
}

// Opens the store, read-only when writing is refused (a look-up still
// finds the token; a write then fails); false when the file is missing (a
// look-up then makes none).
bool OpenExisting(const CAppData& app, CppSQLite3DB& db) {
    if (!IsRegularFile(app.MakeNativePath(WideToAnsi(kDynCodeDbFile))))
        return false;
    db.openForReading(app.MakeDataPath(kDynCodeDbFile).view());
    return true;
}
} // namespace

DynCodeState GetDynCodeForAccount(const CAppData& app, std::string_view account, std::string& code, bool advance) {
    code.clear();
    std::u16string seed;
    std::int64_t counter = 0;
    CppSQLite3DB db;
    try {
        if (!OpenExisting(app, db) || !db.tableExists(kDynCodeTable))
            return DynCodeState::NoToken;
        CppSQLite3Query q = db.execQuery(u"select SEED, FACTOR from Table_DynCode where ACCOUNT=?1 and MOBILENO=?2;",
                                         {AnsiToWide(account), MobileNumber(app)});
        if (q.eof())
            return DynCodeState::NoToken;
        seed = q.getStringField(u"SEED");
        counter = q.getIntField64(u"FACTOR");
    } catch (const CppSQLite3Exception&) {
        return DynCodeState::NoToken;
    }
    // The counter is 32 bits wide, as the server's is; a stored value out of
    // that range is damage, and counts as no token rather than a wrapped code.
    if (counter < 0 || counter >= std::numeric_limits<std::uint32_t>::max())
        return DynCodeState::NoToken;
    std::string plain;
    OpenDynCodeSeed(seed, plain); // a seed that does not open is the empty key
    std::string computed;
    if (!DynCodeCompute(plain, static_cast<std::uint32_t>(counter), kDynCodeDigits, computed))
        return DynCodeState::NoToken;
    if (advance) {
        try {
            // Every row of the application moves on, whatever its phone.
            if (db.execDML(u"update Table_DynCode set FACTOR=?1 where SEED=?2;", {counter + 1, seed}) < 1)
                return DynCodeState::AdvanceFailed;
        } catch (const CppSQLite3Exception&) {
            return DynCodeState::AdvanceFailed;
        }
    }
    code = std::move(computed);
    return DynCodeState::Code;
}

bool StoreDynCodeSeed(const CAppData& app, std::string_view account, std::string_view seed,
                      std::u16string_view mobile, bool isFundAccount, std::int64_t applyTime) {
    const std::u16string sealed = SealDynCodeSeed(seed);
    if (sealed.empty())
        return false;
    const std::u16string id = AnsiToWide(account);
    try {
        CppSQLite3DB db;
        db.open(app.MakeDataPath(kDynCodeDbFile).view());
        if (!db.tableExists(kDynCodeTable))
            db.execDML(kDynCodeCreateSql);
        CppSQLite3Transaction transaction(db);
        db.execDML(u"delete from Table_DynCode where ACCOUNT=?1 and MOBILENO=?2;", {id, mobile});
        db.execDML(u"insert into Table_DynCode (ACCOUNT, SEED, MOBILENO, FACTOR, ISFUNDACCOUNT, APPLYTIME) "
                   u"values (?1, ?2, ?3, 1, ?4, ?5);",
                   {id, sealed, mobile, isFundAccount ? 1 : 0, applyTime});
        transaction.commit();
    } catch (const CppSQLite3Exception&) {
        return false;
    }
    DynCodeListChanged = 1;
    return true;
}

bool EnsureDynCodeTable(const CAppData& app) {
    try {
        CppSQLite3DB db;
        // A table already there needs no write, so a read-only store passes.
        if (OpenExisting(app, db) && db.tableExists(kDynCodeTable))
            return true;
        db.open(app.MakeDataPath(kDynCodeDbFile).view());
        if (!db.tableExists(kDynCodeTable))
            db.execDML(kDynCodeCreateSql);
    } catch (const CppSQLite3Exception&) {
        return false;
    }
    return true;
}

int DeleteDynCodeForAccount(const CAppData& app, std::string_view account) {
    try {
        CppSQLite3DB db;
        if (!OpenExisting(app, db) || !db.tableExists(kDynCodeTable))
            return 0;
        const int deleted = db.execDML(u"delete from Table_DynCode where ACCOUNT=?1;", {AnsiToWide(account)});
        DynCodeListChanged = 1;
        return deleted;
    } catch (const CppSQLite3Exception&) {
        return -1;
    }
}
