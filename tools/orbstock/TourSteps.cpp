// The screens of the screenshot tour, in order; each step starts at the
// main menu after the start-up against the embedded simulator.
#include "framework/app/COrbApp.h"
#include "framework/ui/CBaseWnd.h"
#include "framework/ui/WndMessages.h"
#include "platform/testing/CTestDriver.h"
#include "tools/orbstock/Tour.h"

// The main menu: the root's children from the simulator's menu tree.
ORB_TOUR_STEP(main_menu) { return tour.app.GetMainWindow() != nullptr; }

// The exit question over the main menu, as the caption's back button asks it.
ORB_TOUR_STEP(exit_confirm) {
    bool posted = tour.driver.RunOnGui([&] {
        CBaseWnd* main = tour.app.GetMainWindow();
        return main && main->PostMessage(WND_MSG_CAPTION_BACK);
    });
    return posted && tour.driver.WaitForRest();
}
