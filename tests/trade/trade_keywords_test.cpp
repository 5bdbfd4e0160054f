// The trade screens' keywords as the window manager runs them.
#include "framework/ui_Fixture.h"

#include "trade/TradeWindows.h"

namespace {
class TradeKeywordsTest : public UiWindowTest {};
} // namespace

TEST_F(TradeKeywordsTest, TradeExitLogsEveryAccountOutAndOpensNoWindow) {
    RegisterTradeWindows();
    StartWithMain();
    driver.RunOnGui([] {
        CAppData* app = CAppData::Instance();
        for (const char* id : {"1001", "1002"}) {
            auto holders = std::make_unique<CDataSet>("holder");
            holders->AddColumn(DataSetType::AnsiText, "fundid");
            holders->AddRow(-1);
            app->AddAccount(std::move(holders), id, "session&operway=i", "pw", u"张三", u"营业部");
        }
        app->SetTradeLoggedIn(true);
    });
    ASSERT_EQ(driver.RunOnGui([] { return CAppData::Instance()->GetAccountCount(); }), 2);
    const COpenResult r = driver.RunOnGui([] {
        return CWndManager::Instance().CreateWnd("TradeExit", 5, u"退出交易", "", "", 0, g_log.live.at("main"));
    });
    EXPECT_FALSE(r.opened);
    EXPECT_EQ(driver.RunOnGui([] { return CAppData::Instance()->GetAccountCount(); }), 0);
    EXPECT_FALSE(driver.RunOnGui([] { return CAppData::Instance()->HasHolderData(); }));
    EXPECT_FALSE(driver.RunOnGui([] { return CAppData::Instance()->IsTradeLoggedIn(); }));
    EXPECT_EQ(Depth(), 0);
}
