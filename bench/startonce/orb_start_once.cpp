// One start of the program to its painted main menu, then out: the child
// that startup_bench times from exec. It does what the desktop program's
// main() and RunDesktop do: the heap set, the font on a thread of its own,
// the embedded simulator, the application object over a data folder, the
// data and the worker prepared, SDL2's load begun, then the program started
// and its loop run on this thread while SDL2 loads, the window opening as
// the load ends. The menu counts as painted when it first reaches the open
// window.
//
//   orb_start_once DATADIR      prints "<main> <painted>" (CLOCK_MONOTONIC ns)
//   orb_start_once --at-main    prints "<main>" and leaves: exec and loading only
//
// Without a display, run it with SDL_VIDEODRIVER=offscreen.
#include "framework/shell/COrbApp.h"
#include "platform/gdi/CFontEngine.h"
#include "platform/sdl/CSdlHost.h"
#include "platform/sdl/RunDesktop.h"
#include "platform/system/ResidentMemory.h"
#include "platform/win/UiMessageLoop.h"
#include "tools/orbstock/RegisterWindows.h"
#include "tools/simulator/CBrokerSimulator.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <chrono>
#include <thread>

namespace {
long long MonotonicNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

// The desktop host, noting when the running program's screen first reached
// the open window, and ending the loop then.
class CTimedHost : public CSdlHost {
public:
    explicit CTimedHost(const COrbApp& app) : m_app(app) {}
    void SetTimedLoop(UiMessageLoop* loop) {
        m_loop = loop;
        SetLoop(loop);
    }
    long long Painted() const { return m_painted; }

    void Present(const CSurface& screen) override {
        CSdlHost::Present(screen);
        if (m_painted == 0 && IsOpen() && m_app.GetState() == COrbApp::State::Running) {
            m_painted = MonotonicNs();
            m_loop->Quit(0);
        }
    }

private:
    const COrbApp& m_app;
    UiMessageLoop* m_loop = nullptr;
    long long m_painted = 0;
};
} // namespace

int main(int argc, char** argv) {
    const long long atMain = MonotonicNs();
    if (argc != 2)
        return 64;
    if (std::strcmp(argv[1], "--at-main") == 0) {
        std::printf("%lld\n", atMain);
        return 0;
    }
    // As the desktop program does first.
    KeepHeapSmall();
    CFontEngine::Instance().LoadDefaultFontInBackground(COrbApp::FontChoiceFile(argv[1]));
    CBrokerSimulator simulator;
    const int port = simulator.Start(0);
    COrbAppOptions options;
    options.dataDir = argv[1];
    options.serverHost = "127.0.0.1";
    options.serverPort = port;
    options.resourceDir = ORB_SOURCE_DIR "/resources";
    COrbApp app(options);
    RegisterWindows();
    // A start that never comes to its menu ends here rather than hanging.
    std::thread([] {
        std::this_thread::sleep_for(std::chrono::seconds(20));
        std::_Exit(3);
    }).detach();
    // As the desktop program does before its loop runs, then as RunDesktop runs it.
    app.PrepareInstance();
    PreloadDesktopHost();
    CTimedHost host(app);
    host.OpenOnFirstUse("OrbStock", 480, 720);
    UiMessageLoop loop(&host);
    host.SetTimedLoop(&loop);
    if (port > 0 && app.InitInstance())
        loop.Run();
    const long long painted = host.Painted();
    if (painted == 0 && host.OpenFailed())
        std::fprintf(stderr, "orb_start_once: %s\n", host.LastError().c_str());
    std::printf("%lld %lld\n", atMain, painted);
    std::fflush(stdout);
    // The end of the session is no part of a start.
    std::_Exit(painted != 0 ? 0 : 1);
}
