// The minute view and frame rules without a window: the request texts, the
// information page's request and text, the cursor a reply leaves, and
// drawing data that has nothing to scale.
#include "charts_simMinute_Fixture.h"
#include "core/CDataSetList.h"
#include "core/CDataSetWriter.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CSurface.h"
#include "quotes/charts/CChartState.h"
#include "quotes/charts/CFSChartView.h"
#include "quotes/charts/CFSData.h"
#include "quotes/charts/CFSFrame.h"
#include "quotes/info/CInfoMineTxtWnd.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using sim_minute::DataOf;

TEST(FSRequests, OnlyPlainValuesReachTheMinuteAndMarkRequests) {
    EXPECT_EQ(CFSFrame::MinuteRequest("600010.02", true, "1012", "", "1234"),
              "tc_mfuncno=31000&tc_sfuncno=1&code=600010.02&addup=1&time=1012&date=&maxvol=1234&freq=2&close_xxld=0");
    EXPECT_EQ(InfoMineRequest("600010.02", "81002,81003", "20261207"),
              "tc_mfuncno=504&tc_sfuncno=11&lmdm=xxld&stkcode=600010.02&id=81002,81003&date=20261207");
    const struct {
        const char *code, *time, *date, *maxvol;
    } refused[] = {
        {"600010.02&addup=1", "0", "", "999999999"}, {"6000 10", "0", "", "1"},  {"60%30.02", "0", "", "1"},
        {"600010.02", "10:12", "", "1"},              {"600010.02", "0", "2026-12-02", "1"},
        {"600010.02", "0", "", "-1"},                 {"", "0", "", "1"},
    };
    for (const auto& r : refused)
        EXPECT_EQ(CFSFrame::MinuteRequest(r.code, false, r.time, r.date, r.maxvol), "") << r.code << r.time << r.date;
    for (const char* id : {"1&x=2", "1=2", "5%", "81 02", ""})
        EXPECT_EQ(InfoMineRequest("600010.02", id, "20261207"), "") << id;
    // Joined ids of any length travel whole.
    const std::string many = "81001,81002,81003,81004,81005,81006,81007";
    EXPECT_NE(InfoMineRequest("600010.02", many, "20261207").find("id=" + many + "&"), std::string::npos);
}

TEST(FSInfoPage, TheReplysLinesEndInCrLfAndAnEmptyOrMissingSetSaysThereIsNothing) {
    CDataSetWriter w;
    w.AddSet("xxld");
    w.AddColumn(DataSetType::WideText, "text");
    for (const char16_t* line : {u"a", u"b", u"c"}) {
        w.AddRow();
        w.SetText(0, line);
    }
    const auto body = w.Serialize();
    CDataSetList three(body.data(), static_cast<int>(body.size()));
    EXPECT_EQ(InfoMineText(three), u"a\r\nb\r\nc\r\n");
    CDataSetWriter empty;
    empty.AddSet("xxld");
    empty.AddColumn(DataSetType::WideText, "text");
    const auto emptyBody = empty.Serialize();
    CDataSetList none(emptyBody.data(), static_cast<int>(emptyBody.size()));
    EXPECT_EQ(InfoMineText(none), CInfoMineTxtWnd::kNoInfoText);
    CDataSetList unreadable(nullptr, 0);
    EXPECT_EQ(InfoMineText(unreadable), CInfoMineTxtWnd::kNoInfoText);
}

TEST(FSViewCursor, AKeptPositionPastThePointsGoesToTheLastAndNoneKeptHidesTheCursor) {
    const auto data = DataOf("600010.02");
    const struct {
        int kept;
        int position;
        bool shown;
    } cases[] = {{-1, 120, false}, {5, 5, true}, {120, 120, true}, {121, 120, true}, {400, 120, true}};
    for (const auto& c : cases) {
        CChartState::Shared().SetLastCursorPosition(c.kept);
        CFSChartView view(nullptr);
        view.SetData(data.get());
        EXPECT_EQ(view.GetCursorPosition(), c.position) << c.kept;
        EXPECT_EQ(view.IsCursorShown(), c.shown) << c.kept;
    }
    CChartState::Shared().SetLastCursorPosition(-1);
}

TEST(FSViewPanel, ALevelWithoutAPriceNeverBecomesTheOrderPrice) {
    const auto data = DataOf("600010.02", "", [](CDataSetList& list) {
        CDataSet* snapshot = *list.GetAt(2);
        const int32_t zero = 0;
        for (int c = 10; c < 30; ++c)
            snapshot->SetField(c, &zero, 4, 0);
    });
    CChartState::Shared().SetLastCursorPosition(-1);
    CFSChartView view(nullptr);
    view.SetData(data.get());
    view.LayoutPortrait({60, 20}, {0, 0, 480, 613});
    CChartState::Shared().SetPanelPage(2);
    const CRect panel = view.GetFSLayout().panel;
    EXPECT_EQ(view.HitPanel(panel.left + 10, panel.top + 5), 0);
    EXPECT_TRUE(view.GetPressedPrice().empty());
    EXPECT_FALSE(view.IsCellPressed());
    const auto priced = DataOf("600010.02");
    view.SetData(priced.get());
    EXPECT_EQ(view.HitPanel(panel.right - 10, panel.top + 5), 1);
    EXPECT_EQ(view.GetPressedPrice(), "8.62");
    EXPECT_TRUE(view.IsSellLevel());
    CChartState::Shared().SetPanelPage(0);
}

