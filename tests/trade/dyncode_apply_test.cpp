// The token application without a window: its request text, what a reply
// must hold, the rows one application writes (one seed, one transaction,
// duplicates rewritten), the 100/5 texts and the listed fund accounts.
#include "framework/app_Fixture.h"

#include "core/CDataSetWriter.h"
#include "platform/storage/CRegistry.h"
#include "platform/storage/CppSQLite3DB.h"
#include "platform/storage/CppSQLite3Query.h"
#include "trade/dyncode/DynCode.h"
#include "trade/dyncode/DynCodeApply.h"
#include "trade/dyncode/DynCodeStore.h"

namespace {
constexpr char kSeed[] = "3132333435363738393031323334353637383930";
constexpr char16_t kMobile[] = u"13800138000";

std::vector<std::uint8_t> ApplyReply(const char* seed, const char* funds, const char* secus, int sets = 1,
                                     bool withSecus = true) {
    CDataSetWriter w;
    for (int s = 0; s < sets; ++s) {
        w.AddSet("token");
        w.AddColumn(DataSetType::AnsiText, "seed");
        w.AddColumn(DataSetType::AnsiText, "fundidlist");
        if (withSecus)
            w.AddColumn(DataSetType::AnsiText, "secuidlist");
        w.AddRow();
        w.SetAnsiText(0, seed);
        w.SetAnsiText(1, funds);
        if (withSecus)
            w.SetAnsiText(2, secus);
    }
    return w.Serialize();
}

CDynCodeApplyReply Read(const std::vector<std::uint8_t>& body) {
    CDataSetList list(body.data(), static_cast<int>(body.size()));
    return ReadDynCodeApplyReply(list);
}

TEST(DynCodeApplyText, SplitsListsAndBuildsTheRequestOnlyFromSafeValuesAndAMobileNumber) {
    EXPECT_EQ(SplitAccountList("A1,B2,,C3"), (std::vector<std::string>{"A1", "B2", "", "C3"}));
    EXPECT_EQ(SplitAccountList(""), std::vector<std::string>{""});
    std::string out;
    CDynCodeApplyFields f{"Z", "0003", "000300056789", "246810", "13800138000"};
    ASSERT_EQ(AppendDynCodeApplyRequest(f, out), DynCodeApplyRefusal::None);
    EXPECT_EQ(out, "tc_mfuncno=500&tc_sfuncno=69&inputtype=Z&custorgid=0003&inputid=000300056789&trdpwd=246810"
                   "&mobileno=13800138000");
    struct {
        const char* what;
        CDynCodeApplyFields fields;
        DynCodeApplyRefusal refusal;
    } const cases[] = {
        {"no mobile", {"Z", "0003", "1", "246810", ""}, DynCodeApplyRefusal::NoMobile},
        {"mobile not digits", {"Z", "0003", "1", "246810", "138&x=1"}, DynCodeApplyRefusal::NoMobile},
        {"password with &", {"Z", "0003", "1", "24&810", "138"}, DynCodeApplyRefusal::BadValue},
        {"account with =", {"Z", "0003", "a=1", "246810", "138"}, DynCodeApplyRefusal::BadValue},
        {"no department", {"Z", "", "1", "246810", "138"}, DynCodeApplyRefusal::BadValue},
    };
    for (const auto& c : cases) {
        std::string text = "kept";
        EXPECT_EQ(AppendDynCodeApplyRequest(c.fields, text), c.refusal) << c.what;
        EXPECT_EQ(text, "kept") << c.what;
    }
}

TEST(DynCodeApplyReply, OnlyOneSetWithAGoodSeedAndAnAccountIsStorable) {
    using Kind = CDynCodeApplyReply::Kind;
    const std::string longest(48, 'A');
    struct {
        const char* what;
        std::vector<std::uint8_t> body;
        Kind kind;
    } const cases[] = {
        {"two sets", ApplyReply(kSeed, "F1", "S1", 2), Kind::BadFormat},
        {"no secuidlist", ApplyReply(kSeed, "F1", "", 1, false), Kind::BadFormat},
        {"error", CDataSetWriter::ErrorBody(u"账号或交易密码错误"), Kind::Error},
        {"15 characters", ApplyReply("313233343536373", "F1", "S1"), Kind::BadSeed},
        {"49 characters", ApplyReply(std::string(49, 'A').c_str(), "F1", "S1"), Kind::BadSeed},
        {"not hex", ApplyReply("31323334353637383930313233343G", "F1", "S1"), Kind::BadSeed},
        {"no account", ApplyReply(kSeed, "", ","), Kind::NoAccount},
        {"16 characters", ApplyReply("0123456789abcdef", "F1", ""), Kind::Ok},
        {"48 characters", ApplyReply(longest.c_str(), "", "S1"), Kind::Ok},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Read(c.body).kind, c.kind) << c.what;
    const CDynCodeApplyReply ok = Read(ApplyReply(kSeed, "F1", "S1,,S2"));
    EXPECT_EQ(ok.fundIds, std::vector<std::string>{"F1"});
    EXPECT_EQ(ok.secuIds, (std::vector<std::string>{"S1", "S2"})) << "empty ids are skipped";
}

TEST(DynCodeTexts, JoinRowsAndKeepTheLastTip) {
    CDataSetWriter w;
    w.AddSet("dyncode");
    for (const char* name : {"usage", "risk", "tip"})
        w.AddColumn(DataSetType::WideText, name);
    for (const char16_t* row : {u"1", u"2"}) {
        w.AddRow();
        w.SetText(0, std::u16string(u"u") + row);
        w.SetText(1, std::u16string(u"r") + row);
        w.SetText(2, std::u16string(u"t") + row);
    }
    const std::vector<std::uint8_t> body = w.Serialize();
    CDataSetList list(body.data(), static_cast<int>(body.size()));
    CDynCodeTexts texts;
    ASSERT_TRUE(ReadDynCodeTexts(list, texts));
    EXPECT_EQ(texts.usage, u"u1\r\nu2\r\n");
    EXPECT_EQ(texts.risk, u"r1\r\nr2\r\n");
    EXPECT_EQ(texts.tip, u"t2");
}

class DynCodeApplyStoreTest : public AppDataTest {
protected:
    void SetUp() override { DynCodeListChanged = 0; }
    struct Row {
        std::u16string account, seed, mobile;
        int factor, fund;
        long long time;
    };
    std::vector<Row> Rows() {
        std::vector<Row> out;
        CppSQLite3DB db;
        db.open(App().MakeDataPath(kDynCodeDbFile).view());
        CppSQLite3Query q = db.execQuery(
            u"select ACCOUNT, SEED, MOBILENO, FACTOR, ISFUNDACCOUNT, APPLYTIME from Table_DynCode order by rowid;");
        for (; !q.eof(); q.nextRow())
            out.push_back({q.getStringField(0), q.getStringField(1), q.getStringField(2), q.getIntField(3),
                           q.getIntField(4), static_cast<long long>(q.getIntField64(5))});
        return out;
    }
};

TEST_F(DynCodeApplyStoreTest, OneApplicationWritesEveryAccountWithOneSeedAndAReapplicationRewritesDuplicates) {
    ASSERT_TRUE(StoreDynCodeApplication(App(), Read(ApplyReply(kSeed, "F1", "S1,S2")), kMobile, 1000));
    EXPECT_EQ(DynCodeListChanged, 1);
    std::vector<Row> rows = Rows();
    ASSERT_EQ(rows.size(), 3u);
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].seed, rows[0].seed);
        EXPECT_EQ(rows[i].factor, 1);
        EXPECT_EQ(rows[i].time, 1000);
        EXPECT_EQ(rows[i].fund, i == 0 ? 1 : 0);
    }
    // A duplicate of S1 (another phone), then a new application.
    {
        CppSQLite3DB db;
        db.open(App().MakeDataPath(kDynCodeDbFile).view());
        db.execDML(u"insert into Table_DynCode values ('S1', 'X', '139', 7, 0, 5);");
    }
    DynCodeListChanged = 0;
    const std::string seed2 = "0123456789ABCDEF0123";
    ASSERT_TRUE(StoreDynCodeApplication(App(), Read(ApplyReply(seed2.c_str(), "F1", "S1")), kMobile, 2000));
    EXPECT_EQ(DynCodeListChanged, 0) << "no row was added";
    rows = Rows();
    ASSERT_EQ(rows.size(), 4u);
    for (const Row& r : rows) {
        if (r.account == u"S2")
            continue;
        EXPECT_EQ(r.seed, SealDynCodeSeed(seed2)) << std::string(r.account.begin(), r.account.end());
        EXPECT_EQ(r.factor, 1);
        EXPECT_EQ(r.mobile, kMobile);
        EXPECT_EQ(r.time, 2000);
    }
    std::vector<std::u16string> listed;
    ASSERT_TRUE(LoadDynCodeFundAccounts(App(), kMobile, listed));
    EXPECT_EQ(listed, std::vector<std::u16string>{u"F1"});
    ASSERT_TRUE(LoadDynCodeFundAccounts(App(), u"139", listed));
    EXPECT_TRUE(listed.empty()) << "another number's rows are not listed";
}

TEST_F(DynCodeApplyStoreTest, AFailingWriteLeavesEveryRowAsItWas) {
    ASSERT_TRUE(StoreDynCodeApplication(App(), Read(ApplyReply(kSeed, "F1", "S1")), kMobile, 1000));
    {
        CppSQLite3DB db;
        db.open(App().MakeDataPath(kDynCodeDbFile).view());
        db.execDML(u"create trigger NoS2 before insert on Table_DynCode when new.ACCOUNT='S2' "
                   u"begin select raise(abort, 'no'); end;");
    }
    EXPECT_FALSE(StoreDynCodeApplication(App(), Read(ApplyReply("0123456789ABCDEF", "F1", "S1,S2")), kMobile, 2000));
    for (const Row& r : Rows())
        EXPECT_EQ(r.time, 1000) << "the whole application is one transaction";
}
} // namespace
