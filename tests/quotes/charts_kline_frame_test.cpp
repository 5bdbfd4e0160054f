// The K-line window against the simulated server, driven like a finger:
// the first request, paging back, pinches, the chooser's round trip, the
// title of each period, the cursor button's minute chart, and a busy or
// failing exchange that never leaves the window stuck.
#include "tables_ranking_Fixture.h"
#include "support/WholePaintTexts.h"

#include "platform/ui/UiScrollWin.h"
#include "platform/win/UiGesture.h"
#include "quotes/charts/CKXChartView.h"
#include "quotes/charts/CKXFrame.h"
#include "quotes/charts/CKXParamWnd.h"

#include <cstdlib>
#include <cstring>

namespace {

CKXFrame* g_frame = nullptr;

class CFindableKXFrame : public CKXFrame {
public:
    CFindableKXFrame() { g_frame = this; }
    ~CFindableKXFrame() override {
        if (g_frame == this)
            g_frame = nullptr;
    }
};

class KLineFrameTest : public RankingTest {
protected:
    void StartKLine(const char* code = "600010.02") {
        Start();
        driver.RunOnGui([] {
            CWndManager::Instance().RegisterWindow("kxchart", [](const CWndCreateInfo&) {
                return std::unique_ptr<CBaseWnd>(new CFindableKXFrame());
            });
        });
        const std::string request = std::string("code=") + code;
        // As a table asks its window to open the chart: the text travels with the post.
        driver.RunOnGui([this, request] {
            char* text = static_cast<char*>(std::malloc(request.size() + 1));
            std::memcpy(text, request.c_str(), request.size() + 1);
            UiMessageLoop::Current()->PostOwned(host->GetHandle(), WND_MSG_OPEN_KXCHART, 0,
                                                reinterpret_cast<LPARAM>(text), &FreeChartRequestText);
        });
        driver.WaitForRest();
        ASSERT_NE(g_frame, nullptr);
    }
    std::vector<SimRequest> KLines() const { return Requests(31000, 2); }
    template <class F>
    auto OnFrame(F&& fn) {
        return driver.RunOnGui([&fn] { return fn(*g_frame, *g_frame->GetView()); });
    }
    // A panel of the view in screen coordinates.
    CRect Screen(const CRect& chart) {
        return driver.RunOnGui([&chart] {
            const CPoint o = g_frame->GetScreenRect().TopLeft();
            return CChartWnd::ChartToClient(chart).Offset(o.x, o.y);
        });
    }
    CRect PricePanel() { return Screen(OnFrame([](CKXFrame&, CKXChartView& v) { return v.GetPanels().price; })); }
    std::u16string Title() { return OnFrame([](CKXFrame&, CKXChartView& v) { return v.GetTitle(); }); }
    int Held() { return OnFrame([](CKXFrame&, CKXChartView& v) { return v.GetData().GetCount(); }); }
    // The chooser's choice, as "确定" posts it.
    void Choose(int period, const char* tech) {
        driver.RunOnGui([period, tech] {
            auto* choice = new CKXParamChoice{tech, period};
            UiMessageLoop::Current()->PostOwned(g_frame->GetHandle(), WND_MSG_PARAMS_CHOSEN, 0,
                                                reinterpret_cast<LPARAM>(choice), &FreeKXParamChoice);
        });
        driver.WaitForRest();
    }
};

TEST_F(KLineFrameTest, FirstRequestAsksForTheNewestDayBarsWithMacd) {
    StartKLine();
    const std::vector<SimRequest> sent = KLines();
    ASSERT_EQ(sent.size(), 1u);
    const int visible = OnFrame([](CKXFrame&, CKXChartView& v) { return v.GetVisibleCount(); });
    ASSERT_GT(visible, 0);
    for (const auto& [key, value] : {std::pair<const char*, std::string>{"code", "600010.02"}, {"date", "0"},
                                     {"time", "0"}, {"type", "513"}, {"direct", "1"},
                                     {"count", std::to_string(visible + 15)}, {"techname", "MACD"}})
        EXPECT_EQ(sent[0].Get(key), value) << key;
    EXPECT_EQ(Held(), visible + 15);
    EXPECT_EQ(Title(), u"华岳银行600010 日线 ");
    EXPECT_TRUE(OnFrame([](CKXFrame& f, CKXChartView&) { return f.IsIdle(); }));
    EXPECT_TRUE(driver.ScreenShows(u"MACD(12,26,9)"));
}

TEST_F(KLineFrameTest, DraggingRightPagesBackFromTheOldestBarUntilNothingIsLeft) {
    StartKLine();
    Choose(1025, "MACD"); // 120 month bars in all
    ASSERT_EQ(KLines().back().Get("type"), "1025");
    const int first = OnFrame([](CKXFrame&, CKXChartView& v) { return v.GetFirstVisible(); });
    const std::string firstDate = OnFrame([](CKXFrame&, CKXChartView& v) { return v.GetFirstDate(); });
    const CRect p = PricePanel();
    const CPoint mid{(p.left + p.right) / 2, (p.top + p.bottom) / 2};
    // Each step of a drag to the right scrolls three bars back.
    for (int i = 0; i < first / 3 + 2; ++i)
        ASSERT_TRUE(driver.Drag(mid, {mid.x + 30, mid.y}, 2));
    const std::vector<SimRequest> sent = KLines();
    ASSERT_GE(sent.size(), 3u);
    const SimRequest& page = sent[2];
    EXPECT_EQ(page.Get("date"), firstDate);
    EXPECT_EQ(page.Get("type"), "1025");
    EXPECT_EQ(page.Get("count"),
              std::to_string(OnFrame([](CKXFrame&, CKXChartView& v) { return v.GetVisibleCount(); })));
    // Once a page added nothing, further drags ask no more.
    for (int i = 0; i < 40; ++i)
        ASSERT_TRUE(driver.Drag(mid, {mid.x + 30, mid.y}, 2));
    EXPECT_EQ(Held(), 120);
    const size_t pages = KLines().size();
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(driver.Drag(mid, {mid.x + 30, mid.y}, 2));
    EXPECT_EQ(KLines().size(), pages);
    EXPECT_EQ(OnFrame([](CKXFrame&, CKXChartView& v) { return v.GetFirstVisible(); }), 0);
}

TEST_F(KLineFrameTest, PinchesMoveOneLevelOnTheThirdGesture) {
    struct Case {
        std::vector<int> codes;
        int level;
    };
    const Case cases[] = {{{3, 3, 3}, 0}, {{3, 4, 3}, 0}, {{4, 4}, 1}};
    for (const Case& c : cases) {
        StartKLine();
        for (int code : c.codes)
            ASSERT_TRUE(driver.Pinch(code));
        driver.WaitForRest();
        EXPECT_EQ(OnFrame([](CKXFrame& f, CKXChartView&) { return f.GetZoom(); }), c.level);
        // The view starts with level 0's bars while the level is 1.
        EXPECT_EQ(OnFrame([](CKXFrame&, CKXChartView& v) { return v.GetBarMetrics(); }), kKLineZoom[c.level == 1 ? 0 : c.level]);
        driver.Stop();
        ReleaseWindows();
        CWndManager::Instance().Reset();
        CAppData::Destroy();
        g_ranking = CRankingLog();
    }
}

TEST_F(KLineFrameTest, ThePhonesKeysMoveAndToggleTheCursor) {
    StartKLine();
    const auto cursor = [this] {
        return OnFrame([](CKXFrame&, CKXChartView& v) { return std::pair{v.GetCursorPosition(), v.IsCursorShown()}; });
    };
    const auto [start, shown] = cursor();
    ASSERT_FALSE(shown);
    ASSERT_GT(start, 1);
    ASSERT_TRUE(driver.PressKey(VK_RETURN));
    EXPECT_EQ(cursor(), std::pair(start, true));
    ASSERT_TRUE(driver.PressKey(VK_LEFT));
    ASSERT_TRUE(driver.PressKey(VK_UP));
    EXPECT_EQ(cursor(), std::pair(start - 2, true));
    ASSERT_TRUE(driver.PressKey(VK_RIGHT));
    EXPECT_EQ(cursor(), std::pair(start - 1, true));
    ASSERT_TRUE(driver.PressKey(VK_DOWN));
    EXPECT_EQ(cursor(), std::pair(start, true));
}

TEST_F(KLineFrameTest, TheLabelColumnHoldsTheWidestLabelInBothOrientations) {
    StartKLine("100100.03"); // the Hang Seng index: five-digit prices
    for (int mode : {SCREEN_MODE_1, SCREEN_MODE_0}) {
        driver.RunOnGui([mode] {
            UiMessageLoop::Current()->SetScreenMode(mode);
            g_frame->ApplyScreenSettings();
        });
        driver.WaitForRest();
        const auto [margin, widest] = OnFrame([](CKXFrame&, CKXChartView& v) {
            const std::unique_ptr<CDC> dc = CDC::CreateMemoryDC(1, 1);
            return std::pair{v.GetLabelMargin(), v.MeasureScaleLabels(*dc, u"").cx};
        });
        EXPECT_GT(widest, 0) << mode;
        EXPECT_GE(margin, widest) << mode;
    }
}

TEST_F(KLineFrameTest, ZoomingOutFetchesTheBarsTheWiderChartNeeds) {
    StartKLine();
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(driver.Pinch(4));
    driver.WaitForRest();
    const int visible = OnFrame([](CKXFrame&, CKXChartView& v) { return v.GetVisibleCount(); });
    EXPECT_EQ(OnFrame([](CKXFrame& f, CKXChartView&) { return f.GetZoom(); }), 3);
    const std::vector<SimRequest> sent = KLines();
    EXPECT_EQ(sent.back().Get("count"), std::to_string(visible + 15));
    EXPECT_EQ(Held(), visible + 15);
}

TEST_F(KLineFrameTest, TheChooserCarriesPeriodAndIndicatorAndTheTitleNamesThePeriod) {
    StartKLine();
    driver.AnswerNext(ModalKind::PopupMenu, CKXFrame::kMenuParams);
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 0));
    ASSERT_EQ(CDriverControls::ListSelection(driver, CKXParamWnd::kPeriodListId), 4); // 日
    ASSERT_EQ(CDriverControls::ListSelection(driver, CKXParamWnd::kTechListId), 0);   // MACD
    driver.RunOnGui([] {
        UiWin* list = CDriverControls::FindShownControl(CKXParamWnd::kPeriodListId);
        if (auto* page = list ? dynamic_cast<UiScrollWin*>(list->GetParent()) : nullptr)
            page->EnsureVisible(list);
    });
    driver.WaitForRest();
    ASSERT_TRUE(CDriverControls::TapListItem(driver, CKXParamWnd::kPeriodListId, 5)); // 周
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 0));                          // 确定
    std::vector<SimRequest> sent = KLines();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent.back().Get("type"), "769");
    EXPECT_EQ(sent.back().Get("techname"), "MACD");
    EXPECT_EQ(Title(), u"华岳银行600010 周线 ");
    // The same choice again reloads once; every period has its title.
    Choose(769, "macd");
    EXPECT_EQ(KLines().size(), 3u);
    const std::pair<int, std::u16string> titles[] = {{257, u""},         {259, u" 15分钟"}, {262, u" 30分钟"},
                                                     {268, u" 60分钟"}, {1025, u" 月线 "}, {513, u" 日线 "}};
    for (const auto& [period, suffix] : titles) {
        Choose(period, "KDJ");
        EXPECT_EQ(KLines().back().Get("type"), std::to_string(period));
        EXPECT_EQ(KLines().back().Get("techname"), "KDJ");
        EXPECT_EQ(Title(), u"华岳银行600010" + suffix) << period;
    }
    EXPECT_EQ(OnFrame([](CKXFrame&, CKXChartView& v) { return v.GetTechName(); }), "KDJ");
}

