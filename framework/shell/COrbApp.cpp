// The application object's start-up and shut-down (see the header).
#include "framework/shell/COrbApp.h"

#include "core/CryptoSetup.h"
#include "core/FunctionNumbers.h"
#include "core/TextConvert.h"
#include "framework/app/AppRequestTail.h"
#include "framework/app/CAppData.h"
#include "framework/shell/CMainMenuWnd.h"
#include "framework/app/CStartupLogon.h"
#include "framework/app/CStartupWnd.h"
#include "framework/app/CAppNetContext.h"
#include "framework/net/CHttpPostClient.h"
#include "framework/net/CNetWorker.h"
#include "framework/net/NetFailure.h"
#include "framework/net/RequestText.h"
#include "framework/shell/CWndManager.h"
#include "platform/gdi/CFontEngine.h"
#include "platform/gdi/CImage.h"
#include "platform/system/Environment.h"
#include "platform/ui/CModalScript.h"
#include "platform/ui/CUiMessageBox.h"
#include "platform/ui/UiDefs.h"
#include "platform/win/UiMessageLoop.h"

#include <cerrno>
#include <cstdlib>
#include <limits>
#include <string>

namespace {
COrbApp* g_app = nullptr;

constexpr int kLogoutMain = kFuncLogout.main;
constexpr int kLogoutSub = kFuncLogout.sub;

// A stored byte count; 0 for a missing or damaged value.
std::uint64_t ParseCount(const std::string& text) {
    char* end = nullptr;
    errno = 0;
    unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (text.empty() || errno != 0 || *end != '\0' || text[0] == '-')
        return 0;
    return value;
}

std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) {
    return a > std::numeric_limits<std::uint64_t>::max() - b ? std::numeric_limits<std::uint64_t>::max() : a + b;
}
} // namespace

COrbApp::COrbApp(COrbAppOptions options) : m_options(std::move(options)) {
    m_dataDir = m_options.dataDir.empty() ? DefaultDataDir() : m_options.dataDir;
    if (!g_app)
        g_app = this;
    // Neither the face nor the logon's key needs anything of the start-up,
    // and each costs milliseconds of set-up: both are made beside the
    // window's set-up, and the first text drawn and the logon wait for what
    // is left of them.
    CFontEngine::Instance().LoadDefaultFontInBackground(FontChoiceFile(m_dataDir));
    m_logonKey = CStartupLogon::PrepareKey(PublicKeyPath());
}

std::string COrbApp::PublicKeyPath() const {
    const std::string resourceDir = m_options.resourceDir.empty() ? CImage::GetResourceDir() : m_options.resourceDir;
    return resourceDir + "/pubkey.bin";
}

COrbApp::~COrbApp() {
    ExitInstance();
    if (g_app == this)
        g_app = nullptr;
}

COrbApp* COrbApp::Instance() { return g_app; }

std::string COrbApp::DefaultDataDir() {
    const std::string xdg = EnvironmentValue("XDG_DATA_HOME");
    if (!xdg.empty() && xdg[0] == '/')
        return xdg + "/OrbStock";
    const std::string home = EnvironmentValue("HOME");
    if (!home.empty())
        return home + "/.local/share/OrbStock";
    return "OrbStock";
}

std::string COrbApp::FontChoiceFile(const std::string& dataDir) { return dataDir + "/FontFace.dat"; }

CSingleInstance::Result COrbApp::LockInstance() { return m_instanceLock.Acquire(m_dataDir); }

