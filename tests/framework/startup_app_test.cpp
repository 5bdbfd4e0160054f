// The application object end to end: start-up to the main menu against the
// simulated broker server over real sockets, the single running instance,
// failed start-ups, and the exit with its logout and traffic totals.
#include "startup_Fixture.h"

#include "framework/app/CDefParam.h"
#include "framework/app/CSingleInstance.h"
#include "framework/app/CStartupLogon.h"
#include "framework/net/NetFailure.h"
#include "framework/shell/CWndManager.h"
#include "framework/ui/COrbMenuWnd.h"
#include "framework/ui/WndMessages.h"
#include "platform/Clock.h"
#include "platform/win/UiMessageLoop.h"

#include <cstring>

namespace {

std::vector<std::string> Tags(const std::vector<uint8_t>& body) {
    CDataSetList list(body.data(), static_cast<int>(body.size()));
    std::vector<std::string> tags;
    for (int i = 0; i < list.GetCount(); ++i)
        tags.push_back((*list.GetAt(i))->GetTag());
    return tags;
}

} // namespace

// ---- Start-up ----

TEST_F(StartupTest, StartUpReachesTheMainMenuListingTheRootsChildrenFromTheServer) {
    ASSERT_TRUE(StartProgram());
    ASSERT_EQ(State(), COrbApp::State::Running);
    std::vector<std::u16string> titles = SimulatorRootTitles();
    ASSERT_GE(titles.size(), 5u);
    // The first rows are on the screen; the rest lie below the fold.
    for (size_t i = 0; i < 5; ++i)
        EXPECT_TRUE(m_driver.ScreenShows(titles[i])) << "row " << i;
    EXPECT_EQ(m_driver.RunOnGui([this] { return CAppData::Instance()->GetMenuTree()->GetRoot()->id; }), 0);
    EXPECT_TRUE(MessageBoxes(m_driver.Shown()).empty());
}

TEST_F(StartupTest, StartUpStoresTheMenusAndConfigSetsAsDataFiles) {
    ASSERT_TRUE(StartProgram());
    ASSERT_EQ(State(), COrbApp::State::Running);
    ASSERT_TRUE(FileExists("Menus.dat"));
    ASSERT_TRUE(FileExists("config.dat"));
    for (const std::string& tag : Tags(ReadFile("Menus.dat")))
        EXPECT_STRCASEEQ(tag.c_str(), "menus");
    std::vector<std::string> configTags = Tags(ReadFile("config.dat"));
    ASSERT_FALSE(configTags.empty());
    for (const std::string& tag : configTags)
        EXPECT_STRCASEEQ(tag.c_str(), "config");
    // The stored tree is the server's, node for node.
    std::vector<uint8_t> menus = ReadFile("Menus.dat");
    std::unique_ptr<CMenuTree> stored = CMenuTree::FromBody(menus.data(), menus.size());
    ASSERT_NE(stored, nullptr);
    CDataSetWriter writer;
    CSimMenuTree::WriteMenus(writer);
    std::vector<uint8_t> served = writer.Serialize();
    EXPECT_EQ(stored->GetCount(), CMenuTree::FromBody(served.data(), served.size())->GetCount());
    // The option groups reach the server configuration.
    EXPECT_TRUE(m_driver.RunOnGui([] { return CAppData::Instance()->GetServerConfig().GetValue("sort").has_value(); }));
}

