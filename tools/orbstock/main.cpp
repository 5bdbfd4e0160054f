// The desktop program: the broker client in a phone-sized window against
// the simulated broker server running in this process (or another server
// with --server), or, with --tour, the screenshot tour written headless.
#include "core/TextConvert.h"
#include "framework/shell/COrbApp.h"
#include "platform/gdi/CFontEngine.h"
#include "platform/sdl/RunDesktop.h"
#include "platform/storage/CRegRecord.h"
#include "platform/storage/CRegistry.h"
#include "platform/system/Environment.h"
#include "platform/system/ResidentMemory.h"
#include "tools/orbstock/RegisterWindows.h"
#include "tools/orbstock/Tour.h"
#include "tools/simulator/CBrokerSimulator.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace {

struct CProgramOptions {
    COrbAppOptions app;
    std::string tourDir;  // empty: run the desktop program
    std::string checkDir; // with --tour: the reference screens to compare with
    std::string mobile;   // the phone's registered mobile number to store; empty: none
    bool help = false;
};

void PrintUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: orbstock [-h] [--server HOST:PORT] [--data-dir DIR] [--mobile NUMBER]\n"
                 "                [--tour DIR [--check REFDIR]]\n"
                 "  -h, --help          print this and exit\n"
                 "  --server HOST:PORT  use that broker server instead of the built-in simulator\n"
                 "  --data-dir DIR      keep settings and data files in DIR\n"
                 "                      (default $XDG_DATA_HOME/OrbStock or ~/.local/share/OrbStock)\n"
                 "  --mobile NUMBER     register NUMBER (11 digits) as this phone's mobile number,\n"
                 "                      as the service registration would; the phone token needs it\n"
                 "  --tour DIR          write the screenshot tour as DIR/<screen>.png and exit\n"
                 "                      (headless, no display needed)\n"
                 "  --check REFDIR      compare each screen with REFDIR/<screen>.png; a mismatch\n"
                 "                      leaves <screen>_err.png and <screen>_diff.png there and\n"
                 "                      fails (re-record with: bash tools/record_screens.sh)\n"
                 "Each option is given once.\n");
}

// "HOST:PORT" with a port 1..65535; nullopt otherwise.
std::optional<std::pair<std::string, int>> ParseServer(std::string_view text) {
    size_t colon = text.rfind(':');
    if (colon == std::string_view::npos || colon == 0 || colon + 1 >= text.size())
        return std::nullopt;
    std::string_view portText = text.substr(colon + 1);
    // Digits only: strtol would also take " 80" and "+80".
    if (portText.size() > 5 || portText.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    long port = std::strtol(std::string(portText).c_str(), nullptr, 10);
    if (port < 1 || port > 65535)
        return std::nullopt;
    return std::make_pair(std::string(text.substr(0, colon)), static_cast<int>(port));
}

// An 11-digit mobile number beginning with 1; it goes into requests as is.
bool IsMobileNumber(std::string_view text) {
    return text.size() == 11 && text[0] == '1' && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// False, with a message, for an unknown or repeated option or a missing
// value. A repeat is refused rather than letting the last one win: with two
// --server or --data-dir the program could not know which one was meant.
bool ParseArguments(int argc, char** argv, CProgramOptions& out) {
    std::set<std::string_view> seen;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "-h")
            arg = "--help";
        if ((arg == "--help" || arg == "--server" || arg == "--data-dir" || arg == "--tour" || arg == "--check" ||
             arg == "--mobile") &&
            !seen.insert(arg).second) {
            std::fprintf(stderr, "orbstock: %s is given more than once\n", argv[i]);
            return false;
        }
        // The next argument; an empty one, or one that is itself an option
        // ("--tour --server x"), is a missing value, never a file name.
        auto value = [&](const char* name) -> const char* {
            if (i + 1 < argc && argv[i + 1][0] != '\0' && argv[i + 1][0] != '-')
                return argv[++i];
            std::fprintf(stderr, "orbstock: %s needs a value\n", name);
            return nullptr;
        };
        if (arg == "--help") {
            out.help = true;
        } else if (arg == "--server") {
            const char* text = value("--server");
            if (!text)
                return false;
            auto server = ParseServer(text);
            if (!server) {
                std::fprintf(stderr, "orbstock: --server wants HOST:PORT, not '%s'\n", text);
                return false;
            }
            out.app.serverHost = server->first;
            out.app.serverPort = server->second;
        } else if (arg == "--data-dir") {
            const char* text = value("--data-dir");
            if (!text)
                return false;
            out.app.dataDir = text;
        } else if (arg == "--mobile") {
            const char* text = value("--mobile");
            if (!text)
                return false;
            if (!IsMobileNumber(text)) {
                std::fprintf(stderr, "orbstock: --mobile wants an 11-digit mobile number, not '%s'\n", text);
                return false;
            }
            out.mobile = text;
        } else if (arg == "--tour") {
            const char* text = value("--tour");
            if (!text)
                return false;
            out.tourDir = text;
        } else if (arg == "--check") {
            const char* text = value("--check");
            if (!text)
                return false;
            out.checkDir = text;
        } else {
            std::fprintf(stderr, "orbstock: unknown option '%s'\n", argv[i]);
            return false;
        }
    }
    return true;
}

