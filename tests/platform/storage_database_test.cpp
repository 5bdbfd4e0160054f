// The SQLite wrapper against real database files, one fresh directory per
// test: table checks, scalars, field defaults, binding, transactions,
// errors and the file's mode.
#include "platform/storage/CppSQLite3DB.h"
#include "platform/storage/CppSQLite3Transaction.h"
#include "support/CFailingFileOps.h"
#include "support/CTempDir.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cerrno>

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>

#include <sys/stat.h>

namespace {

// The code and message of what fn throws; {0, ""} when it throws nothing.
std::pair<int, std::string> Thrown(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const CppSQLite3Exception& e) {
        return {e.errorCode(), e.errorMessage()};
    }
    return {0, ""};
}

class SqliteDatabase : public ::testing::Test {
protected:
    void SetUp() override {
        m_db.open(Path(u"VM_DATA.db"));
        m_db.execDML(u"create table Table_T(NAME varchar(20), COUNT int, STAMP _int64)");
    }
    void TearDown() override { m_db.close(); }
    std::u16string Path(std::u16string_view name) const { return (m_dir / name).u16string(); }
    int Count() {
        int n = -1;
        EXPECT_TRUE(m_db.execScalar(u"select count(*) from Table_T", n));
        return n;
    }

    CTempDir m_temp{"orb_storage"};
    const std::filesystem::path m_dir = m_temp.Path();
    CppSQLite3DB m_db;
};

TEST_F(SqliteDatabase, ATableIsFoundIgnoringCaseAndExecScalarGivesTheCountOrFalseWhenThereIsNoValue) {
    EXPECT_TRUE(m_db.tableExists(u"TABLE_t"));
    EXPECT_FALSE(m_db.tableExists(u"Table_"));
    int n = -1;
    ASSERT_TRUE(m_db.execScalar(u"select count(*) from Table_T", n));
    EXPECT_EQ(n, 0);
    m_db.execDML(u"insert into Table_T values(?1, ?2, ?3)", {u"a", 1, nullptr});
    m_db.execDML(u"insert into Table_T values(?1, ?2, ?3)", {u"b", 2, nullptr});
    ASSERT_TRUE(m_db.execScalar(u"select count(*) from Table_T where NAME=?1", n, {u"b"}));
    EXPECT_EQ(n, 1);

    n = 77;
    EXPECT_FALSE(m_db.execScalar(u"select COUNT from Table_T where NAME='none'", n));
    EXPECT_FALSE(m_db.execScalar(u"select STAMP from Table_T where NAME='a'", n));
    EXPECT_FALSE(m_db.execScalar(u"select 5000000000", n));
    EXPECT_EQ(n, 77) << "a failed scalar leaves the out-parameter alone";
}

TEST_F(SqliteDatabase, ExecDMLCountsOnlyTheRowsItsOwnStatementChanged) {
    EXPECT_EQ(m_db.execDML(u"insert into Table_T values('a', 1, 0)"), 1);
    EXPECT_EQ(m_db.execDML(u"insert into Table_T select NAME, COUNT, STAMP from Table_T"), 1);
    EXPECT_EQ(m_db.execDML(u"update Table_T set COUNT = 5"), 2);
    // SQLite's own per-statement count still says 2 here.
    EXPECT_EQ(m_db.execDML(u"create table Table_U(X int)"), 0);
    EXPECT_EQ(m_db.execDML(u"delete from Table_T where NAME=?1", {u"zz"}), 0);
}

TEST_F(SqliteDatabase, QueryFieldsGiveTheDefaultForAMissingColumnOrANull) {
    m_db.execDML(u"insert into Table_T values(?1, ?2, ?3)", {u"甲账户", 7, 6000000000LL});
    m_db.execDML(u"insert into Table_T values(?1, ?2, ?3)", {nullptr, nullptr, nullptr});
    CppSQLite3Query q = m_db.execQuery(u"select * from Table_T order by COUNT desc");
    ASSERT_FALSE(q.eof());
    EXPECT_EQ(q.numFields(), 3);
    EXPECT_EQ(q.getStringField(u"NAME", u"x"), u"甲账户");
    EXPECT_EQ(q.getStringField(u"name"), u"甲账户") << "column names ignore case";
    EXPECT_EQ(q.getStringField(0), u"甲账户");
    EXPECT_EQ(q.getIntField(u"COUNT", -1), 7);
    EXPECT_EQ(q.getIntField(1, -1), 7);
    EXPECT_EQ(q.getIntField64(u"STAMP"), 6000000000LL);
    EXPECT_EQ(q.getStringField(u"MISSING", u"def"), u"def");
    EXPECT_EQ(q.getIntField(u"MISSING", -3), -3);
    EXPECT_EQ(q.getStringField(9, u"def"), u"def");

    q.nextRow();
    ASSERT_FALSE(q.eof());
    EXPECT_TRUE(q.fieldIsNull(u"NAME"));
    EXPECT_EQ(q.getStringField(u"NAME", u"def"), u"def");
    EXPECT_EQ(q.getIntField(u"COUNT", -2), -2);
    EXPECT_EQ(q.getIntField64(u"STAMP", -4), -4);

    q.nextRow();
    EXPECT_TRUE(q.eof());
    q.nextRow();
    EXPECT_TRUE(q.eof()) << "stepping past the end must not restart the query";
    EXPECT_THROW(q.getStringField(u"NAME"), CppSQLite3Exception);
    q.finalize();
    EXPECT_THROW(q.getIntField(0), CppSQLite3Exception);
}