TEST_F(KLineFrameTest, TheCursorButtonOpensTheDaysMinuteChartForDayBarsOnly) {
    StartKLine();
    const CRect p = PricePanel();
    ASSERT_TRUE(driver.Tap(p.left + 40, (p.top + p.bottom) / 2));
    const CRect button = Screen(OnFrame([](CKXFrame&, CKXChartView& v) { return v.GetCursorButton(); }));
    ASSERT_FALSE(button.IsEmpty());
    const std::string date = std::to_string(OnFrame([](CKXFrame&, CKXChartView& v) {
        return v.GetData().GetInt(CKXData::kColDate, v.GetSelectedBar());
    }));
    ASSERT_TRUE(driver.Tap((button.left + button.right) / 2, (button.top + button.bottom) / 2));
    ASSERT_EQ(g_ranking.opened["fschart"].size(), 1u);
    EXPECT_EQ(g_ranking.opened["fschart"][0].second, "date=" + date + "&code=600010.2");
    EXPECT_EQ(g_ranking.titles["fschart"][0], u"分时图");

    Choose(769, "MACD");
    ASSERT_TRUE(driver.Tap(p.left + 40, (p.top + p.bottom) / 2));
    const CRect weekButton = Screen(OnFrame([](CKXFrame&, CKXChartView& v) { return v.GetCursorButton(); }));
    ASSERT_TRUE(driver.Tap((weekButton.left + weekButton.right) / 2, (weekButton.top + weekButton.bottom) / 2));
    EXPECT_EQ(g_ranking.opened["fschart"].size(), 1u);
}

