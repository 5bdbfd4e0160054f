// The chart window base: which touches reach the canvas, the stock it
// shows, its picture and the refusals of its jumps.
#include "framework/app/CAppData.h"
#include "platform/ui/CModalScript.h"
#include "quotes/charts/CChartWnd.h"
#include "support/AppWindowTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct CTouch {
    UINT message;
    int x;
    int y;
    friend bool operator==(const CTouch&, const CTouch&) = default;
};

class CRecordingCanvas : public CChartCanvas {
public:
    std::vector<CTouch>* touches = nullptr;
    int* renders = nullptr;
    int* ranges = nullptr;
    void CalcRanges() override { ++*ranges; }
    void DrawTimeAxis(CDC&) override { ++*renders; }
    void DrawScale(CDC&) override {}
    void DrawLines(CDC&) override {}
    void OnTouch(CChartWnd*, UINT message, int x, int y) override { touches->push_back({message, x, y}); }
};

class CTestChartWnd : public CChartWnd {
public:
    ~CTestChartWnd() override { Destroy(); }
    int leftSwipes = 0;
    void OnLeftSwipe() override { ++leftSwipes; }
    void SetStock(int market, int type) {
        m_market = static_cast<int16_t>(market);
        m_type = static_cast<int16_t>(type);
    }
};

class ChartWindowTest : public AppWindowTest {
protected:
    ChartWindowTest() : AppWindowTest("orb_chartwnd") {}
    void ReleaseWindows() override { wnd.reset(); }

    void Start() {
        ASSERT_TRUE(driver.Start([this] {
            CAppData::Create(dir.string());
            wnd = std::make_unique<CTestChartWnd>();
            ASSERT_TRUE(wnd->CreateOver(nullptr));
            auto canvas = std::make_unique<CRecordingCanvas>();
            canvas->touches = &touches;
            canvas->renders = &renders;
            canvas->ranges = &ranges;
            wnd->SetCanvas(std::move(canvas), "9999.99");
            wnd->ShowWindow(true);
        }));
    }

    std::unique_ptr<CTestChartWnd> wnd;
    std::vector<CTouch> touches;
    int renders = 0;
    int ranges = 0;
};

TEST(ChartWindowRules, StockKeysMatchByCodeIgnoringCaseAndByMarketNumber) {
    const std::tuple<const char*, const char*, int> cases[] = {
        {"600000.1", "600000.01", 1}, {"abc.02", "ABC.2", 1},   {"600000.01", "600000.02", 0},
        {"600000", "600000", 0},      {"600000.01", "600000", 0}, {"", "600000.01", 0},
        {nullptr, "600000.01", 0},    {"600001.01", "600000.01", 0},
    };
    for (const auto& [a, b, same] : cases)
        EXPECT_EQ(CChartWnd::SameStockCode(a, b), same) << (a ? a : "null") << " " << b;
}

TEST(ChartWindowRules, OrderAndCompanyTextsCarryOnlyPlainValues) {
    EXPECT_EQ(CChartWnd::BuySellRequest("600000.01", "", 1, 1, true, false), "code=600000.01&market=1&type=1&MMLB=0");
    EXPECT_EQ(CChartWnd::BuySellRequest("600000.01", "10.25", 1, 1, false, true),
              "code=600000.01&price=10.25&market=1&type=1&MMLB=1");
    for (const char* price : {"", "-", "1&x=2", "10 5", "1.2.3"})
        EXPECT_EQ(CChartWnd::BuySellRequest("600000.01", price, 1, 1, true, true), "") << price;
    for (const char* code : {"", "60%00.01", "6000 .01", "a=b"})
        EXPECT_EQ(CChartWnd::BuySellRequest(code, "10.25", 1, 1, true, true), "") << code;
    EXPECT_EQ(CChartWnd::F10CodeParam("600000.01"), "600000");
    EXPECT_EQ(CChartWnd::F10CodeParam("12345678901234567890123.01"), "1234567890123456789");
    EXPECT_EQ(CChartWnd::F10CodeParam("6&0.01"), "");
}