TEST_F(StartupTest, StartUpLogsOnThenFetchesTheConfigurationSealedWithTheCommonTail) {
    ASSERT_TRUE(StartProgram());
    ASSERT_EQ(State(), COrbApp::State::Running);
    std::vector<SimRequest> log = m_sim.GetRequestLog();
    ASSERT_EQ(log.size(), 2u);

    EXPECT_EQ(log[0].main, 100);
    EXPECT_EQ(log[0].sub, 1);
    EXPECT_FALSE(log[0].sealed);
    EXPECT_EQ(log[0].Get("key").size(), 512u); // a 2048-bit RSA block in hex

    const SimRequest& fetch = log[1];
    EXPECT_EQ(fetch.main, 100);
    EXPECT_EQ(fetch.sub, 2);
    EXPECT_TRUE(fetch.sealed);
    EXPECT_EQ(fetch.sessionKey, m_sim.GetSessionKey());
    EXPECT_EQ(fetch.Get("session"), m_sim.GetSessionString());
    EXPECT_EQ(fetch.Get("softName"), "VuvEr");
    EXPECT_EQ(fetch.Get("supportCompress"), "18");
    EXPECT_EQ(fetch.Get("reqNo"), "2");
    EXPECT_EQ(fetch.Get("imei").size(), 15u);
    EXPECT_TRUE(fetch.Has("mobile"));
    EXPECT_FALSE(fetch.Get("sysVer").empty());
    // The raw body carries none of it in clear.
    EXPECT_EQ(fetch.rawBody.find("session="), std::string::npos);

    // The application keeps the logon's key and session string.
    EXPECT_EQ(m_driver.RunOnGui([] { return CAppData::Instance()->GetSessionKey().str(); }), m_sim.GetSessionKey());
    EXPECT_EQ(m_driver.RunOnGui([] { return CAppData::Instance()->GetSession().str(); }), m_sim.GetSessionString());
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
    std::vector<CShownModal> boxes = MessageBoxes(m_driver.Shown());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, u"OrbStock 已经在运行。");
    // The first program is untouched: same state, same main window.
    second.ExitInstance();
    EXPECT_EQ(State(), COrbApp::State::Running);
    EXPECT_NE(CAppData::Instance(), nullptr);
    EXPECT_EQ(m_sim.GetRequestLog().size(), 2u);
}

TEST_F(StartupTest, TheInstanceLockIsFreeAgainOnceTheFirstProgramHasExited) {
    CSingleInstance first;
    ASSERT_EQ(first.Acquire(m_dir.string()), CSingleInstance::Result::Acquired);
    EXPECT_EQ(first.Acquire(m_dir.string()), CSingleInstance::Result::Acquired); // held already
    CSingleInstance second;
    EXPECT_EQ(second.Acquire(m_dir.string()), CSingleInstance::Result::RunningAlready);
    first.Release();
    EXPECT_EQ(second.Acquire(m_dir.string()), CSingleInstance::Result::Acquired);
}

TEST_F(StartupTest, TheInstanceLockMakesAMissingDataDirectoryWithItsParents) {
    std::string nested = (m_dir / "a" / "b" / "OrbStock").string();
    CSingleInstance lock;
    EXPECT_EQ(lock.Acquire(nested), CSingleInstance::Result::Acquired);
    EXPECT_TRUE(std::filesystem::is_directory(nested));
}

// ---- Failed start-ups ----

TEST_F(StartupTest, AServerRefusingConnectionsEndsTheProgramWithTheTransportMessageAndNoWindow) {
    CBrokerSimulator gone;
    int port = gone.Start(0);
    ASSERT_GT(port, 0);
    gone.Stop(); // nothing listens there now

    int windowsAtQuit = -1;
    m_app = std::make_unique<COrbApp>(Options(port));
    ASSERT_TRUE(m_driver.Start([this, &windowsAtQuit] {
        CModalScript::Instance().Push(ModalKind::MessageBox, IDOK);
        UiMessageLoop* loop = UiMessageLoop::Current();
        loop->SetAfterDispatchHook([loop, &windowsAtQuit] {
            if (loop->IsQuitting() && windowsAtQuit < 0)
                windowsAtQuit = static_cast<int>(loop->TopLevelWindows().size());
        });
        m_app->InitInstance();
    }));
    EXPECT_TRUE(m_driver.HasProgramEnded());
    EXPECT_EQ(m_app->GetState(), COrbApp::State::Failed);
    EXPECT_EQ(m_app->GetMainWindow(), nullptr);
    EXPECT_EQ(windowsAtQuit, 0);
    std::vector<CShownModal> boxes = MessageBoxes(m_driver.Shown());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, u"信息");
    EXPECT_EQ(boxes[0].text, u"错误(2)：无法连接到服务器");
    m_app->ExitInstance();
    EXPECT_EQ(CAppData::Instance(), nullptr);
}

