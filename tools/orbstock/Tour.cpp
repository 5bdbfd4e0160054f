// The screenshot tour's runner (see the header). Each step gets a program
// of its own, so a step never depends on where the one before it stopped.
#include "tools/orbstock/Tour.h"

#include "framework/shell/COrbApp.h"
#include "platform/storage/FileOps.h"
#include "platform/storage/TempDirectory.h"
#include "platform/testing/CTestDriver.h"
#include "tools/orbstock/RegisterWindows.h"
#include "tools/orbstock/ScreenCompare.h"
#include "tools/simulator/CBrokerSimulator.h"

#include <algorithm>
#include <cstdio>
#include <set>

std::vector<CTourStep>& RegisteredTourSteps() {
    static std::vector<CTourStep> steps;
    return steps;
}

std::vector<CTourStep> OrderTourSteps(std::vector<CTourStep> steps, std::vector<std::string>* problems) {
    std::stable_sort(steps.begin(), steps.end(),
                     [](const CTourStep& a, const CTourStep& b) { return a.rank < b.rank; });
    std::set<std::string> names;
    for (size_t i = 0; i < steps.size(); ++i) {
        if (i > 0 && steps[i].rank == steps[i - 1].rank)
            problems->push_back("the steps " + steps[i - 1].name + " and " + steps[i].name + " share the rank " +
                                std::to_string(steps[i].rank));
        if (!names.insert(steps[i].name).second)
            problems->push_back("two steps are named " + steps[i].name);
    }
    return steps;
}

namespace {

// How long a driver step of a start-up step waits for a rest that the
// unanswered logon never lets come.
constexpr int kStartUpRestMs = 100;

// One step over a fresh data directory and simulator; true when its
// screenshot was written.
bool RunStep(const CTourStep& step, const std::string& dir) {
    const std::string dataDir = MakeTempDirectory("orbstock_tour");
    if (dataDir.empty()) {
        std::fprintf(stderr, "tour %s: no temporary data directory\n", step.name.c_str());
        return false;
    }
    bool ok = false;
    {
        CBrokerSimulator simulator;
        int port = simulator.Start(0);
        COrbAppOptions options;
        options.dataDir = dataDir;
        options.serverHost = "127.0.0.1";
        options.serverPort = port;
        COrbApp app(options);
        CTestDriver driver;
        driver.SetRestTimeout(20000);
        if (step.atStartUp) {
            SimFault silent(SimFaultKind::SlowReply);
            silent.delayMs = 600000; // the simulator's Stop ends it
            simulator.InjectFaultFor(kFuncLogon.main, kFuncLogon.sub, silent);
            driver.SetFailureHandler([](const std::string&) {});
            driver.SetRestTimeout(kStartUpRestMs);
        }
        RegisterWindows();
        bool started = port > 0 && driver.Start([&app] { app.InitInstance(); });
        // A start that cannot rest has begun once the logon reached the server.
        if (step.atStartUp)
            started = port > 0 && driver.IsRunning() && simulator.WaitForRequests(1, 5000);
        const COrbApp::State expected = step.atStartUp ? COrbApp::State::StartingUp : COrbApp::State::Running;
        if (started) {
            if (driver.RunOnGui([&app] { return app.GetState(); }) != expected) {
                std::fprintf(stderr, "tour %s: the program did not reach %s\n", step.name.c_str(),
                             step.atStartUp ? "its start-up screen" : "its main menu");
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
    RemoveDirectoryTree(dataDir);
    return ok;
}

} // namespace

int RunTour(const std::string& dir, const std::string& referenceDir) {
    if (MakeDirectories(dir) != 0) {
        std::fprintf(stderr, "tour: cannot create %s\n", dir.c_str());
        return 1;
    }
    std::vector<std::string> problems;
    const std::vector<CTourStep> steps = OrderTourSteps(RegisteredTourSteps(), &problems);
    for (const std::string& problem : problems)
        std::fprintf(stderr, "tour: %s\n", problem.c_str());
    if (!problems.empty())
        return 1;
    int failed = 0;
    for (const CTourStep& step : steps) {
        if (!RunStep(step, dir)) {
            ++failed;
            continue;
        }
        const std::string shot = dir + "/" + step.name + ".png";
        std::printf("%s\n", shot.c_str());
        if (referenceDir.empty())
            continue;
        CScreenDiff diff;
        switch (CheckScreen(shot, referenceDir, step.name, kTourTolerance, &diff)) {
        case ScreenCheck::Matches:
            break;
        case ScreenCheck::NoReference:
            std::fprintf(stderr, "tour %s: no reference %s/%s.png (the screen is left as %s_err.png)\n",
                         step.name.c_str(), referenceDir.c_str(), step.name.c_str(), step.name.c_str());
            ++failed;
            break;
        case ScreenCheck::Differs:
            if (diff.sameSize)
                std::fprintf(stderr, "tour %s: %ld of %ld pixels differ from the reference; see %s/%s_diff.png\n",
                             step.name.c_str(), diff.differing, diff.total, referenceDir.c_str(), step.name.c_str());
            else
                std::fprintf(stderr, "tour %s: the screen's size differs from the reference's\n", step.name.c_str());
            ++failed;
            break;
        case ScreenCheck::Unreadable:
            std::fprintf(stderr, "tour %s: the screenshot cannot be read back\n", step.name.c_str());
            ++failed;
            break;
        }
    }
    return failed == 0 ? 0 : 1;
}