TEST(FSViewDrawing, NothingToScaleDrawsWithoutFaultAtAnySize) {
    CDataSetWriter w; // a header and snapshot of a stock whose prices are all 0
    w.AddSet("fshead");
    for (int c = 0; c < 14; ++c)
        w.AddColumn(c == 8 ? DataSetType::AnsiText
                    : c == 9 ? DataSetType::WideText
                    : c == 0 ? DataSetType::Int32
                    : c == 6 || c == 7 ? DataSetType::Int16
                    : c >= 10 && c <= 11 ? DataSetType::AnsiText
                    : DataSetType::Number,
                    "c" + std::to_string(c));
    w.AddRow();
    w.SetAnsiText(8, "600999");
    w.SetInt(6, 2);
    w.AddSet("fs");
    w.AddColumn(DataSetType::Int16, "time");
    for (int c = 1; c < 5; ++c)
        w.AddColumn(DataSetType::Number, "c" + std::to_string(c));
    w.AddColumn(DataSetType::Int32, "vol");
    w.AddRow();
    w.SetInt(0, 930);
    w.SetNumber(1, CQuoteNumber(CQuoteNumber::kMissingValue, 0));
    w.AddSet("hq");
    for (int c = 0; c < 30; ++c)
        w.AddColumn(DataSetType::Number, "s" + std::to_string(c));
    w.AddRow();
    const auto body = w.Serialize();
    CDataSetList list(body.data(), static_cast<int>(body.size()));
    CFSData flat;
    ASSERT_EQ(flat.ParseReply(list), 1);
    const auto whole = DataOf("600010.02");
    for (CFSData* data : {&flat, whole.get()}) {
        for (const CRect& area : {CRect{0, 0, 480, 613}, CRect{0, 0, 720, 373}, CRect{0, 0, 30, 20}, CRect{}}) {
            CChartState::Shared().SetLastCursorPosition(0);
            CFSChartView view(nullptr);
            view.SetData(data);
            if (area.Width() > area.Height())
                view.LayoutLandscape({60, 20}, area);
            else
                view.LayoutPortrait({60, 20}, area);
            view.MoveCursor(4, 0);
            view.MoveCursor(4, 0);
            view.OnCursorMoved();
            std::unique_ptr<CDC> target = CDC::CreateMemoryDC(std::max(1, area.Width()), std::max(1, area.Height()));
            view.Paint(*target);
        }
    }
    CChartState::Shared().SetLastCursorPosition(-1);
    SUCCEED();
}

// Pixels of a and b that differ (all of them when the sizes differ).
int DifferentPixels(const CSurface& a, const CSurface& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return a.Width() * a.Height() + 1;
    int count = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            count += a.GetPixel(x, y) != b.GetPixel(x, y);
    return count;
}

// A paint over the target painted last copies only what changed: after each
// step the target must equal a whole redraw, so no old cursor line, legend,
// blue mark or panel page stays behind.
TEST(FSViewDrawing, APaintOverTheLastTargetEqualsAWholeRedraw) {
    const auto data = DataOf("600010.02");
    CChartState::Shared().SetLastCursorPosition(5);
    const std::vector<CFSInfoMark> marks = {{9 * 60 + 45, "a1"}, {13 * 60 + 30, "b2"}};
    CFSChartView view(nullptr), reference(nullptr);
    for (CFSChartView* v : {&view, &reference}) {
        v->SetData(data.get());
        v->SetInfoMarks(marks);
        v->LayoutPortrait({60, 20}, {0, 0, 480, 613});
    }
    ASSERT_FALSE(view.GetMarkSlots().empty());
    const int markSlot = view.GetMarkSlots().front().slot;
    std::unique_ptr<CDC> target = CDC::CreateMemoryDC(480, 613);
    std::unique_ptr<CDC> other = CDC::CreateMemoryDC(480, 613);
    view.Paint(*target);
    const struct {
        const char* step;
        std::function<void(CFSChartView&)> change;
        bool elsewhereFirst; // painted into another target (and this one spoilt) before
    } steps[] = {
        {"three on", [](CFSChartView& v) { for (int i = 0; i < 3; ++i) v.MoveCursor(1, 0); }, false},
        {"onto a mark", [&](CFSChartView& v) { v.SetCursor(markSlot, 0); }, false},
        {"off the mark, far", [](CFSChartView& v) { v.SetCursor(0, 0); }, false},
        {"back past the first", [](CFSChartView& v) { v.MoveCursor(0, 0); }, false},
        {"hidden", [](CFSChartView& v) { v.MoveCursor(4, 0); }, false},
        {"shown", [](CFSChartView& v) { v.MoveCursor(4, 0); }, false},
        {"next panel page", [](CFSChartView& v) { v.TurnPanelPage(false); }, false},
        {"one on after another target", [](CFSChartView& v) { v.MoveCursor(1, 0); }, true},
    };
    for (const auto& s : steps) {
        if (s.elsewhereFirst) {
            view.Paint(*other);
            target->FillRect({0, 0, 480, 613}, 0x123456);
        }
        s.change(view);
        s.change(reference);
        view.Paint(*target);
        std::unique_ptr<CDC> fresh = CDC::CreateMemoryDC(480, 613);
        reference.SetDirty();
        reference.Paint(*fresh);
        EXPECT_EQ(DifferentPixels(*target->GetSurface(), *fresh->GetSurface()), 0) << s.step;
    }
    CChartState::Shared().SetPanelPage(0);
    CChartState::Shared().SetLastCursorPosition(-1);
}

} // namespace
