// The application object end to end: start-up to the main menu against the
// simulated broker server over real sockets, the single running instance,
// failed start-ups, and the exit with its logout and traffic totals.
#include "startup_Fixture.h"

#include "framework/app/CDefParam.h"
#include "framework/app/CSingleInstance.h"
#include "framework/app/CStartupLogon.h"
#include "framework/shell/CWndManager.h"
#include "framework/ui/COrbMenuWnd.h"
#include "framework/ui/WndMessages.h"
#include "platform/testing/CDriverControls.h"

#include <cstdlib>
#include <functional>
#include <optional>

namespace {

std::vector<std::string> Tags(const std::vector<uint8_t>& body) {
    CDataSetList list(body.data(), static_cast<int>(body.size()));
    std::vector<std::string> tags;
    for (int i = 0; i < list.GetCount(); ++i)
        tags.push_back((*list.GetAt(i))->GetTag());
    return tags;
}

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

} // namespace

// ---- Start-up ----

TEST_F(StartupTest, StartUpLogsOnFetchesTheSealedConfigurationStoresItAndLeavesOnlyTheMainMenu) {
    ASSERT_TRUE(StartProgram());
    ASSERT_EQ(State(), COrbApp::State::Running);
    const std::vector<SimRequest> log = m_sim.GetRequestLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].main * 1000 + log[0].sub, 100001);
    EXPECT_FALSE(log[0].sealed);
    EXPECT_EQ(log[0].Get("key").size(), 512u); // a 2048-bit RSA block in hex
    const SimRequest& fetch = log[1];
    EXPECT_EQ(fetch.main * 1000 + fetch.sub, 100002);
    EXPECT_TRUE(fetch.sealed);
    EXPECT_EQ(fetch.sessionKey, m_sim.GetSessionKey());
    EXPECT_EQ(fetch.Get("session"), m_sim.GetSessionString());
    EXPECT_EQ(fetch.Get("softName"), "VuvEr");
    EXPECT_EQ(fetch.Get("supportCompress"), "18");
    EXPECT_EQ(fetch.Get("reqNo"), "2");
    EXPECT_EQ(fetch.Get("imei").size(), 15u);
    EXPECT_TRUE(fetch.Has("mobile"));
    EXPECT_FALSE(fetch.Get("sysVer").empty());
    EXPECT_EQ(fetch.rawBody.find("session="), std::string::npos) << "none of it in clear";
    EXPECT_EQ(fetch.rawBody.rfind("tc_service=300&tc_isunicode=1&TC_MFUNCNO=100&TC_SFUNCNO=2&", 0), 0u);
    EXPECT_EQ(fetch.target, "/");
    EXPECT_EQ(fetch.GetHeader("Host"), "127.0.0.1:" + std::to_string(m_port));
    // The application keeps the logon's key and session string.
    EXPECT_EQ(m_driver.RunOnGui([] { return CAppData::Instance()->GetSessionKey().str(); }), m_sim.GetSessionKey());
    EXPECT_EQ(m_driver.RunOnGui([] { return CAppData::Instance()->GetSession().str(); }), m_sim.GetSessionString());

    // The menus and the configuration are stored, each under its own tags;
    // the stored tree is the server's.
    EXPECT_EQ(Tags(ReadFile("Menus.dat")), std::vector<std::string>{"menus"});
    EXPECT_EQ(Tags(ReadFile("config.dat")), std::vector<std::string>(4, "config"));
    EXPECT_EQ(RootTitles(ReadFile("Menus.dat")), SimulatorRootTitles());
    EXPECT_TRUE(m_driver.RunOnGui([] { return CAppData::Instance()->GetServerConfig().GetValue("sort").has_value(); }));
    EXPECT_TRUE(m_driver.ScreenShows(SimulatorRootTitles()[0]));
    EXPECT_TRUE(MessageBoxes().empty());
    EXPECT_EQ(m_app->GetStartupScreen(), nullptr);
    m_driver.RunOnGui([this] { m_app->CancelStartup(); }); // too late: the program runs on
    EXPECT_EQ(State(), COrbApp::State::Running);
}