TEST_F(KLineFrameTest, ABusyOrFailingExchangeNeverFreezesTheChart) {
    SimFault slow(SimFaultKind::SlowReply);
    slow.delayMs = 400;
    sim.InjectFaultFor(31000, 2, slow);
    StartKLine();
    // A choice while a request is out is applied by one reload after it.
    sim.InjectFaultFor(31000, 2, slow);
    driver.RunOnGui([] {
        g_frame->Refresh();
        // Handled after the request went to the worker.
        UiMessageLoop::Current()->PostOwned(g_frame->GetHandle(), WND_MSG_PARAMS_CHOSEN, 0,
                                            reinterpret_cast<LPARAM>(new CKXParamChoice{"kdj", 769}),
                                            &FreeKXParamChoice);
    });
    driver.WaitForRest();
    std::vector<SimRequest> sent = KLines();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[1].Get("type"), "513");
    EXPECT_EQ(sent[1].Get("techname"), "MACD");
    EXPECT_EQ(sent[2].Get("type"), "769");
    EXPECT_EQ(sent[2].Get("techname"), "kdj");
    EXPECT_EQ(Title(), u"华岳银行600010 周线 ");
    // A failed exchange and a refused reply leave the chart as it was, idle.
    const int held = Held();
    sim.InjectFaultFor(31000, 2, {SimFaultKind::CloseAfterRequest}, 3);
    driver.AnswerNext(ModalKind::MessageBox, 1);
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 4));
    SimFault error(SimFaultKind::ErrorSet);
    error.errorText = u"服务暂停";
    sim.InjectFaultFor(31000, 2, error);
    driver.AnswerNext(ModalKind::MessageBox, 1);
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 4));
    EXPECT_EQ(Held(), held);
    EXPECT_EQ(Title(), u"华岳银行600010 周线 ");
    EXPECT_TRUE(MessageShown(u"服务暂停"));
    const size_t before = KLines().size();
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 4));
    EXPECT_EQ(KLines().size(), before + 1);
    EXPECT_TRUE(OnFrame([](CKXFrame& f, CKXChartView&) { return f.IsIdle(); }));
    EXPECT_EQ(Held(), held);
}