bool COrbApp::PrepareInstance() {
    if (m_state != State::Idle)
        return false;
    if (m_ownsAppData)
        return true;
    if (LockInstance() != CSingleInstance::Result::Acquired)
        return false;
    CAppData* app = CAppData::Create(m_dataDir);
    if (!app)
        return false;
    m_ownsAppData = true;
    // What takes the loader's lock at its first use is done here, not by a
    // thread while a library loads: the GBK module, OpenSSL's set-up.
    PrepareTextConvert();
    PrepareCrypto();
    // A first start gets the default watch list; a failure here only leaves
    // the watch list empty, it does not stop the program.
    app->LoadMyQuotes();

    CAppNetContext::Instance().SetPublicKeyPath(PublicKeyPath());

    // Point the connection at the server before the shared worker exists,
    // so every road (the shared worker, a window's own worker) agrees.
    if (!m_options.serverHost.empty()) {
        m_savedHost = app->GetSetting("Server_Host").str();
        app->SetSetting("Server_Host", m_options.serverHost, false);
    }
    if (m_options.serverPort > 0) {
        m_savedPort = app->GetSetting("Server_Port").str();
        app->SetSetting("Server_Port", std::to_string(m_options.serverPort), false);
    }
    if (CNetWorker* worker = app->GetNetWorker()) {
        // A host too long for the settings still reaches the connection.
        const std::string host =
            m_options.serverHost.empty() ? app->GetSetting("Server_Host").str() : m_options.serverHost;
        const int port =
            m_options.serverPort > 0 ? m_options.serverPort : std::atoi(app->GetSetting("Server_Port").c_str());
        worker->GetConnection().SetServer(host, port);
    }
    return true;
}

bool COrbApp::InitInstance() {
    if (m_state != State::Idle)
        return false;
    CSingleInstance::Result lock = LockInstance();
    if (lock != CSingleInstance::Result::Acquired) {
        m_state = State::Failed;
        m_failureText = lock == CSingleInstance::Result::RunningAlready ? u"OrbStock 已经在运行。"
                                                                          : u"无法使用数据目录。";
        UiMessageBox(nullptr, m_failureText, u"提示", MB_OK);
        return false;
    }
    if (!PrepareInstance()) {
        m_state = State::Failed;
        m_instanceLock.Release();
        return false;
    }
    CNetWorker* worker = CAppData::Instance()->GetNetWorker();
    if (!worker) {
        FailStartup(NetFailureMessage(NET_ERR_NO_NETWORK));
        return true;
    }

    m_state = State::StartingUp;
    ShowStartupScreen();
    m_startup = std::make_unique<CStartupLogon>();
    if (!m_startup->Begin(
            worker, CAppNetContext::Instance().GetPublicKeyPath(),
            [this](const CStartupLogon::Outcome& outcome) { OnStartupDone(outcome.ok, outcome.message); },
            std::move(m_logonKey))) {
        FailStartup(NetFailureMessage(NET_ERR_SEND));
    }
    return true;
}

void COrbApp::OnStartupDone(bool ok, const std::u16string& message) {
    if (m_state != State::StartingUp)
        return;
    m_startup.reset();
    if (!ok) {
        FailStartup(message);
        return;
    }
    if (!ShowMainWindow()) {
        FailStartup(NetFailureMessage(NET_ERR_BAD_REPLY));
        return;
    }
    // Closed only now, so the screen never goes black in between.
    CloseStartupScreen();
    m_state = State::Running;
}

void COrbApp::CancelStartup() {
    if (m_state != State::StartingUp)
        return;
    m_state = State::Cancelled;
    if (m_startup)
        m_startup->Cancel();
    m_startup.reset();
    CloseStartupScreen();
    QuitLoop(kExitStartupFailed);
}

void COrbApp::ShowStartupScreen() {
    // Without it the start-up still runs; only the screen stays empty.
    auto screen = std::make_unique<CStartupWnd>([this] { CancelStartup(); });
    if (screen->Open(CWndManager::Instance().GetWorkRect()))
        m_startupScreen = std::move(screen);
}

void COrbApp::CloseStartupScreen() { m_startupScreen.reset(); }