// The one message for a missing or dead display: why, and what to run instead.
void PrintNoDisplay(const std::string& why) {
    std::fprintf(stderr,
                 "orbstock: %s.\n"
                 "Run it on a virtual display (xvfb-run -a orbstock; bash tools/run.sh does so by itself),\n"
                 "or write the screens as PNG files without one (orbstock --tour DIR).\n",
                 why.c_str());
}

// True when a desktop session is there to show a window on. Without one
// SDL may still pick a console or off-screen driver, and the window would
// run where nobody sees it; SDL_VIDEODRIVER set by hand is taken as is.
// A DISPLAY that nobody answers gets past here: the desktop host cannot
// open it and says why, for the one message below.
bool HaveDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) {
        if (!EnvironmentValue(name).empty())
            return true;
    }
    return false;
}

int RunProgram(const CProgramOptions& options) {
    if (!HaveDisplay()) {
        PrintNoDisplay("no display is set (DISPLAY) to open the phone-sized window on");
        return 2;
    }
    // The font loads on a thread of its own while the server and the data
    // are made; the window's libraries load once the start's threads exist.
    const std::string dataDir = options.app.dataDir.empty() ? COrbApp::DefaultDataDir() : options.app.dataDir;
    CFontEngine::Instance().LoadDefaultFontInBackground(COrbApp::FontChoiceFile(dataDir));
    CBrokerSimulator simulator;
    simulator.SetLimits(EmbeddedDesktopLimits());
    COrbAppOptions appOptions = options.app;
    if (appOptions.serverHost.empty()) {
        int port = simulator.Start(0);
        if (port < 0) {
            std::fprintf(stderr, "orbstock: the built-in broker server could not listen on a loopback port\n");
            return 1;
        }
        appOptions.serverHost = "127.0.0.1";
        appOptions.serverPort = port;
    }
    COrbApp app(appOptions);
    // Refused before a window opens, so a second start shows nothing.
    switch (app.LockInstance()) {
    case CSingleInstance::Result::Acquired:
        break;
    case CSingleInstance::Result::RunningAlready:
        std::fprintf(stderr,
                     "orbstock: OrbStock runs already with the data directory %s.\n"
                     "Its window cannot be brought to the front from another process; switch to it,\n"
                     "or start another copy with --data-dir DIR.\n",
                     app.GetDataDir().c_str());
        return COrbApp::kExitRunningAlready;
    case CSingleInstance::Result::Failed:
        std::fprintf(stderr, "orbstock: cannot use the data directory %s\n", app.GetDataDir().c_str());
        return 1;
    }

    // Where the service registration keeps the number, before anything reads it.
    if (!options.mobile.empty() &&
        !CRegistry(Utf8ToWide(app.GetDataDir() + "/") + std::u16string(CRegistry::kFileName))
             .Write(CRegRecord::kKey, u"Focus", Utf8ToWide(options.mobile))) {
        std::fprintf(stderr, "orbstock: cannot store the mobile number in the data directory %s\n",
                     app.GetDataDir().c_str());
        return 1;
    }

    RegisterWindows();
    // The data and the shared worker's thread first: a thread made while
    // SDL2 loads waits for the whole load.
    app.PrepareInstance();
    PreloadDesktopHost();
    std::string refused;
    int code = RunDesktop([&] { return app.InitInstance(); }, &refused);
    app.ExitInstance();
    simulator.Stop();
    if (!refused.empty()) {
        PrintNoDisplay(refused);
        return 2;
    }
    return code;
}

} // namespace

int main(int argc, char** argv) {
    KeepHeapSmall();
    CProgramOptions options;
    if (!ParseArguments(argc, argv, options)) {
        PrintUsage(stderr);
        return 64;
    }
    if (options.help) {
        PrintUsage(stdout);
        return 0;
    }
    if (!options.checkDir.empty() && options.tourDir.empty()) {
        std::fprintf(stderr, "orbstock: --check goes with --tour\n");
        PrintUsage(stderr);
        return 64;
    }
    if (!options.mobile.empty() && !options.tourDir.empty()) {
        std::fprintf(stderr, "orbstock: --mobile goes with the program, not with --tour\n");
        PrintUsage(stderr);
        return 64;
    }
    if (!options.tourDir.empty())
        return RunTour(options.tourDir, options.checkDir);
    return RunProgram(options);
}