TEST_F(StartupTest, AServerThatNeverAnswersTheLogonEndsTheStartUpAtItsLimit) {
    SimFault silent(SimFaultKind::SlowReply);
    silent.delayMs = 600000; // the simulator's Stop ends it
    m_sim.InjectFaultFor(100, 1, silent);
    // The start cannot come to rest while the logon hangs: let the first
    // wait end short and quietly, then move the program clock to the limit.
    m_driver.SetFailureHandler([](const std::string&) {});
    m_driver.SetRestTimeout(200);
    StartProgramAnswering(IDOK);
    m_driver.SetFailureHandler([](const std::string& text) { ADD_FAILURE() << text; });
    m_driver.SetRestTimeout(15000);
    ASSERT_TRUE(m_sim.WaitForRequests(1, 5000));
    m_driver.Loop()->PostTask([] { CClock::Instance().Advance(CStartupLogon::kLogonLimitMs); });
    EXPECT_TRUE(m_driver.WaitForRest());
    EXPECT_TRUE(m_driver.HasProgramEnded());
    EXPECT_EQ(m_app->GetState(), COrbApp::State::Failed);
    EXPECT_EQ(m_app->GetFailureText(), u"错误(4)：接收数据失败，请重试");
    EXPECT_EQ(m_sim.GetRequestLog().size(), 1u);
}

TEST_F(StartupTest, ALogonRefusedByTheServerShowsTheServersTextAndFetchesNothing) {
    SimFault refusal(SimFaultKind::ErrorSet);
    refusal.errorText = u"服务暂停";
    refusal.errorCode = 7;
    m_sim.InjectFaultFor(100, 1, refusal);
    ASSERT_TRUE(StartProgramAnswering(IDOK));
    EXPECT_TRUE(m_driver.HasProgramEnded());
    EXPECT_EQ(m_app->GetState(), COrbApp::State::Failed);
    EXPECT_EQ(m_app->GetFailureText(), u"服务暂停");
    EXPECT_EQ(m_sim.GetRequestLog().size(), 1u);
    EXPECT_FALSE(FileExists("Menus.dat"));
}

TEST_F(StartupTest, ABrokenConfigurationReplyEndsTheProgramWithTheFormatMessage) {
    m_sim.InjectFaultFor(100, 2, SimFaultKind::CorruptBody);
    ASSERT_TRUE(StartProgramAnswering(IDOK));
    EXPECT_TRUE(m_driver.HasProgramEnded());
    EXPECT_EQ(m_app->GetState(), COrbApp::State::Failed);
    EXPECT_EQ(m_app->GetFailureText(), u"错误(6)：数据接收不全或格式错误");
    EXPECT_FALSE(FileExists("Menus.dat"));
}

TEST_F(StartupTest, AConfigurationReplyWithoutMenusIsRefusedAndStoresNothing) {
    m_sim.SetRoute(100, 2, [](const SimRequest&, CSimMarket&) {
        CDataSetWriter writer;
        CSimMenuTree::WriteConfig(writer);
        return SimReply::Ok(writer);
    });
    ASSERT_TRUE(StartProgramAnswering(IDOK));
    EXPECT_TRUE(m_driver.HasProgramEnded());
    EXPECT_EQ(m_app->GetFailureText(), u"错误(6)：数据接收不全或格式错误");
    EXPECT_FALSE(FileExists("Menus.dat"));
    EXPECT_FALSE(FileExists("config.dat"));
}

TEST_F(StartupTest, AMissingPublicKeyEndsTheStartUpBeforeAnythingIsSent) {
    COrbAppOptions options = Options(m_port);
    options.resourceDir = (m_dir / "no-resources").string();
    m_app = std::make_unique<COrbApp>(options);
    ASSERT_TRUE(m_driver.Start([this] {
        CModalScript::Instance().Push(ModalKind::MessageBox, IDOK);
        m_app->InitInstance();
    }));
    EXPECT_TRUE(m_driver.HasProgramEnded());
    EXPECT_EQ(m_app->GetState(), COrbApp::State::Failed);
    EXPECT_TRUE(m_sim.GetRequestLog().empty());
}