TEST_F(KLineFrameTest, TheSwitchButtonClosesTheChartAndOpensTheMinuteChartOverItsParent) {
    StartKLine();
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 2));
    EXPECT_EQ(g_frame, nullptr);
    ASSERT_EQ(g_ranking.opened["fschart"].size(), 1u);
    EXPECT_EQ(g_ranking.opened["fschart"][0].second, "date=&code=600010.02");
    EXPECT_FALSE(UiGesture::IsRegistered(nullptr));
}

} // namespace

namespace {

TEST_F(KLineFrameTest, TheChooserMarksTheCurrentChoiceWhateverItsCase) {
    StartKLine();
    Choose(262, "kdj");
    driver.AnswerNext(ModalKind::PopupMenu, CKXFrame::kMenuParams);
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 0));
    EXPECT_EQ(CDriverControls::ListSelection(driver, CKXParamWnd::kPeriodListId), 2); // 30分钟
    EXPECT_EQ(CDriverControls::ListSelection(driver, CKXParamWnd::kTechListId), 1);   // KDJ
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 2));                         // 返回
    EXPECT_EQ(KLines().back().Get("type"), "262");
    const std::pair<int, int> periods[] = {{257, 0}, {1025, 6}, {0, 4}, {514, 4}};
    for (const auto& [code, index] : periods)
        EXPECT_EQ(CKXParamWnd::FindPeriodIndex(code), index) << code;
}

} // namespace