bool COrbApp::ShowMainWindow() {
    CAppData* app = CAppData::Instance();
    CMenuTree* tree = app ? app->GetMenuTree() : nullptr;
    CMenuNode* root = tree ? tree->GetRoot() : nullptr;
    if (!root)
        return false;
    auto window = std::make_unique<CMainMenuWnd>();
    if (!window->CreateOver(nullptr, CWndManager::Instance().GetWorkRect()))
        return false;
    if (!root->title.IsEmpty())
        window->SetCaption(root->title.view());
    window->SetMenuParams(root->id, root->param.c_str(), root->request.c_str());
    window->OnWindowShown();
    window->ShowWindow(true);
    app->SetMainWindow(window.get());
    m_mainWindow = std::move(window);
    return true;
}

void COrbApp::FailStartup(const std::u16string& text) {
    m_state = State::Failed;
    m_failureText = text;
    // The message stands alone: nothing behind it still says "connecting".
    CloseStartupScreen();
    if (CAppData* app = CAppData::Instance())
        app->ShowInfoMessage(text.c_str(), nullptr);
    else
        UiMessageBox(nullptr, text, u"信息", MB_OK);
    QuitLoop(kExitStartupFailed);
}

bool COrbApp::ConfirmExit(UiWin* owner) {
    // One question at a time: the box's own loop may see another close.
    if (m_state != State::Running || m_askingExit)
        return false;
    m_askingExit = true;
    int answer = UiMessageBox(owner, u"您确定退出系统？", u"退出系统", MB_YESNO);
    m_askingExit = false;
    if (answer != IDYES || m_state != State::Running)
        return false;
    m_state = State::Ending;
    EndSession();
    QuitLoop(0);
    return true;
}

void COrbApp::EndSession() {
    if (m_sessionEnded)
        return;
    m_sessionEnded = true;
    CAppData* app = CAppData::Instance();
    if (!app)
        return;
    RestoreServerSettings();
    std::uint64_t up = SaturatingAdd(ParseCount(app->GetSetting("Upload_Bytes").str()), app->GetUploadBytes());
    std::uint64_t down = SaturatingAdd(ParseCount(app->GetSetting("Download_Bytes").str()), app->GetDownloadBytes());
    app->SetSetting("Upload_Bytes", std::to_string(up), false);
    app->SetSetting("Download_Bytes", std::to_string(down), false);
    app->SaveSettings();

    CNetWorker* worker = app->GetNetWorker();
    if (!worker)
        return;
    std::string text;
    if (!ComposeRequest(kLogoutMain, kLogoutSub, "", MakeAppRequestTail(*app), false, std::string(), &text))
        return;
    // A request still running would refuse the logout; it has no one to
    // reach any more.
    worker->AbortAndWait(kAbortWaitMs);
    if (worker->PostRequest(nullptr, std::move(text), 0))
        worker->WaitIdle(kLogoutWaitMs);
}

void COrbApp::RestoreServerSettings() {
    CAppData* app = CAppData::Instance();
    if (!app)
        return;
    if (m_savedHost)
        app->SetSetting("Server_Host", *m_savedHost, false);
    if (m_savedPort)
        app->SetSetting("Server_Port", *m_savedPort, false);
    m_savedHost.reset();
    m_savedPort.reset();
}

void COrbApp::ExitInstance() {
    if (m_state == State::Ended)
        return;
    // The loop ended without the exit question (the desktop window closed):
    // the session still ends as it does on "yes".
    if (m_state == State::Running)
        EndSession();
    m_state = State::Ended;
    if (CAppData* app = CAppData::Instance(); app && m_ownsAppData)
        app->SetMainWindow(nullptr);
    m_mainWindow.reset();
    m_startup.reset();
    m_startupScreen.reset();
    if (m_ownsAppData) {
        RestoreServerSettings();
        // The key path belongs to this start; a later one finds its own.
        CAppNetContext::Instance().SetPublicKeyPath(std::string());
        CAppData::Destroy();
        m_ownsAppData = false;
        CWndManager::Instance().Reset();
    }
    m_instanceLock.Release();
}

void COrbApp::QuitLoop(int code) {
    if (UiMessageLoop* loop = UiMessageLoop::Current())
        loop->Quit(code);
}
