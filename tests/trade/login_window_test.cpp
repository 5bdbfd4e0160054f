// The trade login form against the simulated broker: a whole login, the
// one send of each attempt (faults, a phone token's counter), replies that
// are no login, values that could add a parameter, the server's refusals
// of a phone token, and an account logged in already.
#include "login_Fixture.h"

#include "framework/net/NetFailure.h"
#include "framework/ui/WindowKeywords.h"
#include "platform/storage/CppSQLite3DB.h"
#include "platform/storage/FileOps.h"

#include <cerrno>
#include <functional>

namespace {

constexpr int kAccount = COrbTradeLoginWnd::kAccountId;
constexpr int kPassword = COrbTradeLoginWnd::kPasswordId;
constexpr int kPassPhrase = COrbTradeLoginWnd::kPassPhraseId;

TEST_F(TradeLoginTest, AWholeLoginAddsTheAccountWritesTheSettingsAndKeepsOneHistoryRow) {
    Start();
    RunEntry();
    ASSERT_EQ(TopWindow(), "COrbTradeLoginWnd");
    EXPECT_EQ(driver.ControlText(COrbTradeLoginWnd::kDeptTextId), u"深圳深南中路证券营业部");
    ASSERT_TRUE(CDriverControls::TapControl(driver, COrbTradeLoginWnd::kSaveCheckId)); // "保存账号"
    Login(u"12345", u"123456");
    const auto sent = Requests(500, 1);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].rawBody.find("trdpwd"), std::string::npos) << "the password travels only in TC_REQDATA";
    for (const auto& [name, value] : {std::pair<const char*, const char*>{"inputtype", "Z"}, {"custorgid", "0001"},
                                      {"inputid", kFund}, {"trdpwd", "123456"}, {"authtype", "0"}, {"authdata", ""}})
        EXPECT_EQ(sent[0].Get(name), value) << name;
    EXPECT_TRUE(Shown(u"您已经成功登陆交易系统！"));
    EXPECT_EQ(g_tradeHost.closeCodes, std::vector<int>{1});
    EXPECT_EQ(g_tradeHost.notices, std::vector<int>{CTradeHostWnd::kNotifyValue});
    // What the account list, the trade requests and the next login read.
    const std::vector<std::string> seen = OnApp([](CAppData& app) {
        const CAccountEntry* e = app.GetCurrentAccount();
        return std::vector<std::string>{std::to_string(app.GetAccountCount()), app.GetLoginId(),
                                        app.GetTradePassword() ? app.GetTradePassword() : "",
                                        std::to_string(app.HasHolderData() ? app.GetHolderDataSet()->GetRowCount() : 0),
                                        e ? e->department.ToAnsi() : "", app.IsTradeLoggedIn() ? "in" : "out",
                                        app.GetSetting("Trade_ZJZH").str() + "/" + app.GetSetting("Trade_SAVEZJZH").str() +
                                            "/" + app.GetSetting("Trade_ZHLX").str() + "/" +
                                            app.GetSetting("Trade_SCCode").str()};
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"1", "custid=000100012345&tradesession=T0001&operway=i", "123456", "4",
                                              CWString(u"深圳深南中路证券营业部").ToAnsi(), "in", "12345/1/Z/0001"}));
    auto history = History();
    ASSERT_EQ(history.size(), 1u);
    const CHisAccountRecord& row = history[0];
    EXPECT_EQ(row.account.str() + row.accountName.str() + row.salesDept.str() + row.salesDeptCode.str() +
                  row.accountType.str() + row.inputAccount.str(),
              u"000100012345张伟深圳深南中路证券营业部0001Z12345");

    // The same account again, typed in full this time: the row is updated.
    driver.RunOnGui([] { CWndManager::Instance().CreateWnd(kTradeExitKeyword, -1, u"", "", "", 0, nullptr); });
    RunEntry();
    SetBox(kAccount, u"000100012345");
    Login(u"", u"123456");
    EXPECT_EQ(Requests(500, 1).size(), 2u);
    history = History();
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0].inputAccount, u"000100012345");
}