TEST_F(StartupTest, DataAndWorkerMadeBeforeTheLoopStartTheSameProgramAndASecondPreparationIsRefused) {
    // As the desktop program does: the data and the worker first, then the
    // start in the loop, with the same two requests and the main menu.
    m_app = std::make_unique<COrbApp>(Options(m_port));
    ASSERT_TRUE(m_app->PrepareInstance());
    EXPECT_TRUE(m_app->PrepareInstance()) << "prepared already";
    ASSERT_TRUE(m_driver.Start([this] { m_app->InitInstance(); }));
    ASSERT_EQ(State(), COrbApp::State::Running);
    const std::vector<SimRequest> log = m_sim.GetRequestLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].main * 1000 + log[1].sub, 100002);
    EXPECT_TRUE(m_driver.ScreenShows(SimulatorRootTitles()[0]));
    // A second program over the same folder prepares nothing, and its start
    // says why.
    COrbApp second(Options(m_port));
    EXPECT_FALSE(second.PrepareInstance());
    m_driver.AnswerNext(ModalKind::MessageBox, IDOK);
    EXPECT_FALSE(m_driver.RunOnGui([&second] { return second.InitInstance(); }));
    ASSERT_EQ(MessageBoxes().size(), 1u);
    EXPECT_EQ(MessageBoxes()[0].text, u"OrbStock 已经在运行。");
    second.ExitInstance();
    EXPECT_EQ(State(), COrbApp::State::Running);
}

// ---- One running instance ----

TEST_F(StartupTest, ASecondProgramOverTheSameDataDirectoryIsRefusedAndToldSo) {
    ASSERT_TRUE(StartProgram());
    ASSERT_EQ(State(), COrbApp::State::Running);
    COrbApp second(Options(m_port));
    EXPECT_EQ(second.LockInstance(), CSingleInstance::Result::RunningAlready);
    m_driver.AnswerNext(ModalKind::MessageBox, IDOK);
    EXPECT_FALSE(m_driver.RunOnGui([&second] { return second.InitInstance(); }));
    EXPECT_EQ(second.GetState(), COrbApp::State::Failed);
    const std::vector<CShownModal> boxes = MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, u"OrbStock 已经在运行。");
    // The first program is untouched.
    second.ExitInstance();
    EXPECT_EQ(State(), COrbApp::State::Running);
    EXPECT_NE(CAppData::Instance(), nullptr);
    EXPECT_EQ(m_sim.GetRequestLog().size(), 2u);
}

TEST_F(StartupTest, TheInstanceLockMakesAMissingDataDirectoryAndIsFreeAgainOnceReleased) {
    const std::string nested = (m_dir / "a" / "b" / "OrbStock").string();
    CSingleInstance first;
    ASSERT_EQ(first.Acquire(nested), CSingleInstance::Result::Acquired);
    EXPECT_TRUE(std::filesystem::is_directory(nested));
    EXPECT_EQ(first.Acquire(nested), CSingleInstance::Result::Acquired) << "held already";
    CSingleInstance second;
    EXPECT_EQ(second.Acquire(nested), CSingleInstance::Result::RunningAlready);
    first.Release();
    EXPECT_EQ(second.Acquire(nested), CSingleInstance::Result::Acquired);
}

// ---- Failed start-ups ----

TEST_F(StartupTest, AFailedStartUpEndsTheProgramWithItsMessageNoWindowAndNothingStored) {
    CBrokerSimulator gone;
    const int gonePort = gone.Start(0);
    ASSERT_GT(gonePort, 0);
    gone.Stop(); // nothing listens there now
    const struct {
        const char* what;
        std::function<void(CBrokerSimulator&, COrbAppOptions&)> arrange;
        std::u16string text; // empty: any text
        size_t requests;     // that reached the simulator
    } cases[] = {
        {"a server refusing connections", [&](CBrokerSimulator&, COrbAppOptions& o) { o.serverPort = gonePort; },
         u"错误(2)：无法连接到服务器", 0},
        {"a missing public key",
         [this](CBrokerSimulator&, COrbAppOptions& o) { o.resourceDir = (m_dir / "no-resources").string(); }, u"",
         0},
        {"a logon the server refuses",
         [](CBrokerSimulator& sim, COrbAppOptions&) {
             SimFault refusal(SimFaultKind::ErrorSet);
             refusal.errorText = u"服务暂停";
             refusal.errorCode = 7;
             sim.InjectFaultFor(100, 1, refusal);
         },
         u"服务暂停", 1},
        {"a broken configuration reply",
         [](CBrokerSimulator& sim, COrbAppOptions&) { sim.InjectFaultFor(100, 2, SimFaultKind::CorruptBody); },
         u"错误(6)：数据接收不全或格式错误", 2},
        {"a configuration reply without menus",
         [](CBrokerSimulator& sim, COrbAppOptions&) {
             sim.SetRoute(100, 2, [](const SimRequest&, CSimMarket&) {
                 CDataSetWriter writer;
                 CSimMenuTree::WriteConfig(writer);
                 return SimReply::Ok(writer);
             });
         },
         u"错误(6)：数据接收不全或格式错误", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        COrbAppOptions options = Options(m_port);
        c.arrange(m_sim, options);
        m_sim.ClearRequestLog();
        ASSERT_TRUE(Start(options, true));
        EXPECT_TRUE(m_driver.HasProgramEnded());
        EXPECT_EQ(m_app->GetState(), COrbApp::State::Failed);
        EXPECT_EQ(m_app->GetMainWindow(), nullptr);
        EXPECT_EQ(m_windowsAtQuit, 0);
        const std::vector<CShownModal> boxes = MessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, u"信息");
        EXPECT_EQ(boxes[0].text, m_app->GetFailureText());
        EXPECT_TRUE(c.text.empty() || boxes[0].text == c.text) << c.what;
        EXPECT_EQ(m_sim.GetRequestLog().size(), c.requests);
        EXPECT_FALSE(FileExists("Menus.dat"));
        EXPECT_FALSE(FileExists("config.dat"));
        m_driver.Stop();
        m_app->ExitInstance();
        EXPECT_EQ(CAppData::Instance(), nullptr);
        m_app.reset();
        m_sim.ClearFaults();
    }
}