TEST_F(SqliteDatabase, AValueHoldingQuotesAndASemicolonIsStoredIntactThroughBinding) {
    const std::u16string hostile = u"O'Brien'); drop table Table_T;--\"\\";
    const std::u16string withNul(u"a\0b", 3);
    m_db.execDML(u"insert into Table_T (NAME, COUNT) values(?1, 1)", {hostile});
    CppSQLite3Statement stmt = m_db.compileStatement(u"insert into Table_T (NAME, COUNT) values(?1, ?2)");
    stmt.bind(1, withNul);
    stmt.bind(2, 2);
    EXPECT_EQ(stmt.execDML(), 1);

    ASSERT_TRUE(m_db.tableExists(u"Table_T"));
    CppSQLite3Query q = m_db.execQuery(u"select NAME from Table_T where NAME=?1", {hostile});
    ASSERT_FALSE(q.eof());
    EXPECT_EQ(q.getStringField(u"NAME"), hostile);
    q = m_db.execQuery(u"select NAME from Table_T where COUNT=2");
    ASSERT_FALSE(q.eof());
    EXPECT_EQ(q.getStringField(u"NAME"), withNul);
}

TEST_F(SqliteDatabase, ATextWithASecondStatementIsRefusedAndNothingRuns) {
    const auto two = [this] { m_db.execDML(u"insert into Table_T values('a', 1, 0); drop table Table_T;"); };
    EXPECT_EQ(Thrown(two).first, SQLITE_MISUSE);
    EXPECT_TRUE(m_db.tableExists(u"Table_T"));
    EXPECT_EQ(Count(), 0);
    // Trailing semicolons, spaces and comments are not a second statement.
    EXPECT_EQ(m_db.execDML(u"insert into Table_T values('a', 1, 0);  ;\n-- done"), 1);
}

TEST_F(SqliteDatabase, AStatementRunsAgainWithNewValuesAndChecksTheirNumber) {
    CppSQLite3Statement stmt = m_db.compileStatement(u"insert into Table_T (NAME, COUNT) values(?1, ?2)");
    for (int i = 0; i < 3; ++i) {
        stmt.bind(1, std::u16string(1, static_cast<char16_t>(u'a' + i)));
        stmt.bind(2, i);
        stmt.execDML();
    }
    EXPECT_EQ(Count(), 3);
    EXPECT_THROW(stmt.bind(3, 1), CppSQLite3Exception);
    EXPECT_THROW(m_db.execDML(u"insert into Table_T (NAME) values(?1)", {u"a", u"b"}), CppSQLite3Exception);
    EXPECT_THROW(m_db.execDML(u"insert into Table_T (NAME) values(?1)"), CppSQLite3Exception);
    EXPECT_EQ(Count(), 3);

    CppSQLite3Statement select =
        m_db.compileStatement(u"select NAME from Table_T where COUNT >= ?1 order by NAME");
    select.bind(1, 1);
    CppSQLite3Query q = select.execQuery();
    ASSERT_FALSE(q.eof());
    EXPECT_EQ(q.getStringField(0), u"b");
    select.bind(1, 2);
    q = select.execQuery();
    ASSERT_FALSE(q.eof());
    EXPECT_EQ(q.getStringField(0), u"c");
    select.bind(1, 0);
    EXPECT_TRUE(q.eof()) << "a query ends when its statement takes new values";
    EXPECT_THROW(q.getStringField(0), CppSQLite3Exception);
    q = select.execQuery();
    EXPECT_EQ(q.getStringField(0), u"a");
}

