// A partial repaint must leave the drawn-text log as a whole repaint
// would: the texts and their places read the same after one is forced.
#pragma once

#include "platform/testing/CTestDriver.h"
#include "platform/win/UiMessageLoop.h"

#include <gtest/gtest.h>

#include <vector>

// shownBefore: the driver's ScreenTexts() taken right after the partial
// paint. Repaints the whole screen now and compares.
inline void ExpectTextsAsAfterWholePaint(CTestDriver& driver, const std::vector<CDrawnText>& shownBefore) {
    driver.RunOnGui([] {
        UiMessageLoop::Current()->InvalidateScreen();
        UiMessageLoop::Current()->PaintNow();
    });
    const auto shownAfter = driver.ScreenTexts();
    ASSERT_EQ(shownBefore.size(), shownAfter.size());
    for (size_t i = 0; i < shownAfter.size(); ++i) {
        EXPECT_EQ(shownBefore[i].text, shownAfter[i].text);
        EXPECT_EQ(shownBefore[i].rect, shownAfter[i].rect);
    }
}
