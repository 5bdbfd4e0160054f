// The screenshot tour's runner (see the header). Each step gets a program
// of its own, so a step never depends on where the one before it stopped.
#include "tools/orbstock/Tour.h"

#include "framework/app/COrbApp.h"
#include "platform/testing/CTestDriver.h"
#include "tools/orbstock/RegisterWindows.h"
#include "tools/simulator/CBrokerSimulator.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

std::vector<CTourStep>& TourSteps() {
    static std::vector<CTourStep> steps;
    return steps;
}

namespace {

// One step over a fresh data directory and simulator; true when its
// screenshot was written.
bool RunStep(const CTourStep& step, const std::string& dir) {
    std::string pattern = (std::filesystem::temp_directory_path() / "orbstock_tour_XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::fprintf(stderr, "tour %s: no temporary data directory\n", step.name.c_str());
        return false;
    }
    bool ok = false;
    {
        CBrokerSimulator simulator;
        int port = simulator.Start(0);
        COrbAppOptions options;
        options.dataDir = pattern;
        options.serverHost = "127.0.0.1";
        options.serverPort = port;
        COrbApp app(options);
        CTestDriver driver;
        driver.SetRestTimeout(20000);
        RegisterWindows();
        if (port > 0 && driver.Start([&app] { app.InitInstance(); })) {
            if (driver.RunOnGui([&app] { return app.GetState(); }) != COrbApp::State::Running) {
                std::fprintf(stderr, "tour %s: the program did not reach its main menu\n", step.name.c_str());
            } else {
                CTourContext context{driver, app, simulator};
                if (!step.drive(context))
                    std::fprintf(stderr, "tour %s: the step failed\n", step.name.c_str());
                else if (!driver.SaveScreen(dir, step.name))
                    std::fprintf(stderr, "tour %s: the screenshot was not written\n", step.name.c_str());
                else
                    ok = true;
            }
        } else {
            std::fprintf(stderr, "tour %s: the program did not start\n", step.name.c_str());
        }
        // Ends every loop level (an open question answers "no"), then the
        // application object's exit operation.
        driver.Stop();
        app.ExitInstance();
        simulator.Stop();
    }
    std::error_code error;
    std::filesystem::remove_all(pattern, error);
    return ok;
}

} // namespace

int RunTour(const std::string& dir) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
        std::fprintf(stderr, "tour: cannot create %s\n", dir.c_str());
        return 1;
    }
    int failed = 0;
    for (const CTourStep& step : TourSteps()) {
        if (RunStep(step, dir))
            std::printf("%s/%s.png\n", dir.c_str(), step.name.c_str());
        else
            ++failed;
    }
    return failed == 0 ? 0 : 1;
}