// ---- The configuration reply ----

TEST(StartupConfigReply, MenusAndConfigSetsAreSplitByTagIgnoringCaseEachAsOneBody) {
    CDataSetWriter writer;
    writer.AddSet("MENUS");
    writer.AddSet("other");
    writer.AddSet("config");
    writer.AddSet("Config");
    std::vector<uint8_t> body = writer.Serialize();
    std::string menus, config;
    ASSERT_TRUE(CStartupLogon::SplitConfigReply(body.data(), static_cast<int>(body.size()), &menus, &config));
    std::vector<uint8_t> menuBytes(menus.begin(), menus.end());
    std::vector<uint8_t> configBytes(config.begin(), config.end());
    EXPECT_EQ(Tags(menuBytes), (std::vector<std::string>{"MENUS"}));
    EXPECT_EQ(Tags(configBytes), (std::vector<std::string>{"config", "Config"}));
}

TEST(StartupConfigReply, AnErrorSetIsNotAConfigurationAndItsTextIsShown) {
    std::vector<uint8_t> body = CDataSetWriter::ErrorBody(u"维护中");
    std::string menus, config;
    EXPECT_FALSE(CStartupLogon::SplitConfigReply(body.data(), static_cast<int>(body.size()), &menus, &config));
    EXPECT_EQ(CStartupLogon::FailureText(body.data(), static_cast<int>(body.size())), u"维护中");
    EXPECT_EQ(CStartupLogon::FailureText(nullptr, 0), u"错误(6)：数据接收不全或格式错误");
}

// ---- Exit ----

TEST_F(StartupTest, AnsweringNoToTheExitQuestionKeepsTheProgramRunning) {
    ASSERT_TRUE(StartProgram());
    ASSERT_EQ(State(), COrbApp::State::Running);
    m_driver.AnswerNext(ModalKind::MessageBox, IDNO);
    ASSERT_TRUE(TapBackButton());
    std::vector<CShownModal> boxes = MessageBoxes(m_driver.Shown());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, u"退出系统");
    EXPECT_EQ(boxes[0].text, u"您确定退出系统？");
    EXPECT_FALSE(m_driver.HasProgramEnded());
    EXPECT_EQ(State(), COrbApp::State::Running);
    EXPECT_TRUE(m_driver.ScreenShows(SimulatorRootTitles()[0]));
    EXPECT_EQ(m_sim.GetRequestLog().size(), 2u); // no logout
}

TEST_F(StartupTest, AnsweringYesLogsOutAddsTheTrafficToTheSavedTotalsAndEndsTheLoop) {
    ASSERT_TRUE(StartProgram());
    ASSERT_EQ(State(), COrbApp::State::Running);
    uint64_t up = m_driver.RunOnGui([] { return CAppData::Instance()->GetUploadBytes(); });
    uint64_t down = m_driver.RunOnGui([] { return CAppData::Instance()->GetDownloadBytes(); });
    ASSERT_GT(up, 0u);
    ASSERT_GT(down, 0u);

    m_driver.AnswerNext(ModalKind::MessageBox, IDYES);
    ASSERT_TRUE(TapBackButton());
    EXPECT_TRUE(m_driver.HasProgramEnded());
    EXPECT_EQ(m_app->GetState(), COrbApp::State::Ending);

    std::vector<SimRequest> log = m_sim.GetRequestLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[2].main, 100);
    EXPECT_EQ(log[2].sub, 22);
    EXPECT_EQ(log[2].Get("session"), m_sim.GetSessionString());

    m_app->ExitInstance();
    EXPECT_EQ(m_app->GetState(), COrbApp::State::Ended);
    EXPECT_EQ(CAppData::Instance(), nullptr);
    CDefParam saved((m_dir / "DefParam.dat").string());
    ASSERT_EQ(saved.Load(), CDefParam::LoadResult::Loaded);
    EXPECT_EQ(saved.Get("Upload_Bytes").str(), std::to_string(up));
    EXPECT_EQ(saved.Get("Download_Bytes").str(), std::to_string(down));
    // The simulator's port was for this run only.
    EXPECT_EQ(saved.Get("Server_Port").str(), "8002");
    EXPECT_EQ(saved.Get("Server_Host").str(), "127.0.0.1");
}