TEST(StartupConfigReply, MenusAndConfigSetsAreSplitByTagIgnoringCaseAndAnErrorSetIsNoConfiguration) {
    CDataSetWriter writer;
    for (const char* tag : {"MENUS", "other", "config", "Config"})
        writer.AddSet(tag);
    std::vector<uint8_t> body = writer.Serialize();
    std::string menus, config;
    ASSERT_TRUE(CStartupLogon::SplitConfigReply(body.data(), static_cast<int>(body.size()), &menus, &config));
    EXPECT_EQ(Tags(Bytes(menus)), (std::vector<std::string>{"MENUS"}));
    EXPECT_EQ(Tags(Bytes(config)), (std::vector<std::string>{"config", "Config"}));
    body = CDataSetWriter::ErrorBody(u"维护中");
    EXPECT_FALSE(CStartupLogon::SplitConfigReply(body.data(), static_cast<int>(body.size()), &menus, &config));
    EXPECT_EQ(CStartupLogon::FailureText(body.data(), static_cast<int>(body.size())), u"维护中");
    EXPECT_EQ(CStartupLogon::FailureText(nullptr, 0), u"错误(6)：数据接收不全或格式错误");
}

TEST(StartupDataDir, TheDefaultLiesUnderAnAbsoluteXdgDataHomeElseUnderHomeElseInTheWorkingDirectory) {
    struct Case {
        const char* xdg; // null: not set
        const char* home;
        std::string dir;
    };
    const Case cases[] = {
        {"/x/data", "/home/u", "/x/data/OrbStock"},
        {"relative/data", "/home/u", "/home/u/.local/share/OrbStock"},
        {"", "/home/u", "/home/u/.local/share/OrbStock"},
        {nullptr, "", "OrbStock"},
        {nullptr, nullptr, "OrbStock"},
    };
    auto saved = [](const char* name) {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    };
    auto set = [](const char* name, const char* value) {
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    };
    const std::optional<std::string> xdg = saved("XDG_DATA_HOME"), home = saved("HOME");
    for (const Case& c : cases) {
        set("XDG_DATA_HOME", c.xdg);
        set("HOME", c.home);
        EXPECT_EQ(COrbApp::DefaultDataDir(), c.dir) << (c.xdg ? c.xdg : "(unset)");
    }
    set("XDG_DATA_HOME", xdg ? xdg->c_str() : nullptr);
    set("HOME", home ? home->c_str() : nullptr);
}

// ---- Exit ----