TEST_F(TradeLoginTest, WithAPhoneTokenFiveMistypedPasswordsThenTheRightOneLogIn) {
    Start("0003");
    KeepTokenSeed();
    RunEntry();
    TypeInto(kAccount, u"56789");
    ASSERT_EQ(driver.ControlVisible(COrbTradeLoginWnd::kCodeBoxId), true) << "token mode";
    for (int i = 0; i < 5; ++i) {
        PressLogin(u"135792");
        EXPECT_EQ(ShownTexts().back(), u"账号或交易密码错误");
    }
    EXPECT_EQ(accounts->TokenCounter(kTokenFund), 6u) << "each attempt spent its code at the server too";
    PressLogin(u"246810");
    const auto sent = Requests(500, 1);
    ASSERT_EQ(sent.size(), 6u);
    EXPECT_EQ(sent.back().Get("authdata"), CSimTradeAccounts::Hotp(CSimTradeAccounts::kDefaultSeed, 6));
    EXPECT_TRUE(Shown(u"您已经成功登陆交易系统！"));
    EXPECT_EQ(OnApp([](CAppData& app) { return app.GetAccountCount(); }), 1);
    EXPECT_EQ(StoredCode(kTokenFund), CSimTradeAccounts::Hotp(CSimTradeAccounts::kDefaultSeed, 7))
        << "the token is kept";
}

struct CLostLogin {
    const char* what;
    SimFaultKind fault;
    const char16_t* told;
};
void PrintTo(const CLostLogin& c, std::ostream* os) {
    *os << c.what;
}
class LostTokenLogin : public TradeLoginTest, public ::testing::WithParamInterface<CLostLogin> {};

TEST_P(LostTokenLogin, IsSentOnceKeepsTheTokenRowAndUsedOneCounterValue) {
    Start("0003");
    KeepTokenSeed();
    sim.InjectFaultFor(500, 1, SimFault(GetParam().fault));
    RunEntry();
    TypeInto(kAccount, u"56789");
    EXPECT_EQ(driver.ControlVisible(COrbTradeLoginWnd::kCodeBoxId), true) << "token mode";
    EXPECT_EQ(driver.ControlEnabled(kPassPhrase), false);
    const std::string first = StoredCode(kTokenFund);
    EXPECT_EQ(first, CSimTradeAccounts::Hotp(CSimTradeAccounts::kDefaultSeed, 1));
    Login(u"", u"246810");
    const auto sent = Requests(500, 1);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].Get("authtype"), "5");
    EXPECT_EQ(sent[0].Get("authdata"), first);
    EXPECT_TRUE(Shown(GetParam().told));
    EXPECT_EQ(StoredCode(kTokenFund), CSimTradeAccounts::Hotp(CSimTradeAccounts::kDefaultSeed, 2))
        << "the row is kept and its counter moved on once";
    EXPECT_TRUE(ToolbarEnabled());
    EXPECT_EQ(TopWindow(), "COrbTradeLoginWnd");
    EXPECT_EQ(OnApp([](CAppData& app) { return app.GetAccountCount(); }), 0);
    EXPECT_EQ(accounts->TokenCounter(kTokenFund), 1u) << "the server checked no code";

    // The phone is a code ahead of the server; the next login is taken.
    PressLogin(u"246810");
    EXPECT_TRUE(Shown(u"您已经成功登陆交易系统！"));
    EXPECT_EQ(accounts->TokenCounter(kTokenFund), 3u);
}

INSTANTIATE_TEST_SUITE_P(Faults, LostTokenLogin,
                         ::testing::Values(CLostLogin{"dropped", SimFaultKind::CloseAfterRequest, kOutcomeUnknownText},
                                           CLostLogin{"sessionLost", SimFaultKind::SessionLost, kNotPlacedText}),
                         [](const auto& info) { return std::string(info.param.what); });

class NoLoginReply : public TradeLoginTest, public ::testing::WithParamInterface<bool> {};

// The reply cases are ReadTradeLoginReply's; here: nothing of a login is
// kept or written.
TEST_P(NoLoginReply, AddsNothingWritesNothingAndEnablesTheForm) {
    Start();
    const bool oneSet = GetParam();
    sim.SetRoute(500, 1, [oneSet](const SimRequest&, CSimMarket&) {
        CDataSetWriter w;
        w.AddSet("session");
        w.AddColumn(DataSetType::AnsiText, "session");
        w.AddRow();
        w.SetAnsiText(0, oneSet ? "custid=1&tradesession=T9" : "");
        if (!oneSet) {
            w.AddSet("holder");
            w.AddColumn(DataSetType::AnsiText, "fundid");
            w.AddRow();
            w.SetAnsiText(0, kFund);
        }
        return SimReply::Ok(w);
    });
    RunEntry();
    ASSERT_TRUE(CDriverControls::TapControl(driver, COrbTradeLoginWnd::kSaveCheckId));
    Login(u"12345", u"123456");
    EXPECT_EQ(Requests(500, 1).size(), 1u);
    EXPECT_TRUE(Shown(u"数据接收不全或格式错误"));
    EXPECT_FALSE(Shown(u"您已经成功登陆交易系统！"));
    EXPECT_EQ(OnApp([](CAppData& app) { return app.GetAccountCount() + (app.IsTradeLoggedIn() ? 10 : 0); }), 0);
    EXPECT_EQ(OnApp([](CAppData& app) { return app.GetSetting("Trade_SAVEZJZH").str(); }), "0");
    EXPECT_TRUE(History().empty());
    EXPECT_TRUE(ToolbarEnabled());
    EXPECT_TRUE(g_tradeHost.notices.empty());
}

