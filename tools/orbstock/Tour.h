// The screenshot tour: named steps, each of which drives a freshly started
// program (against its own embedded simulator, over a fresh data directory,
// headless) to one screen; the tour then writes <dir>/<name>.png.
//
// A new screen is one function in its group's TourSteps<Group>.cpp (a new
// group, a file of its own), with a rank that places it in the tour:
//
//     ORB_TOUR_STEP(quote_table, 225) {
//         return tour.driver.Tap(240, 200);   // drive there; false: failed
//     }
//
// A screen of the start-up is one ORB_TOUR_STARTUP_STEP: it begins while
// the start-up still runs, the simulator keeping the logon unanswered.
//
// Steps run in the order of their ranks, which no two steps share; the
// ranks run in tens so a screen fits between two others. What several
// groups drive through (the main menu, the trade login, a minute chart)
// is in TourHelpers.h.
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
    int rank = 0;     // its place in the tour, lowest first
    std::function<bool(CTourContext& tour)> drive;
    bool atStartUp = false;
};

// The steps as registered: the files' static initialisers add them in no
// set order between files.
std::vector<CTourStep>& RegisteredTourSteps();

// The steps in the order of their ranks. A rank or a name that two steps
// share makes a line in *problems each (their order then is no one's
// choice, or one screenshot would overwrite the other).
std::vector<CTourStep> OrderTourSteps(std::vector<CTourStep> steps, std::vector<std::string>* problems);

struct CTourStepRegistrar {
    CTourStepRegistrar(const char* name, int rank, bool (*drive)(CTourContext&), bool atStartUp = false) {
        RegisteredTourSteps().push_back({name, rank, drive, atStartUp});
    }
};

#define ORB_TOUR_STEP(name, rank)                                                    \
    static bool TourStep_##name(CTourContext& tour);                                 \
    static const CTourStepRegistrar g_tourStep_##name(#name, rank, TourStep_##name); \
    static bool TourStep_##name([[maybe_unused]] CTourContext& tour)

#define ORB_TOUR_STARTUP_STEP(name, rank)                                                  \
    static bool TourStep_##name(CTourContext& tour);                                       \
    static const CTourStepRegistrar g_tourStep_##name(#name, rank, TourStep_##name, true); \
    static bool TourStep_##name([[maybe_unused]] CTourContext& tour)

// Runs every step in order and writes its screenshot into dir (created
// when missing); a line on stderr for each step that fails. A tour whose
// ranks or names clash runs no step. With referenceDir, each screenshot
// is also compared with referenceDir/<name>.png within kTourTolerance
// (ScreenCompare.h); a mismatch or a missing reference fails the step and
// leaves <name>_err.png (and <name>_diff.png) there.
// Returns 0 when every step passed, 1 otherwise.
int RunTour(const std::string& dir, const std::string& referenceDir = {});
