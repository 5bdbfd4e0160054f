// The base of the fixtures that run program windows on the test driver's
// GUI thread over a fresh data directory. It clears the window manager
// before the test; after it, it stops the GUI thread, lets the fixture drop
// its windows (ReleaseWindows), clears the window manager again, destroys
// the application state and gives the clock back to the system, in that
// order, so that no window outlives the state it reads. The directory goes
// when the fixture does.
#pragma once

#include "framework/app/CAppData.h"
#include "framework/shell/CWndManager.h"
#include "platform/Clock.h"
#include "platform/testing/CGTestDriver.h"
#include "support/CTempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

class AppWindowTest : public ::testing::Test {
protected:
    // dirPrefix names the temporary directory, to tell leftovers apart.
    explicit AppWindowTest(std::string_view dirPrefix) : temp(dirPrefix), dir(temp.Path()) {}

    CGTestDriver driver;
    CTempDir temp;
    const std::filesystem::path dir; // the data directory

    void SetUp() override { CWndManager::Instance().Reset(); }
    void TearDown() override {
        driver.Stop();
        ReleaseWindows();
        CWndManager::Instance().Reset();
        CAppData::Destroy();
        CClock::Instance().UseSystem();
    }
    // Deletes the fixture's own window objects; the GUI thread has stopped.
    virtual void ReleaseWindows() {}

    // The texts drawn on the screen whose rectangle's centre lies in r.
    std::vector<CDrawnText> TextsIn(const CRect& r) {
        std::vector<CDrawnText> out;
        for (const CDrawnText& t : driver.ScreenTexts()) {
            const CPoint c{(t.rect.left + t.rect.right) / 2, (t.rect.top + t.rect.bottom) / 2};
            if (r.Contains(c))
                out.push_back(t);
        }
        return out;
    }
    // The colour text was drawn in among texts; nullopt when it is not there.
    static std::optional<COLORREF> ColorOf(const std::vector<CDrawnText>& texts, std::u16string_view text) {
        for (const CDrawnText& t : texts)
            if (t.text == text)
                return t.color;
        return std::nullopt;
    }
};
