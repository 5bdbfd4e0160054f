// The application object: start-up and shut-down of the program around the
// one message loop.
//
// Making the object starts loading the font and making the logon's key in
// the background (they need nothing of the start-up); the first text drawn
// and the logon wait for them.
//
// Start-up (InitInstance, on the GUI thread inside a running loop): one
// running program per data directory (CSingleInstance), the application
// state over the data directory, the server the connection points at (the
// "Server_Host" and "Server_Port" settings, or an override such as the
// embedded simulator's port), then the service logon and the configuration
// fetch without a logon screen (CStartupLogon), then the main window: the
// menu of the menu tree's root over the work area. While the logon and the
// fetch run, the start-up screen (CStartupWnd) says so; its "取消" abandons
// them and ends the loop with kExitStartupFailed, without a message. A
// failure on the way is shown in a message box with its text and ends the
// loop with kExitStartupFailed; nothing of the start-up is left open.
//
// Shut-down: the main window's close asks ConfirmExit, which on "yes" ends
// the session (traffic added to "Upload_Bytes"/"Download_Bytes", settings
// saved, the logout 100/22 sent on the shared worker and waited for up to
// kLogoutWaitMs) and quits the loop. ExitInstance, after the loop, deletes
// the windows, the application state (which stops the shared worker and
// saves "DefParam.dat") and the window manager's registrations, and gives
// up the instance lock. A loop that ended another way (the desktop window
// closed) gets the same session end there.
//
// A server override lives in the settings only while the program runs: the
// values the settings file held are put back before any save, so a one-off
// "--server" or the simulator's free port never becomes the configuration.
//
// GUI thread only, except where a member says otherwise.
#pragma once

#include "framework/app/CSingleInstance.h"
#include "framework/app/CStartupLogon.h"

#include <future>
#include <memory>
#include <optional>
#include <string>

class CBaseWnd;
class CStartupWnd;
class UiWin;

// What the program was started with.
struct COrbAppOptions {
    std::string dataDir;     // empty: COrbApp::DefaultDataDir()
    std::string serverHost;  // empty: the "Server_Host" setting
    int serverPort = 0;      // 0: the "Server_Port" setting
    std::string resourceDir; // holds "pubkey.bin"; empty: the images' resource directory
};

class COrbApp {
public:
    static constexpr int kLogoutWaitMs = 8000;   // longest wait for the logout at exit
    static constexpr int kAbortWaitMs = 2000;    // for a running request before the logout
    static constexpr int kExitStartupFailed = 1; // the loop's code after a failed start-up
    static constexpr int kExitRunningAlready = 3;

    enum class State {
        Idle,       // before InitInstance
        StartingUp, // logon and configuration fetch in flight
        Running,    // the main window is up
        Failed,     // the start-up failed; the loop was told to end
        Cancelled,  // the start-up was cancelled; the loop was told to end
        Ending,     // the exit was confirmed; the loop was told to end
        Ended,      // ExitInstance ran
    };

    explicit COrbApp(COrbAppOptions options);
    ~COrbApp(); // ExitInstance
    COrbApp(const COrbApp&) = delete;
    COrbApp& operator=(const COrbApp&) = delete;

    // The running application object, or null (the main window asks it).
    static COrbApp* Instance();
    // $XDG_DATA_HOME/OrbStock, else $HOME/.local/share/OrbStock, else
    // ./OrbStock (native path).
    static std::string DefaultDataDir();

    // Where the face the font engine chose is kept in dataDir ("FontFace.dat").
    static std::string FontChoiceFile(const std::string& dataDir);

    const std::string& GetDataDir() const { return m_dataDir; }
    // Takes the instance lock of the data directory; callable before a loop
    // exists, so a refused start shows no window.
    CSingleInstance::Result LockInstance();

    // The start's part that needs no window, before InitInstance and while
    // the loop does not use the application (the desktop program: before
    // its loop runs): the instance lock, the application state over the
    // data directory, the shared worker (its thread), a GBK converter and
    // OpenSSL's set-up. A caller that loads a library after it knows the
    // start makes no thread and takes no loader's lock during the load.
    // False when it cannot be done; InitInstance then meets the failure
    // again and tells it. InitInstance does it when not done.
    bool PrepareInstance();
    // Starts the program in the current loop (see above). False when it
    // cannot start at all: already running or the data directory unusable
    // (the user was told), or an application state exists already. The
    // asynchronous part reports through the loop.
    bool InitInstance();
    // The exit question over owner ("您确定退出系统？", caption "退出系统",
    // yes/no); on yes the session ends and the loop quits. True on yes.
    bool ConfirmExit(UiWin* owner);
    // See above; harmless twice. May run after the loop has gone.
    void ExitInstance();
    // The start-up screen's "取消": the logon or fetch in flight is
    // abandoned and the loop ends with kExitStartupFailed. Nothing once the
    // start-up is over.
    void CancelStartup();

    State GetState() const { return m_state; }
    CBaseWnd* GetMainWindow() const { return m_mainWindow.get(); }
    // The start-up screen while the start-up runs; null otherwise.
    CStartupWnd* GetStartupScreen() const { return m_startupScreen.get(); }
    // The text of the start-up's failure, shown to the user; empty otherwise.
    const std::u16string& GetFailureText() const { return m_failureText; }

private:
    void OnStartupDone(bool ok, const std::u16string& message);
    bool ShowMainWindow();
    void ShowStartupScreen();
    void CloseStartupScreen();
    // Shows text, ends the loop with kExitStartupFailed and drops what the
    // start-up had opened.
    void FailStartup(const std::u16string& text);
    // Traffic into the settings, settings saved, logout sent and waited for.
    void EndSession();
    // Puts back the server settings the file held before an override.
    void RestoreServerSettings();
    static void QuitLoop(int code);
    // The resource directory's "pubkey.bin".
    std::string PublicKeyPath() const;

    COrbAppOptions m_options;
    std::string m_dataDir;
    CSingleInstance m_instanceLock;
    State m_state = State::Idle;
    bool m_sessionEnded = false;
    bool m_askingExit = false;   // the exit question is open
    bool m_ownsAppData = false;
    // The settings the file held before an override; nullopt when none was made.
    std::optional<std::string> m_savedHost;
    std::optional<std::string> m_savedPort;
    std::future<CStartupLogon::LogonKey> m_logonKey; // made at construction, taken by the logon
    std::unique_ptr<CStartupLogon> m_startup;
    std::unique_ptr<CStartupWnd> m_startupScreen;
    std::unique_ptr<CBaseWnd> m_mainWindow;
    std::u16string m_failureText;
};
