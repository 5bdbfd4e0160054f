// The base of the control and widget tests: a form over the work area that
// records what its controls report (platform/ui_TestForm.h), the driver
// that taps and types on it, and helpers to place a control on the form
// and read the reports back. The driver stops before the controls and the
// form are deleted, so that a modal run a failed test left open unwinds
// first.
#pragma once

#include "platform/testing/CGTestDriver.h"
#include "platform/ui_TestForm.h"
#include "platform/win/UiMessageLoop.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class FormTest : public ::testing::Test {
protected:
    // background: the form's colour; none leaves the window's own.
    explicit FormTest(std::optional<COLORREF> background = std::nullopt) : m_background(background) {}

    CGTestDriver driver;
    std::unique_ptr<CTestForm> form;
    std::vector<std::unique_ptr<UiWin>> controls;
    CPoint formOrigin; // the form's top-left on the screen

    void SetUp() override {
        ASSERT_TRUE(driver.Start([this] {
            form = std::make_unique<CTestForm>();
            form->CreateForm(nullptr, UiMessageLoop::Current()->GetWorkRect(), true);
            if (m_background)
                form->SetBackground(*m_background);
            formOrigin = form->GetRect().TopLeft();
        }));
    }
    void TearDown() override {
        driver.Stop();
        controls.clear();
        form.reset();
    }
    // Creates a control of type T on the form (GUI thread); before runs
    // ahead of creation. nullptr when creation fails.
    template <class T>
    T* Add(const CRect& rect, int id, std::function<void(T&)> before = nullptr) {
        return driver.RunOnGui([&]() -> T* {
            auto control = std::make_unique<T>();
            if (before)
                before(*control);
            if (!control->Create(form.get(), rect, id))
                return nullptr;
            T* raw = control.get();
            controls.push_back(std::move(control));
            return raw;
        });
    }
    // Taps a point given in the form's client coordinates.
    bool TapForm(int x, int y) { return driver.Tap(formOrigin.x + x, formOrigin.y + y); }
    bool DragForm(CPoint from, CPoint to) {
        return driver.Drag({formOrigin.x + from.x, formOrigin.y + from.y}, {formOrigin.x + to.x, formOrigin.y + to.y});
    }
    std::vector<CReport> CommandsFrom(int id) {
        return driver.RunOnGui([this, id] { return form->CommandsFrom(id); });
    }
    std::vector<CReport> Reports() {
        return driver.RunOnGui([this] { return form->reports; });
    }
    void ClearReports() {
        driver.RunOnGui([this] { form->reports.clear(); });
    }

private:
    std::optional<COLORREF> m_background;
};