TEST_F(StartupTest, TheSessionTrafficIsAddedToTheTotalsOfEarlierSessions) {
    {
        CDefParam earlier((m_dir / "DefParam.dat").string());
        ASSERT_TRUE(earlier.Set("Upload_Bytes", "1000"));
        ASSERT_TRUE(earlier.Set("Download_Bytes", "junk")); // a damaged total counts as 0
        ASSERT_TRUE(earlier.Save());
    }
    ASSERT_TRUE(StartProgram());
    ASSERT_EQ(State(), COrbApp::State::Running);
    uint64_t up = m_driver.RunOnGui([] { return CAppData::Instance()->GetUploadBytes(); });
    uint64_t down = m_driver.RunOnGui([] { return CAppData::Instance()->GetDownloadBytes(); });
    m_driver.AnswerNext(ModalKind::MessageBox, IDYES);
    ASSERT_TRUE(TapBackButton());
    m_app->ExitInstance();
    CDefParam saved((m_dir / "DefParam.dat").string());
    ASSERT_EQ(saved.Load(), CDefParam::LoadResult::Loaded);
    EXPECT_EQ(saved.Get("Upload_Bytes").str(), std::to_string(1000 + up));
    EXPECT_EQ(saved.Get("Download_Bytes").str(), std::to_string(down));
}

TEST_F(StartupTest, ALoopEndedWithoutTheQuestionStillLogsOutAtTheExitOperation) {
    ASSERT_TRUE(StartProgram());
    ASSERT_EQ(State(), COrbApp::State::Running);
    m_driver.Stop(); // as closing the desktop window quits the loop
    m_app->ExitInstance();
    std::vector<SimRequest> log = m_sim.GetRequestLog();
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
    ASSERT_EQ(State(), COrbApp::State::Running);
    int opened = 0;
    std::string keyword = m_driver.RunOnGui([this, &opened] {
        CMenuNode* first = CAppData::Instance()->GetMenuTree()->GetRoot()->firstChild;
        CWndManager::Instance().RegisterWindow(first->keyword.view(), [&opened](const CWndCreateInfo&) {
            ++opened;
            return std::unique_ptr<CBaseWnd>(new CHomeAtOnceWnd());
        });
        return first->keyword.str();
    });
    ASSERT_FALSE(keyword.empty());
    CPoint row = m_driver.RunOnGui([this] {
        auto* main = static_cast<COrbMenuWnd*>(m_app->GetMainWindow());
        CRect item = main->GetList().GetItemRect(0);
        CRect list = main->GetList().GetScreenRect();
        return CPoint{list.left + (item.left + item.right) / 2, list.top + (item.top + item.bottom) / 2};
    });
    ASSERT_TRUE(m_driver.Tap(row.x, row.y));
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(State(), COrbApp::State::Running);
    EXPECT_TRUE(m_driver.RunOnGui([this] { return m_app->GetMainWindow()->IsVisible(); }));
    EXPECT_TRUE(MessageBoxes(m_driver.Shown()).empty());
}

TEST_F(StartupTest, TheBottomBarsBackButtonAsksTheExitQuestionToo) {
    ASSERT_TRUE(StartProgram());
    ASSERT_EQ(State(), COrbApp::State::Running);
    CPoint back = m_driver.RunOnGui([this] {
        CRect bar = m_app->GetMainWindow()->GetToolBar()->GetScreenRect();
        return CPoint{bar.left + bar.Width() * 5 / 6, (bar.top + bar.bottom) / 2};
    });
    m_driver.AnswerNext(ModalKind::MessageBox, IDNO);
    ASSERT_TRUE(m_driver.Tap(back.x, back.y));
    std::vector<CShownModal> boxes = MessageBoxes(m_driver.Shown());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, u"您确定退出系统？");
    EXPECT_EQ(State(), COrbApp::State::Running);
}
