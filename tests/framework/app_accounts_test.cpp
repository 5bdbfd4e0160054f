// Logged-in trade accounts: adding, refreshing, wrapping at six, switching,
// removing (the current one too) and logging out, with the current login
// always that of the current entry and the password never reaching a file.
#include "app_Fixture.h"

#include "core/CDataSetWriter.h"

#include <memory>

namespace {

struct Holder {
    const char* market;
    const char* secuid;
    const char* fundid;
};

// A holder record set as the trade login reply carries it.
std::unique_ptr<CDataSet> Holders(const std::vector<Holder>& rows) {
    CDataSetWriter writer;
    writer.AddSet("holder");
    writer.AddColumn(DataSetType::AnsiText, "market");
    writer.AddColumn(DataSetType::WideText, "~market");
    writer.AddColumn(DataSetType::AnsiText, "secuid");
    writer.AddColumn(DataSetType::AnsiText, "fundid");
    for (const Holder& row : rows) {
        writer.AddRow();
        writer.SetAnsiText(0, row.market);
        writer.SetText(1, u"深A");
        writer.SetAnsiText(2, row.secuid);
        writer.SetAnsiText(3, row.fundid);
    }
    std::vector<uint8_t> body = writer.Serialize();
    size_t used = 0;
    return CDataSet::Parse(body.data() + 4, body.size() - 4, &used);
}

std::unique_ptr<CDataSet> OneHolder(const char* fundid) { return Holders({{"0", "0001", fundid}}); }

// Adds account id with the login text "session<id>&operway=i".
void Add(CAppData& app, const std::string& id, const char* password = "pw") {
    const std::string login = "session" + id + "&operway=i";
    app.AddAccount(OneHolder(id.c_str()), id.c_str(), login.c_str(), password, u"客户", u"营业部");
}

std::vector<std::string> Ids(const CAppData& app) {
    std::vector<std::string> ids;
    for (int i = 0; i < app.GetAccountCount(); ++i)
        ids.push_back(app.GetAccount(i)->accountId.str());
    return ids;
}

// The current login is that of entry id, holders, login text and password.
void ExpectCurrent(CAppData& app, const std::string& id, const char* password) {
    ASSERT_GE(app.GetCurrentAccountIndex(), 0);
    EXPECT_EQ(app.GetCurrentAccount()->accountId.str(), id);
    EXPECT_EQ(app.GetHolderDataSet(), app.GetCurrentAccount()->holders.get());
    EXPECT_EQ(std::string(app.GetLoginId()), "session" + id + "&operway=i");
    EXPECT_STREQ(app.GetTradePassword(), password);
}

void ExpectNoLogin(CAppData& app) {
    EXPECT_FALSE(app.HasHolderData());
    EXPECT_EQ(app.GetHolderDataSet(), nullptr);
    EXPECT_STREQ(app.GetLoginId(), "");
    EXPECT_EQ(app.GetTradePassword(), nullptr);
    EXPECT_FALSE(app.IsTradeLoggedIn());
}

using Accounts = AppDataTest;

TEST_F(Accounts, AnAccountWithoutItsPartsIsNotAddedAndNoAccountMeansNoLogin) {
    CAppData& app = App();
    app.AddAccount(nullptr, "A", "L", "pw", u"", u"");
    app.AddAccount(OneHolder("A"), "", "L", "pw", u"", u"");
    app.AddAccount(OneHolder("A"), "A", nullptr, "pw", u"", u"");
    app.AddAccount(OneHolder("A"), "A", "L", "", u"", u"");
    EXPECT_EQ(app.GetAccountCount(), 0);
    EXPECT_EQ(app.GetCurrentAccountIndex(), -1);
    EXPECT_EQ(app.GetCurrentAccount(), nullptr);
    EXPECT_EQ(app.GetFundIdForMarket(nullptr), "");
    ExpectNoLogin(app);
}

TEST_F(Accounts, AnAddedAccountBecomesCurrentAfterTheCurrentOneAndTheSeventhReplacesTheSlotAfterIt) {
    CAppData& app = App();
    Add(app, "A", "secret");
    ExpectCurrent(app, "A", "secret");
    EXPECT_EQ(app.GetAccount(0)->customerName, u"客户");
    EXPECT_EQ(app.GetAccount(1), nullptr);
    EXPECT_EQ(app.GetAccount(-1), nullptr);
    for (const char* id : {"B", "C"})
        Add(app, id);
    app.SwitchAccount(0);
    Add(app, "D"); // while there is room no entry is lost
    EXPECT_EQ(Ids(app), (std::vector<std::string>{"A", "D", "B", "C"}));
    // An id already listed, ignoring case, refreshes its entry.
    app.AddAccount(OneHolder("C2"), "c", "sessionc&operway=i", "pw2", u"新", u"");
    EXPECT_EQ(Ids(app), (std::vector<std::string>{"A", "D", "B", "c"}));
    ExpectCurrent(app, "c", "pw2");
    EXPECT_EQ(app.GetFundIdForMarket(nullptr), "C2");
    for (const char* id : {"E", "F"})
        Add(app, id);
    EXPECT_EQ(Ids(app), (std::vector<std::string>{"A", "D", "B", "c", "E", "F"}));
    Add(app, "G"); // ASan reports a double or missed delete of "A"'s set
    EXPECT_EQ(Ids(app), (std::vector<std::string>{"G", "D", "B", "c", "E", "F"}));
    ExpectCurrent(app, "G", "pw");
    EXPECT_EQ(app.FindAccount("A"), -1);
    Add(app, "H");
    EXPECT_EQ(Ids(app), (std::vector<std::string>{"G", "H", "B", "c", "E", "F"}));
}

TEST_F(Accounts, SwitchingAndRemovingKeepTheLoginThatOfTheCurrentEntry) {
    CAppData& app = App();
    Add(app, "A", "pa");
    Add(app, "B", "pb");
    Add(app, "C", "pc");
    Add(app, "D", "pd");
    app.SwitchAccount(1);
    app.SetTradePassword("pb2"); // a changed text stays with its entry
    app.SwitchAccount(0);
    ExpectCurrent(app, "A", "pa");
    app.SwitchAccount(7); // out of range: nothing
    app.SwitchAccount(1);
    ExpectCurrent(app, "B", "pb2");
    app.RemoveAccount(0); // an earlier entry: the same account stays current
    EXPECT_EQ(app.GetCurrentAccountIndex(), 0);
    ExpectCurrent(app, "B", "pb2");
    app.RemoveAccount(0); // the current one: the entry in its place takes over
    EXPECT_EQ(Ids(app), (std::vector<std::string>{"C", "D"}));
    ExpectCurrent(app, "C", "pc");
    app.SwitchAccount(1);
    app.RemoveAccount(1); // the last entry, current: the one before takes over
    ExpectCurrent(app, "C", "pc");
}

TEST_F(Accounts, RemovingTheLastAccountOrLoggingOutClearsTheLoginAndLogoutKeepsTheList) {
    CAppData& app = App();
    Add(app, "A");
    app.SetTradeLoggedIn(true);
    app.RemoveAccount(0);
    EXPECT_EQ(app.GetAccountCount(), 0);
    ExpectNoLogin(app);
    Add(app, "B");
    app.SetLoginId(nullptr);
    app.SetTradePassword("");
    EXPECT_STREQ(app.GetLoginId(), "");
    EXPECT_EQ(app.GetTradePassword(), nullptr);
    EXPECT_EQ(app.GetCurrentAccount()->password.Get(), nullptr);
    app.SetTradeLoggedIn(true);
    app.Logout();
    ExpectNoLogin(app);
    EXPECT_EQ(app.GetAccountCount(), 1);
}

TEST_F(Accounts, TheFundIdIsFoundByShareholderAccountOrTakenFromTheFirstRow) {
    CAppData& app = App();
    app.AddAccount(Holders({{"0", "0011", "F1"}, {"1", "A0022", "F2"}}), "X", "L", "pw", u"", u"");
    EXPECT_EQ(app.GetFundIdForMarket(nullptr), "F1");
    EXPECT_EQ(app.GetFundIdForMarket("A0022"), "F2");
    EXPECT_EQ(app.GetFundIdForMarket("9999"), "");
    app.GetHolderDataSet()->MoveFirst();
    app.GetFundIdForMarket("A0022");
    EXPECT_EQ(app.GetHolderDataSet()->GetCursor(), 0) << "the caller's cursor is left alone";
}

TEST_F(Accounts, TheTradingPasswordNeverReachesAFileInTheDataDirectory) {
    const std::string password = "Pw-9f3k2Lq";
    {
        CAppData& app = App();
        Add(app, "A", password.c_str());
        Add(app, "B", password.c_str());
        app.SetTradePassword(password.c_str());
        app.SetSetting("Trade_ZJZH", "A", true);
        app.LoadMyQuotes();
        app.SwitchAccount(0);
        app.RemoveAccount(1);
    }
    Restart();
    CAppData::Destroy();
    for (const auto& entry : std::filesystem::recursive_directory_iterator(m_dir)) {
        if (!entry.is_regular_file())
            continue;
        const std::vector<uint8_t> bytes = ReadFile(entry.path().filename().string());
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()).find(password), std::string::npos) << entry.path();
    }
}

} // namespace