namespace {

bool Shown(CTestDriver& driver, const char* className) {
    for (const CWindowInfo& w : driver.OpenWindows())
        if (w.depth == 0 && w.visible && w.className == className)
            return true;
    return false;
}

TEST_F(KLineFrameTest, TheMinuteChartAndTheKLineSwitchToEachOtherOverTheirParent) {
    Start();
    driver.RunOnGui([] {
        RegisterQuoteWindows();
        CWndManager::Instance().RegisterWindow("kxchart", [](const CWndCreateInfo&) {
            return std::unique_ptr<CBaseWnd>(new CFindableKXFrame());
        });
    });
    driver.RunOnGui([this] {
        const char text[] = "date=&code=600010.02";
        char* copy = static_cast<char*>(std::malloc(sizeof text));
        std::memcpy(copy, text, sizeof text);
        UiMessageLoop::Current()->PostOwned(host->GetHandle(), WND_MSG_OPEN_FSCHART, 0,
                                            reinterpret_cast<LPARAM>(copy), &FreeChartRequestText);
    });
    driver.WaitForRest();
    ASSERT_TRUE(Shown(driver, "CFSFrame"));
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 2)); // the minute chart's K-line
    ASSERT_NE(g_frame, nullptr);
    EXPECT_TRUE(Shown(driver, "CKXFrame"));
    EXPECT_FALSE(Shown(driver, "CFSFrame"));
    EXPECT_EQ(KLines().back().Get("code"), "600010.02");
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 2)); // and back
    EXPECT_EQ(g_frame, nullptr);
    EXPECT_TRUE(Shown(driver, "CFSFrame"));
    EXPECT_EQ(Requests(31000, 1).back().Get("code"), "600010.02");
}

} // namespace

namespace {

TEST_F(KLineFrameTest, OrdersFromTheMenuOpenTheFormWithoutAPrice) {
    StartKLine();
    driver.RunOnGui([] {
        CDataSetWriter w;
        w.AddSet("holder");
        w.AddColumn(DataSetType::AnsiText, "fundid");
        w.AddRow();
        w.SetAnsiText(0, "10001");
        const auto body = w.Serialize();
        CDataSetList list(body.data(), static_cast<int>(body.size()));
        CAppData::Instance()->AddAccount(list.Detach(0), "10001", "L1", "pw", u"李四", u"");
    });
    driver.AnswerNext(ModalKind::PopupMenu, CKXFrame::kMenuBuy);
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 0));
    ASSERT_EQ(g_ranking.opened["buysale"].size(), 1u);
    EXPECT_EQ(g_ranking.opened["buysale"][0].second, "code=600010.02&market=2&type=1&MMLB=0");
    EXPECT_EQ(g_ranking.titles["buysale"][0], u"买入 华岳银行");
}

} // namespace

namespace {

TEST_F(KLineFrameTest, ALeftSwipeInTheStripSwitchesToTheMinuteChartAndADragElsewhereDoesNot) {
    StartKLine();
    const CRect p = PricePanel();
    ASSERT_TRUE(driver.Drag({p.right - 20, (p.top + p.bottom) / 2}, {p.left + 20, (p.top + p.bottom) / 2}));
    ASSERT_NE(g_frame, nullptr);
    EXPECT_TRUE(g_ranking.opened["fschart"].empty());
    const CRect strip = Screen(OnFrame([](CKXFrame&, CKXChartView& v) { return v.GetVolumeArea(); }));
    const int y = (strip.top + strip.bottom) / 2;
    ASSERT_TRUE(driver.Drag({strip.right - 20, y}, {strip.left + 20, y}));
    EXPECT_EQ(g_frame, nullptr);
    ASSERT_EQ(g_ranking.opened["fschart"].size(), 1u);
    EXPECT_EQ(g_ranking.opened["fschart"][0].second, "date=&code=600010.02");
}

} // namespace