INSTANTIATE_TEST_SUITE_P(Replies, NoLoginReply, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "oneSet" : "emptySession"; });

TEST_F(TradeLoginTest, AValueThatCouldAddAParameterIsRefusedAndNothingIsSent) {
    Start();
    RunEntry();
    const std::u16string values[][3] = {
        {u"123&45", u"123456", u""}, {u"12345", u"12=456", u""}, {u"12345", u"123456", u"a%26b"}};
    for (const auto& v : values) {
        SetBox(kAccount, v[0]);
        SetBox(kPassword, v[1]);
        SetBox(kPassPhrase, v[2]);
        driver.AnswerNext(ModalKind::MessageBox, IDOK);
        ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle));
        EXPECT_EQ(driver.Shown().back().caption, u"提示");
    }
    EXPECT_EQ(driver.Shown().size(), 3u);
    EXPECT_EQ(sim.CountRequests(500, 1), 0);
    EXPECT_TRUE(ToolbarEnabled());
}

struct CTokenRefusal {
    const char* what;
    const char* serverSeed; // empty: the server knows no token of the account
    bool asks;
};
void PrintTo(const CTokenRefusal& c, std::ostream* os) {
    *os << c.what;
}
class TokenRefused : public TradeLoginTest, public ::testing::WithParamInterface<CTokenRefusal> {};

TEST_P(TokenRefused, DeletesTheTokenRowAndAsksOrTells) {
    accounts->SetTokenSeed(kTokenFund, GetParam().serverSeed);
    Start("0003");
    KeepTokenSeed();
    RunEntry();
    TypeInto(kAccount, u"56789");
    // OK on the question opens the phone-token window over the form.
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    Login(u"", u"246810");
    ASSERT_EQ(Requests(500, 1).size(), 1u);
    EXPECT_EQ(StoredCode(kTokenFund), "") << "the token row is gone";
    const std::vector<CShownModal> shown = driver.Shown();
    ASSERT_FALSE(shown.empty());
    if (GetParam().asks) {
        EXPECT_EQ(shown.back().caption, u"询问");
        EXPECT_EQ(shown.back().text, u"令牌验证失败\n手机令牌认证失效，现在重新申请令牌？");
        ASSERT_EQ(TopWindow(), "CMobileDynCodeCtrWnd");
        ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarRight)); // "返回"
        driver.WaitForRest();
    } else {
        EXPECT_EQ(shown.back().caption, u"提示");
        EXPECT_EQ(shown.back().text, u"此认证方式没有申请，请重新登录");
    }
    EXPECT_EQ(TopWindow(), "COrbTradeLoginWnd");
    EXPECT_TRUE(ToolbarEnabled());
    EXPECT_EQ(driver.ControlEnabled(kPassPhrase), true) << "back in the pass-phrase mode";
    EXPECT_EQ(driver.ControlVisible(COrbTradeLoginWnd::kCodeBoxId), false);
}

