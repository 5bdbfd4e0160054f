// One start of the program to its painted main menu, then out: the child
// that startup_bench times from exec. It does what the desktop program's
// main() does (the font and, once the start's early threads exist, the
// window's libraries loaded on threads of their own, the embedded simulator, the application object over a data
// folder, the desktop window opened while the program starts), but the
// program paints into the headless loop, whose first paint of the menu is
// timed.
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
#include "platform/testing/CTestDriver.h"
#include "platform/win/UiMessageLoop.h"
#include "tools/orbstock/RegisterWindows.h"
#include "tools/simulator/CBrokerSimulator.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <future>
#include <thread>

namespace {
long long MonotonicNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}
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
    // The desktop window opens once the program's start has run, while what
    // it sent is under way, as RunDesktop opens it; the menu counts as
    // painted once both are done.
    CSdlHost host;
    long long opened = 0;
    std::promise<void> startRan;
    std::thread opener([&host, &opened, ran = startRan.get_future()] {
        ran.wait();
        if (host.Open("OrbStock", 480, 720))
            opened = MonotonicNs();
        else
            std::fprintf(stderr, "orb_start_once: %s\n", host.LastError().c_str());
    });
    CTestDriver driver;
    driver.SetRestTimeout(20000);
    RegisterWindows();
    // Without the driver's check of every partial repaint, as the program runs.
    bool started = port > 0 && driver.Start([] { UiMessageLoop::SetVerifyPartialPaints(false); });
    if (started) {
        // As the desktop program does before its loop runs: the data and the
        // worker, then SDL2's load once the start's threads exist.
        app.PrepareInstance();
        PreloadDesktopHost();
        driver.RunOnGui([&app, &startRan] {
            app.InitInstance();
            startRan.set_value();
        });
        started = driver.WaitForRest();
    }
    if (!started) {
        // The start never ran: the window is not awaited.
        std::printf("%lld 0\n", atMain);
        std::fflush(stdout);
        std::_Exit(1);
    }
    const long long menu = MonotonicNs();
    opener.join();
    const long long painted = opened ? std::max(menu, opened) : 0;
    started = started && painted != 0;
    started = started && driver.RunOnGui([&app] { return app.GetState(); }) == COrbApp::State::Running;
    std::printf("%lld %lld\n", atMain, started ? painted : 0LL);
    std::fflush(stdout);
    // The end of the session is no part of a start.
    std::_Exit(started ? 0 : 1);
}