TEST_F(StartupTest, NoToTheExitQuestionKeepsTheProgramAndYesLogsOutAddsTheTrafficToTheSavedTotalsAndEnds) {
    {
        CDefParam earlier((m_dir / "DefParam.dat").string());
        ASSERT_TRUE(earlier.Set("Upload_Bytes", "1000"));
        ASSERT_TRUE(earlier.Set("Download_Bytes", "junk")); // a damaged total counts as 0
        ASSERT_TRUE(earlier.Save());
    }
    ASSERT_TRUE(StartProgram());
    ASSERT_EQ(State(), COrbApp::State::Running);
    // The bottom bar's back button asks too.
    const CPoint bottomBack = m_driver.RunOnGui([this] {
        CRect bar = m_app->GetMainWindow()->GetToolBar()->GetScreenRect();
        return CPoint{bar.left + bar.Width() * 5 / 6, (bar.top + bar.bottom) / 2};
    });
    m_driver.AnswerNext(ModalKind::MessageBox, IDNO);
    ASSERT_TRUE(m_driver.Tap(bottomBack.x, bottomBack.y));
    ASSERT_EQ(MessageBoxes().size(), 1u);
    EXPECT_EQ(MessageBoxes()[0].text, u"您确定退出系统？");
    EXPECT_EQ(State(), COrbApp::State::Running);
    EXPECT_EQ(m_sim.GetRequestLog().size(), 2u) << "no logout";

    const uint64_t up = m_driver.RunOnGui([] { return CAppData::Instance()->GetUploadBytes(); });
    const uint64_t down = m_driver.RunOnGui([] { return CAppData::Instance()->GetDownloadBytes(); });
    ASSERT_GT(up, 0u);
    ASSERT_GT(down, 0u);
    m_driver.AnswerNext(ModalKind::MessageBox, IDYES);
    ASSERT_TRUE(TapBackButton());
    EXPECT_TRUE(m_driver.HasProgramEnded());
    EXPECT_EQ(m_app->GetState(), COrbApp::State::Ending);
    const std::vector<SimRequest> log = m_sim.GetRequestLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[2].main * 1000 + log[2].sub, 100022);
    EXPECT_EQ(log[2].Get("session"), m_sim.GetSessionString());
    m_app->ExitInstance();
    EXPECT_EQ(m_app->GetState(), COrbApp::State::Ended);
    EXPECT_EQ(CAppData::Instance(), nullptr);
    CDefParam saved((m_dir / "DefParam.dat").string());
    ASSERT_EQ(saved.Load(), CDefParam::LoadResult::Loaded);
    EXPECT_EQ(saved.Get("Upload_Bytes").str(), std::to_string(1000 + up));
    EXPECT_EQ(saved.Get("Download_Bytes").str(), std::to_string(down));
    // The simulator's port was for this run only.
    EXPECT_EQ(saved.Get("Server_Port").str(), "8002");
    EXPECT_EQ(saved.Get("Server_Host").str(), "127.0.0.1");
}

TEST_F(StartupTest, ALoopEndedWithoutTheQuestionStillLogsOutAtTheExitOperation) {
    ASSERT_TRUE(StartProgram());
    ASSERT_EQ(State(), COrbApp::State::Running);
    m_driver.Stop(); // as closing the desktop window quits the loop
    m_app->ExitInstance();
    const std::vector<SimRequest> log = m_sim.GetRequestLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[2].sub, 22);
    CDefParam saved((m_dir / "DefParam.dat").string());
    ASSERT_EQ(saved.Load(), CDefParam::LoadResult::Loaded);
    EXPECT_NE(saved.Get("Upload_Bytes").str(), "0");
}

// ---- The main window ----

namespace {
// A window that closes itself with code 0 as soon as it is shown, as a
// "首页" press does.
class CHomeAtOnceWnd : public CNetWnd {
public:
    const char* GetClassName() const override { return "CHomeAtOnceWnd"; }
    void OnWindowShown() override { PostMessage(WND_MSG_CLOSE, 0, 0); }
};
} // namespace

TEST_F(StartupTest, AWindowClosingWithCodeZeroUnwindsToTheMainMenuWhichStays) {
    ASSERT_TRUE(StartProgram());
    int opened = 0;
    m_driver.RunOnGui([&opened] {
        CMenuNode* first = CAppData::Instance()->GetMenuTree()->GetRoot()->firstChild;
        CWndManager::Instance().RegisterWindow(first->keyword.view(), [&opened](const CWndCreateInfo&) {
            ++opened;
            return std::unique_ptr<CBaseWnd>(new CHomeAtOnceWnd());
        });
    });
    ASSERT_TRUE(CDriverControls::TapListItem(m_driver, COrbMenuWnd::kListId, 0));
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(State(), COrbApp::State::Running);
    EXPECT_TRUE(m_driver.RunOnGui([this] { return m_app->GetMainWindow()->IsVisible(); }));
    EXPECT_TRUE(MessageBoxes().empty());
}
