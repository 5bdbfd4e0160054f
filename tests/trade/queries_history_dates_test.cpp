// The history query's date row reads on its buttons' light face.
#include "queries_Fixture.h"

#include "platform/gdi/Color.h"
#include "platform/ui/UiButton.h"
#include "platform/ui/UiTheme.h"
#include "trade/queries/CTradeHisQueryTableWnd.h"

TEST_F(TradeQueryTest, TheDateButtonsTextReadsOnTheButtonFace) {
    Start();
    Open<CTradeHisQueryTableWnd>(74, "tc_mfuncno=500&tc_sfuncno=20");
    driver.RunOnGui([] {
        for (int id : {CTradeHisQueryTableWnd::kStartButtonId, CTradeHisQueryTableWnd::kEndButtonId}) {
            auto* button = dynamic_cast<UiButton*>(CDriverControls::FindShownControl(id));
            ASSERT_NE(button, nullptr) << id;
            EXPECT_EQ(button->GetStyle(), UI_BTN_PUSH) << id;
            EXPECT_GE(ContrastRatio(button->GetTextColor(), UiTheme::kFace), 4.5) << id;
        }
    });
}