namespace {

// A finger moving the cursor over the bars repaints the cursor and the
// legend values that changed, not the screen; the driver's loop paints the
// whole screen again after every partial paint and stops the test on any
// pixel that differs, so the values drawn over the kept picture must be
// what a whole legend would show.
TEST_F(KLineFrameTest, AFingerMovingTheCursorRepaintsOnlyWhatChangedAndMatchesAFullPaint) {
    StartKLine();
    const CRect p = PricePanel();
    const int y = (p.top + p.bottom) / 2;
    const auto strip = [this] {
        std::u16string all;
        for (const CDrawnText& t : driver.ScreenTexts())
            all += t.text + u"|";
        return all;
    };
    ASSERT_TRUE(driver.Drag({p.left + p.Width() * 2 / 3, y}, {p.left + p.Width() / 2, y}, 4));
    const std::u16string first = strip();
    const int firstCursor = OnFrame([](CKXFrame&, CKXChartView& v) { return v.GetCursorPosition(); });
    ASSERT_TRUE(driver.Drag({p.left + p.Width() / 2, y}, {p.left + p.Width() / 4, y}, 6));
    EXPECT_LT(OnFrame([](CKXFrame&, CKXChartView& v) { return v.GetCursorPosition(); }), firstCursor);
    // The finger lifted within the bar of its last move: that move's paint
    // was the last one, every legend value of a bar two away redrawn.
    const auto report = driver.RunOnGui([] { return UiMessageLoop::Current()->LastPaint(); });
    const auto shownBefore = driver.ScreenTexts();
    ASSERT_FALSE(report.whole);
    const long long screen = 480LL * 720;
    EXPECT_LT(report.Pixels({0, 0, 480, 720}) * 4, screen) << "a quarter of the screen at most";
    EXPECT_NE(strip(), first) << "the legends follow the cursor";
    // The text log reads as after a full paint.
    ExpectTextsAsAfterWholePaint(driver, shownBefore);
    // The driver's check paints the screen again over the picture the
    // moves left; drawn anew, the chart must show the same pixels.
    const int differing = driver.RunOnGui([] {
        UiMessageLoop* loop = UiMessageLoop::Current();
        const CSurface kept = loop->Screen();
        g_frame->GetView()->SetDirty();
        g_frame->Invalidate();
        loop->PaintNow();
        int n = 0;
        for (int y = 0; y < kept.Height(); ++y)
            for (int x = 0; x < kept.Width(); ++x)
                n += kept.GetPixel(x, y) != loop->Screen().GetPixel(x, y);
        return n;
    });
    EXPECT_EQ(differing, 0);
    // A finger held down on the cursor's bar and moving within it (not
    // rightward, which scrolls to older bars) marks nothing to paint.
    const auto marked = driver.RunOnGui([] {
        UiMessageLoop* loop = UiMessageLoop::Current();
        const CKXChartView& v = *g_frame->GetView();
        const CRect price = CChartWnd::ChartToClient(v.GetPanels().price);
        const int step = v.GetBarMetrics().width + v.GetBarMetrics().gap;
        const int x = price.left + step * v.GetCursorPosition(), y = (price.top + price.bottom) / 2;
        const HWND handle = g_frame->GetHandle();
        SendMessage(handle, WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(x, y));
        loop->PaintNow();
        std::vector<bool> marks;
        for (int dx : {0, -1, -1, -2}) {
            SendMessage(handle, WM_MOUSEMOVE, MK_LBUTTON, MakeLParam(x + dx, y));
            marks.push_back(loop->NeedsPaint());
        }
        SendMessage(handle, WM_LBUTTONUP, 0, MakeLParam(x - 2, y));
        marks.push_back(loop->NeedsPaint());
        return marks;
    });
    EXPECT_EQ(marked, std::vector<bool>(5, false));
}

} // namespace