TEST_F(ChartWindowTest, OnlyTouchesInTheChartBandReachTheCanvasInChartCoordinatesAndEveryReleaseEndsTheDrag) {
    Start();
    driver.RunOnGui([&] {
        const int bottom = wnd->GetClientRect().bottom;
        wnd->OnLButtonDown(0, {100, 42}); // on the caption bar's edge: not the chart
        EXPECT_FALSE(wnd->IsDragging());
        wnd->OnMouseMove(0, {100, 50});
        EXPECT_TRUE(touches.empty());
        wnd->OnLButtonDown(0, {100, 43});
        EXPECT_TRUE(wnd->IsDragging());
        EXPECT_EQ(UiWin::GetCapture(), wnd.get());
        wnd->OnMouseMove(0, {120, 60});
        // A release on the bottom bar ends the drag but is no chart touch.
        wnd->OnLButtonUp(0, {120, bottom - 65});
        EXPECT_FALSE(wnd->IsDragging());
        EXPECT_EQ(UiWin::GetCapture(), nullptr);
        wnd->OnMouseMove(0, {130, 70});
        wnd->OnLButtonDown(0, {10, 100});
        wnd->OnLButtonUp(0, {11, 101});
        EXPECT_EQ(touches, (std::vector<CTouch>{{513, 100, 1}, {512, 120, 18}, {513, 10, 58}, {514, 11, 59}}));
        // A drag along the chart is no swipe.
        wnd->OnLButtonDown(0, {400, 300});
        wnd->OnLButtonUp(0, {100, 300});
        EXPECT_EQ(wnd->leftSwipes, 0);
        touches.clear();
        // A new layout ends a drag in progress.
        wnd->OnLButtonDown(0, {10, 100});
        wnd->LayoutChart(1);
        EXPECT_FALSE(wnd->IsDragging());
        EXPECT_EQ(UiWin::GetCapture(), nullptr);
    });
}

TEST_F(ChartWindowTest, TheCanvasIsLaidOutOverThePictureAndPaintedIntoIt) {
    Start();
    ASSERT_TRUE(driver.WaitForRest());
    driver.RunOnGui([&] {
        const CRect picture = wnd->GetPictureRect();
        EXPECT_EQ(picture, CChartWnd::ChartPictureRect(wnd->GetClientRect(), CBaseWnd::kBottomBarHeight));
        const CChartCanvas* canvas = wnd->GetCanvas();
        ASSERT_NE(canvas, nullptr);
        EXPECT_EQ(canvas->GetWholeArea(), (CRect{0, 0, picture.Width(), picture.Height()}));
        EXPECT_GT(canvas->GetLabelMargin(), 0);
        EXPECT_EQ(ranges, 1);
        EXPECT_GE(renders, 1);
        EXPECT_EQ(canvas->GetPaintedSurface(), wnd->GetPicture().GetDC()->GetSurface());
    });
}

TEST_F(ChartWindowTest, AnotherStockMarksTheWindowChangedAndAKeyThatCouldAlterARequestIsIgnored) {
    Start();
    driver.RunOnGui([&] {
        wnd->SetMenuParams(-1, "", "date=&code=600000.01");
        EXPECT_TRUE(wnd->IsStockChanged());
        wnd->SetStockChanged(false);
        wnd->SetMenuParams(-1, "", "date=&code=600000.1");
        EXPECT_FALSE(wnd->IsStockChanged());
        wnd->SetMenuParams(-1, "", "date=&code=60%250.01");
        EXPECT_FALSE(wnd->IsStockChanged());
        EXPECT_STREQ(wnd->GetCodeText(), "600000.1");
        wnd->SetPriceText("12345678901234567890");
        EXPECT_STREQ(wnd->GetPriceText(), "123456789012345");
    });
}

TEST_F(ChartWindowTest, JumpsAreRefusedWithAMessageForIndicesHongKongAndWithoutATradeLogin) {
    Start();
    struct Case {
        int market;
        int type;
        bool order;
        const char16_t* message;
    };
    const Case cases[] = {
        {1, 2, true, u"大盘你也要买卖？^_^"},  {3, 2, true, u"大盘你也要买卖？^_^"},
        {3, 1, true, u"暂不能买卖港股！"},      {1, 1, true, u"请先登录交易系统！"},
        {3, 2, false, u"暂不支持港股个股资讯！"}, {1, 2, false, u"大盘无相关资讯！"},
    };
    for (const Case& c : cases) {
        driver.AnswerNext(ModalKind::MessageBox, 1);
        driver.AnswerNext(ModalKind::MessageBox, 1); // what the trade entry asks in turn
        const size_t before = driver.Shown().size();
        driver.RunOnGui([&] {
            wnd->SetStock(c.market, c.type);
            if (c.order)
                wnd->OpenBuySell(true, false);
            else
                wnd->OpenF10();
        });
        const std::vector<CShownModal> shown = driver.Shown();
        ASSERT_GT(shown.size(), before);
        EXPECT_EQ(shown[before].text, c.message) << c.market << " " << c.type;
    }
}

} // namespace