TEST_F(SqliteDatabase, ATransactionLeftByAnExceptionLeavesTheTableUnchangedAndAQueryOutlivesItsDatabase) {
    m_db.execDML(u"insert into Table_T (NAME) values('old1')");
    m_db.execDML(u"insert into Table_T (NAME) values('old2')");
    try {
        CppSQLite3Transaction tx(m_db);
        m_db.execDML(u"delete from Table_T");
        m_db.execDML(u"insert into Table_T (NAME) values(?1)", {u"new"});
        throw std::runtime_error("failure halfway");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(Count(), 2);
    int n = 0;
    ASSERT_TRUE(m_db.execScalar(u"select count(*) from Table_T where NAME like 'old%'", n));
    EXPECT_EQ(n, 2);

    {
        CppSQLite3Transaction tx(m_db);
        m_db.execDML(u"insert into Table_T (NAME) values('old3')");
        tx.commit();
    }
    EXPECT_EQ(Count(), 3);
    CppSQLite3Query q = m_db.execQuery(u"select NAME from Table_T order by NAME");
    m_db.close();
    ASSERT_FALSE(q.eof());
    EXPECT_EQ(q.getStringField(0), u"old1");
    q.nextRow();
    EXPECT_EQ(q.getStringField(0), u"old2");
}

TEST_F(SqliteDatabase, BadSqlAnUnopenableFileOrAClosedDatabaseThrowWithTheirCodeAndMessage) {
    auto [code, message] = Thrown([this] { m_db.execDML(u"selec * from Table_T"); });
    EXPECT_EQ(code, SQLITE_ERROR);
    EXPECT_NE(message.find("syntax error"), std::string::npos) << message;
    message = Thrown([this] { m_db.execQuery(u"select * from Table_Missing"); }).second;
    EXPECT_NE(message.find("no such table"), std::string::npos) << message;
    EXPECT_THROW(m_db.execDML(u"   "), CppSQLite3Exception);
    CppSQLite3DB other;
    EXPECT_EQ(Thrown([&] { other.open(Path(u"no/such/dir/x.db")); }).first, SQLITE_CANTOPEN);
    EXPECT_FALSE(other.isOpen());
    m_db.close();
    EXPECT_THROW(m_db.tableExists(u"Table_T"), CppSQLite3Exception);
}

TEST_F(SqliteDatabase, ANewDatabaseFileIsReadableByItsOwnerOnlyWhateverTheUmask) {
    mode_t old = umask(0);
    CppSQLite3DB db;
    db.open(Path(u"VM_USER_DATA.db"));
    db.execDML(u"create table Table_HisTradeAccount(ACCOUNT varchar(20))");
    db.close();
    umask(old);
    struct stat st {};
    ASSERT_EQ(stat((m_dir / "VM_USER_DATA.db").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(SqliteDatabase, AFileThatMayNotBeWrittenIsStillReadAndEveryWriteOnItFailsLeavingItsRows) {
    m_db.execDML(u"insert into Table_T (NAME, COUNT) values (?1, 1)", {u"kept"});
    m_db.close();
    for (const FileFault fault : {FileFault{"read-only file", FileOp::OpenForLocking, EACCES},
                                  FileFault{"read-only file system", FileOp::OpenForLocking, EROFS}}) {
        SCOPED_TRACE(fault.what);
        CFailingFileOps disk(fault);
        CppSQLite3DB db;
        EXPECT_EQ(Thrown([&] { db.open(Path(u"VM_DATA.db")); }).first, SQLITE_CANTOPEN) << "no writing open";
        ASSERT_NO_THROW(db.openForReading(Path(u"VM_DATA.db")));
        EXPECT_TRUE(db.isReadOnly());
        ASSERT_TRUE(db.tableExists(u"Table_T"));
        EXPECT_EQ(Thrown([&] { db.execDML(u"delete from Table_T"); }).first, SQLITE_READONLY);
        EXPECT_EQ(Thrown([&] { db.execDML(u"create table Table_U(A int)"); }).first, SQLITE_READONLY);
        CppSQLite3Query q = db.execQuery(u"select NAME from Table_T");
        ASSERT_FALSE(q.eof());
        EXPECT_EQ(q.getStringField(0), u"kept");
        EXPECT_GT(disk.Failures(), 0);
    }
    // Writable again: read and written as ever.
    CppSQLite3DB db;
    db.openForReading(Path(u"VM_DATA.db"));
    EXPECT_FALSE(db.isReadOnly());
    EXPECT_EQ(db.execDML(u"delete from Table_T"), 1);
    // A missing file is not made.
    EXPECT_EQ(Thrown([&] { db.openForReading(Path(u"VM_NONE.db")); }).first, SQLITE_CANTOPEN);
    EXPECT_FALSE(db.isOpen());
    EXPECT_FALSE(std::filesystem::exists(m_dir / "VM_NONE.db"));
}

} // namespace
