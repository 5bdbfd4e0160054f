// What the start-up tests share: a simulated broker server on a free
// loopback port, a fresh data directory, the test driver and the
// application object started inside it, and the exit operation afterwards.
#pragma once

#include "core/CDataSetList.h"
#include "framework/app/CAppData.h"
#include "framework/app/CMenuTree.h"
#include "framework/shell/COrbApp.h"
#include "framework/ui/CBaseWnd.h"
#include "platform/testing/CGTestDriver.h"
#include "platform/ui/CModalScript.h"
#include "platform/win/UiMessageLoop.h"
#include "support/CTempDir.h"
#include "tools/simulator/CBrokerSimulator.h"
#include "tools/simulator/CSimMenuTree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_port = m_sim.Start(0);
        ASSERT_GT(m_port, 0);
        // The logon and the fetch are real exchanges over loopback.
        m_driver.SetRestTimeout(15000);
    }
    void TearDown() override {
        m_driver.Stop();
        if (m_app)
            m_app->ExitInstance();
        m_app.reset();
        m_sim.Stop();
        CModalScript::Instance().Clear();
    }

    COrbAppOptions Options(int port) const {
        COrbAppOptions options;
        options.dataDir = m_dir.string();
        options.serverHost = "127.0.0.1";
        options.serverPort = port;
        options.resourceDir = ORB_SOURCE_DIR "/resources";
        return options;
    }
    // Starts the program with options, a first message box answered OK
    // when answerOk (queued on the GUI thread: the driver's start clears
    // the script), and the top-level windows counted when it quits its
    // loop. True when the driver came to rest (at the main menu, or after
    // the program ended).
    bool Start(const COrbAppOptions& options, bool answerOk) {
        m_app = std::make_unique<COrbApp>(options);
        m_windowsAtQuit = -1;
        return m_driver.Start([this, answerOk] {
            if (answerOk)
                CModalScript::Instance().Push(ModalKind::MessageBox, IDOK);
            UiMessageLoop* loop = UiMessageLoop::Current();
            loop->SetAfterDispatchHook([this, loop] {
                if (loop->IsQuitting() && m_windowsAtQuit < 0)
                    m_windowsAtQuit = static_cast<int>(loop->TopLevelWindows().size());
            });
            m_app->InitInstance();
        });
    }
    bool StartProgram() { return Start(Options(m_port), false); }

    COrbApp::State State() {
        if (m_driver.IsRunning() && !m_driver.HasProgramEnded())
            return m_driver.RunOnGui([this] { return m_app->GetState(); });
        return m_app->GetState();
    }
    // Taps the main window's caption back button as a finger would.
    bool TapBackButton() {
        CPoint point = m_driver.RunOnGui([this] {
            CBaseWnd* main = m_app->GetMainWindow();
            if (!main)
                return CPoint{-1, -1};
            CRect screen = main->GetCaptionBar().GetScreenRect();
            CRect back = main->GetCaptionBar().GetBackRect();
            return CPoint{screen.left + (back.left + back.right) / 2, screen.top + (back.top + back.bottom) / 2};
        });
        return point.x >= 0 && m_driver.Tap(point.x, point.y);
    }

    // The message boxes among the modal runs shown.
    std::vector<CShownModal> MessageBoxes() const {
        std::vector<CShownModal> boxes;
        for (const CShownModal& modal : m_driver.Shown())
            if (modal.kind == ModalKind::MessageBox)
                boxes.push_back(modal);
        return boxes;
    }
    // The root children's titles of a menus body, and of the simulator's own.
    static std::vector<std::u16string> RootTitles(const std::vector<uint8_t>& body) {
        std::unique_ptr<CMenuTree> tree = CMenuTree::FromBody(body.data(), body.size());
        std::vector<std::u16string> titles;
        for (CMenuNode* child = tree ? tree->GetRoot()->firstChild : nullptr; child; child = child->nextSibling)
            titles.push_back(child->title.str());
        return titles;
    }
    static std::vector<std::u16string> SimulatorRootTitles() {
        CDataSetWriter writer;
        CSimMenuTree::WriteMenus(writer);
        return RootTitles(writer.Serialize());
    }

    std::vector<uint8_t> ReadFile(const std::string& name) const { return m_temp.ReadBytes(name); }
    bool FileExists(const std::string& name) const { return std::filesystem::exists(m_dir / name); }

    CTempDir m_temp{"orb_startup"};
    const std::filesystem::path m_dir = m_temp.Path();
    CBrokerSimulator m_sim;
    int m_port = 0;
    CGTestDriver m_driver;
    std::unique_ptr<COrbApp> m_app;
    int m_windowsAtQuit = -1; // top-level windows when the program quit its loop
};
