// The screenshot tour: named steps, each of which drives a freshly started
// program (against its own embedded simulator, over a fresh data directory,
// headless) to one screen; the tour then writes <dir>/<name>.png.
//
// A new screen is one function in TourSteps.cpp:
//
//     ORB_TOUR_STEP(quote_table) {
//         return tour.driver.Tap(240, 200);   // drive there; false: failed
//     }
//
// A screen of the start-up is one ORB_TOUR_STARTUP_STEP: it begins while
// the start-up still runs, the simulator keeping the logon unanswered.
//
// Steps run in the order they are written.
#pragma once

#include <functional>
#include <string>
#include <vector>

class CBrokerSimulator;
class COrbApp;
class CTestDriver;

// What a step drives: the program at its main menu after start-up, or, for
// a start-up step, the program still starting with the logon unanswered
// (it never comes to rest then: driver steps wait a short while and their
// failure is not reported).
struct CTourContext {
    CTestDriver& driver;
    COrbApp& app;
    CBrokerSimulator& simulator;
};

struct CTourStep {
    std::string name; // file name of the screenshot, without ".png"
    std::function<bool(CTourContext& tour)> drive;
    bool atStartUp = false;
};

// The registered steps in order.
std::vector<CTourStep>& TourSteps();

struct CTourStepRegistrar {
    CTourStepRegistrar(const char* name, bool (*drive)(CTourContext&), bool atStartUp = false) {
        TourSteps().push_back({name, drive, atStartUp});
    }
};

#define ORB_TOUR_STEP(name)                                                   \
    static bool TourStep_##name(CTourContext& tour);                          \
    static const CTourStepRegistrar g_tourStep_##name(#name, TourStep_##name); \
    static bool TourStep_##name([[maybe_unused]] CTourContext& tour)

#define ORB_TOUR_STARTUP_STEP(name)                                                 \
    static bool TourStep_##name(CTourContext& tour);                                \
    static const CTourStepRegistrar g_tourStep_##name(#name, TourStep_##name, true); \
    static bool TourStep_##name([[maybe_unused]] CTourContext& tour)

// Runs every step and writes its screenshot into dir (created when
// missing); a line on stderr for each step that fails. With referenceDir,
// each screenshot is also compared with referenceDir/<name>.png within
// kTourTolerance (ScreenCompare.h); a mismatch or a missing reference
// fails the step and leaves <name>_err.png (and <name>_diff.png) there.
// Returns 0 when every step passed, 1 otherwise.
int RunTour(const std::string& dir, const std::string& referenceDir = {});