INSTANTIATE_TEST_SUITE_P(Refusals, TokenRefused,
                         ::testing::Values(CTokenRefusal{"wrongCode", "3132333435363738393031323334353637383931", true},
                                           CTokenRefusal{"notApplied", "", false}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST_F(TradeLoginTest, AnAccountLoggedInAlreadyIsMadeCurrentWithoutARequest) {
    Start();
    RunEntry();
    Login(u"12345", u"123456");
    OnApp([](CAppData& app) {
        auto holders = std::make_unique<CDataSet>("holder");
        holders->AddColumn(DataSetType::AnsiText, "fundid");
        holders->AddRow(-1);
        app.AddAccount(std::move(holders), "000300056789", "custid=x&operway=i", "246810", u"王芳", u"营业部");
        return 0;
    });
    ASSERT_EQ(OnApp([](CAppData& app) { return app.GetCurrentAccountIndex(); }), 1);
    RunEntry(true);
    ASSERT_EQ(TopWindow(), "COrbTradeLoginWnd");
    Login(u"12345", u"123456");
    EXPECT_EQ(Requests(500, 1).size(), 1u) << "only the first login was sent";
    EXPECT_TRUE(Shown(u"该账户已登录，当前已激活！"));
    EXPECT_EQ(OnApp([](CAppData& app) { return app.GetCurrentAccountIndex(); }), 0);
    EXPECT_EQ(OnApp([](CAppData& app) { return std::string(app.GetLoginId()); }),
              "custid=000100012345&tradesession=T0001&operway=i");
}

} // namespace

namespace {

TEST_F(TradeLoginTest, ACounterThatCannotMoveOnSendsNothingAndLeavesTheFormUsable) {
    Start("0003");
    driver.RunOnGui([] {
        CAppData& app = *CAppData::Instance();
        ASSERT_TRUE(StoreDynCodeSeed(app, kTokenFund, CSimTradeAccounts::kDefaultSeed, u"", true, 0));
        // The store reads but refuses every change, as a locked or full disk would.
        CppSQLite3DB db;
        db.open(app.MakeDataPath(u"VM_DATA.db").view());
        db.execDML(u"create trigger NoAdvance before update on Table_DynCode begin select raise(abort, 'full'); end;");
    });
    RunEntry();
    TypeInto(kAccount, u"56789");
    ASSERT_EQ(driver.ControlVisible(COrbTradeLoginWnd::kCodeBoxId), true);
    Login(u"", u"246810");
    EXPECT_EQ(sim.CountRequests(500, 1), 0);
    ASSERT_FALSE(driver.Shown().empty());
    EXPECT_EQ(driver.Shown().back().caption, u"ERR");
    EXPECT_TRUE(ToolbarEnabled());
    EXPECT_EQ(StoredCode(kTokenFund), CSimTradeAccounts::Hotp(CSimTradeAccounts::kDefaultSeed, 1))
        << "the code of the counter that did not move on was not used";
}

// The disk refuses to open one file for writing, as a read-only file or
// a full disk does, even to root; every other file is written as ever.
class CReadOnlyFile : public CPosixFileOps {
public:
    explicit CReadOnlyFile(std::string name) : m_name(std::move(name)) { m_previous = InstallFileOps(this); }
    ~CReadOnlyFile() override { InstallFileOps(m_previous); }
    int OpenForLocking(const std::string& path, int& fd) override {
        if (path.size() >= m_name.size() && path.compare(path.size() - m_name.size(), m_name.size(), m_name) == 0)
            return EACCES;
        return CPosixFileOps::OpenForLocking(path, fd);
    }

private:
    std::string m_name;
    IFileOps* m_previous = nullptr;
};

TEST_F(TradeLoginTest, AStoreTheUserCannotWriteStillListsTheDepartmentsAndTheLoginGoesThrough) {
    Start();
    CReadOnlyFile readOnly("/VM_DATA.db");
    RunEntry();
    ASSERT_EQ(TopWindow(), "COrbTradeLoginWnd") << "not the department set-up";
    EXPECT_EQ(driver.ControlText(COrbTradeLoginWnd::kDeptTextId), u"深圳深南中路证券营业部");
    Login(u"12345", u"123456");
    EXPECT_TRUE(Shown(u"您已经成功登陆交易系统！"));
    EXPECT_EQ(Requests(500, 1).size(), 1u);
    EXPECT_TRUE(OnApp([](CAppData& app) { return app.IsTradeLoggedIn(); }));
    // Nothing stored went: both departments are still there.
    const auto stored = OnApp([](CAppData& app) { return LoadSalesDepts(app); });
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->size(), 2u);
}

} // namespace

namespace {

// A worker that stays busy: every send is refused.
class CBusySender : public IRequestSender {
public:
    bool Send(HWND, const std::string&, unsigned, unsigned) override { return false; }
    bool WaitIdle(int) override { return false; }
    int AbortAndWait(int) override { return 258; }
};

TEST_F(TradeLoginTest, ALoginTheBusyWorkerRefusesIsNotKeptForLaterAndTheFormStaysUsable) {
    Start();
    RunEntry();
    CBusySender busy;
    driver.RunOnGui([&busy] { CNetWnd::SetDefaultSender(&busy); });
    Login(u"12345", u"123456");
    driver.RunOnGui([] { CNetWnd::SetDefaultSender(nullptr); });
    EXPECT_EQ(driver.Shown().back().caption, u"提示");
    EXPECT_TRUE(ToolbarEnabled());
    driver.AdvanceClock(5000);
    EXPECT_EQ(sim.CountRequests(500, 1), 0) << "an action is the user's to send again";
}

} // namespace
