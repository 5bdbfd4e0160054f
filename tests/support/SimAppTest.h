// The base of the fixtures whose windows talk to the simulated broker
// server: AppWindowTest plus a simulator on a free loopback port, started
// before the test and stopped after the application state is gone, the
// application state made over the data directory and pointed at it, and
// the simulator's request log and the driver's shown modals read back.
#pragma once

#include "platform/ui/CModalScript.h"
#include "support/AppWindowTest.h"
#include "tools/simulator/CBrokerSimulator.h"

#include <string>
#include <vector>

class SimAppTest : public AppWindowTest {
protected:
    using AppWindowTest::AppWindowTest;

    CBrokerSimulator sim;

    void SetUp() override {
        AppWindowTest::SetUp();
        ASSERT_GT(sim.Start(), 0);
        // Every request is a real exchange over loopback.
        driver.SetRestTimeout(10000);
    }
    void TearDown() override {
        AppWindowTest::TearDown();
        sim.Stop();
    }

    // Makes the application state over the data directory with the
    // simulator's port as the server port (GUI thread); nullptr, with a
    // failure added to the test, when either step fails.
    CAppData* CreateAppData() {
        CAppData* app = CAppData::Create(dir.string());
        if (app == nullptr) {
            ADD_FAILURE() << "no application state over " << dir;
            return nullptr;
        }
        if (!app->SetSetting("Server_Port", std::to_string(sim.GetPort()), false)) {
            ADD_FAILURE() << "the server port was not taken";
            return nullptr;
        }
        return app;
    }

    // The requests of one function (main, sub) the simulator has seen, in order.
    std::vector<SimRequest> Requests(int main, int sub) const {
        std::vector<SimRequest> out;
        for (const SimRequest& r : sim.GetRequestLog())
            if (r.main == main && r.sub == sub)
                out.push_back(r);
        return out;
    }
    // The texts of the modals of one kind shown so far, in order.
    std::vector<std::u16string> ShownTexts(ModalKind kind = ModalKind::MessageBox) const {
        std::vector<std::u16string> out;
        for (const CShownModal& m : driver.Shown())
            if (m.kind == kind)
                out.push_back(m.text);
        return out;
    }
};
