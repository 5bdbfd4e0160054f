// The quote tables' computations without a window: column widths, header
// tap zones, row cell rectangles, colour mapping, the cell-number reader,
// the row orders and the cell texts of a reply row.
#include "core/CDataSetList.h"
#include "core/CDataSetWriter.h"
#include "quotes/tables/CQuoteRowData.h"
#include "quotes/tables/CQuoteRowList.h"
#include "quotes/tables/QuoteRowCompare.h"
#include "quotes/tables/QuoteRowFill.h"
#include "quotes/tables/QuoteTableLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

TEST(QuoteColumns, WidthsAreTruncatedSharesOfTheWidthLessTen) {
    const CQuoteColumns c = CQuoteColumns::ForWidth(480); // W = 470
    EXPECT_EQ(c.c0, 141);
    EXPECT_EQ(c.c1, 112); // 112.8
    EXPECT_EQ(c.c2, 94);
    EXPECT_EQ(c.c3, 94);
    EXPECT_EQ(c.gap, 9); // 9.4
    const CQuoteColumns wide = CQuoteColumns::ForWidth(720); // W = 710
    EXPECT_EQ(wide.c0, 213);
    EXPECT_EQ(wide.c1, 170); // 170.4
    EXPECT_EQ(wide.gap, 14); // 14.2
}

TEST(QuoteHeaderLayout, TitlesFollowEachOtherFromTheShrunkLeftEdge) {
    const CRect shrunk{2, 2, 478, 48};
    const CQuoteHeaderLayout h = CQuoteHeaderLayout::For(shrunk, CQuoteColumns::ForWidth(480));
    EXPECT_EQ(h.titles[0], (CRect{2, 2, 143, 48}));
    EXPECT_EQ(h.titles[1], (CRect{143, 2, 264, 48}));
    EXPECT_EQ(h.titles[2], (CRect{264, 2, 367, 48}));
    EXPECT_EQ(h.titles[3], (CRect{367, 2, 470, 48}));
}

TEST(QuoteHeaderZones, ZonesHaveStrictBoundsAndTheLastIsTheRightFifth) {
    // w = 480: zone 0 (0, 144), 1 (144, 259.2), 2 (259.2, 355.2), 3 (384, 480).
    EXPECT_EQ(QuoteHeaderZoneAt(0, 0, 480), -1);
    EXPECT_EQ(QuoteHeaderZoneAt(1, 0, 480), 0);
    EXPECT_EQ(QuoteHeaderZoneAt(143, 0, 480), 0);
    EXPECT_EQ(QuoteHeaderZoneAt(144, 0, 480), -1);
    EXPECT_EQ(QuoteHeaderZoneAt(145, 0, 480), 1);
    EXPECT_EQ(QuoteHeaderZoneAt(259, 0, 480), 1);
    EXPECT_EQ(QuoteHeaderZoneAt(260, 0, 480), 2);
    EXPECT_EQ(QuoteHeaderZoneAt(355, 0, 480), 2);
    EXPECT_EQ(QuoteHeaderZoneAt(370, 0, 480), -1) << "between the third zone and the right fifth";
    EXPECT_EQ(QuoteHeaderZoneAt(384, 0, 480), -1);
    EXPECT_EQ(QuoteHeaderZoneAt(385, 0, 480), 3);
    EXPECT_EQ(QuoteHeaderZoneAt(479, 0, 480), 3);
    EXPECT_EQ(QuoteHeaderZoneAt(480, 0, 480), -1);
    EXPECT_TRUE(InRightFifth(400, 0, 480));
    EXPECT_FALSE(InRightFifth(384, 0, 480));
    EXPECT_FALSE(InRightFifth(480, 0, 480));
}

TEST(QuoteRowLayout, CellsSplitTheInnerRectangleAsTheColumnsGive) {
    const CQuoteRowLayout l = CQuoteRowLayout::For(CRect{0, 0, 480, 60}, 25, 22);
    EXPECT_EQ(l.inner, (CRect{5, 2, 475, 58}));
    EXPECT_EQ(l.name, (CRect{5, 2, 155, 27}));        // c0 + gap = 150
    EXPECT_EQ(l.code, (CRect{5, 27, 155, 49}));
    EXPECT_EQ(l.last, (CRect{157, 2, 276, 58}));      // 5 + 150 + 2 .. 5 + 141 + 112 + 18
    EXPECT_EQ(l.change, (CRect{276, 2, 379, 58}));    // c2 + gap = 103
    EXPECT_EQ(l.percentBox, (CRect{379, 7, 475, 53})); // change.left + c3 + gap
}

TEST(QuoteRowColors, DefaultSchemeColoursAreMappedForTheRowState) {
    EXPECT_EQ(CQuoteRowList::MapCellColor(0xFFFFFF, true), 0x1E1EA0u);
    EXPECT_EQ(CQuoteRowList::MapCellColor(0x2626FF, true), 0x1E1EA0u);
    EXPECT_EQ(CQuoteRowList::MapCellColor(0x17FF17, true), 0x147814u);
    EXPECT_EQ(CQuoteRowList::MapCellColor(0x17FF17, false), 0x14C814u);
    EXPECT_EQ(CQuoteRowList::MapCellColor(0x2626FF, false), 0x2626FFu);
    EXPECT_EQ(CQuoteRowList::MapCellColor(0xFFFFFF, false), 0xFFFFFFu);
    EXPECT_EQ(CQuoteRowList::MapCellColor(0x123456, true), 0x123456u) << "other colours stay, selected or not";
    EXPECT_EQ(CQuoteRowList::MapCellColor(0x123456, false), 0x123456u);
}

TEST(CellNumber, TheLongestLeadingDecimalNumberIsReadWithItsSign) {
    EXPECT_DOUBLE_EQ(ReadCellNumber(u"12.35"), 12.35);
    EXPECT_DOUBLE_EQ(ReadCellNumber(u"-1.25"), -1.25);
    EXPECT_DOUBLE_EQ(ReadCellNumber(u"+3"), 3.0);
    EXPECT_DOUBLE_EQ(ReadCellNumber(u"9.98%"), 9.98);
    EXPECT_DOUBLE_EQ(ReadCellNumber(u"1.5万"), 1.5);
    EXPECT_DOUBLE_EQ(ReadCellNumber(u"7."), 7.0);
    EXPECT_DOUBLE_EQ(ReadCellNumber(u".5"), 0.5);
    EXPECT_DOUBLE_EQ(ReadCellNumber(u"-"), 0.0);
    EXPECT_DOUBLE_EQ(ReadCellNumber(u""), 0.0);
    EXPECT_DOUBLE_EQ(ReadCellNumber(u"abc"), 0.0);
    EXPECT_DOUBLE_EQ(ReadCellNumber(u"-."), 0.0);
}

TEST(CellNumber, NoTextEverReadsAsNaNOrInfinity) {
    const std::u16string huge(400, u'9');
    for (const std::u16string& text : {huge, std::u16string(u"nan"), std::u16string(u"inf"), std::u16string(u"1e999")}) {
        const double v = ReadCellNumber(text);
        EXPECT_TRUE(std::isfinite(v)) << std::string(text.begin(), text.end()).substr(0, 10);
    }
    EXPECT_DOUBLE_EQ(ReadCellNumber(u"1e999"), 1.0) << "an exponent is not part of a cell's number";
}

// Rows for the orders: records owned by the test, items pointing at them.
class RowOrderTest : public ::testing::Test {
protected:
    std::vector<std::unique_ptr<CQuoteRowData>> records;

    UiListItem Row(std::u16string_view name, std::u16string_view last, std::u16string_view change,
                   std::u16string_view pct) {
        auto r = std::make_unique<CQuoteRowData>();
        r->SetCell(CQuoteRowData::kName, name, 0, CQuoteRowData::kKindName);
        r->SetCell(CQuoteRowData::kLast, last, 0, CQuoteRowData::kKindLast);
        r->SetCell(CQuoteRowData::kChange, change, 0, CQuoteRowData::kKindChange);
        r->SetCell(CQuoteRowData::kChangePct, pct, 0, CQuoteRowData::kKindChangePct);
        UiListItem item;
        item.data = reinterpret_cast<std::uintptr_t>(r.get());
        records.push_back(std::move(r));
        return item;
    }
    static std::u16string NameOf(const UiListItem& item) {
        const auto* r = reinterpret_cast<const CQuoteRowData*>(item.data);
        return r ? std::u16string(r->GetText(CQuoteRowData::kName).view()) : u"<none>";
    }
};

using Less = bool (*)(const UiListItem&, const UiListItem&);
const Less kAll[] = {CompareNameAsc,   CompareNameDesc,   CompareLastAsc,      CompareLastDesc,
                     CompareChangeAsc, CompareChangeDesc, CompareChangePctAsc, CompareChangePctDesc};

TEST_F(RowOrderTest, EveryOrderIsIrreflexiveAndEqualKeysCompareFalseBothWays) {
    const UiListItem a = Row(u"甲", u"10.00", u"1.00", u"5.00");
    const UiListItem b = Row(u"甲", u"10.00", u"1.00", u"5.00");
    const UiListItem none{};
    for (Less less : kAll) {
        EXPECT_FALSE(less(a, a));
        EXPECT_FALSE(less(a, b));
        EXPECT_FALSE(less(b, a));
        EXPECT_FALSE(less(none, none)) << "two items without records are equivalent";
    }
}

TEST_F(RowOrderTest, AnItemWithoutARecordSortsFirstInEveryOrder) {
    const UiListItem a = Row(u"甲", u"10.00", u"1.00", u"5.00");
    const UiListItem none{};
    for (Less less : kAll) {
        EXPECT_TRUE(less(none, a));
        EXPECT_FALSE(less(a, none));
    }
}

TEST_F(RowOrderTest, NumbersSortAsNumbersWithSignsAndDashesCountingAsZero) {
    std::vector<UiListItem> rows = {Row(u"a", u"9.50", u"-0.30", u"-3.06"), Row(u"b", u"10.20", u"1.00", u"10.0"),
                                    Row(u"c", u"-", u"0.000", u"-"), Row(u"d", u"2.00", u"-1.20", u"-12.5")};
    std::vector<UiListItem> byPct = rows;
    std::stable_sort(byPct.begin(), byPct.end(), CompareChangePctDesc);
    std::vector<std::u16string> names;
    for (const auto& r : byPct)
        names.push_back(NameOf(r));
    EXPECT_EQ(names, (std::vector<std::u16string>{u"b", u"c", u"a", u"d"}));

    std::vector<UiListItem> byLast = rows;
    std::stable_sort(byLast.begin(), byLast.end(), CompareLastAsc);
    names.clear();
    for (const auto& r : byLast)
        names.push_back(NameOf(r));
    EXPECT_EQ(names, (std::vector<std::u16string>{u"c", u"d", u"a", u"b"}));

    std::vector<UiListItem> byChange = rows;
    std::stable_sort(byChange.begin(), byChange.end(), CompareChangeAsc);
    names.clear();
    for (const auto& r : byChange)
        names.push_back(NameOf(r));
    EXPECT_EQ(names, (std::vector<std::u16string>{u"d", u"a", u"c", u"b"}));
}

TEST_F(RowOrderTest, NamesSortByTheirWideCharactersOrdinally) {
    const UiListItem a = Row(u"Abc", u"", u"", u"");
    const UiListItem b = Row(u"abc", u"", u"", u"");
    const UiListItem c = Row(u"银行", u"", u"", u"");
    EXPECT_TRUE(CompareNameAsc(a, b)) << "upper case comes first, ordinal";
    EXPECT_TRUE(CompareNameAsc(b, c));
    EXPECT_TRUE(CompareNameDesc(c, a));
    EXPECT_FALSE(CompareNameDesc(a, c));
}

TEST(QuoteRowData, TheStockKeyIsTheCodeAPointAndTheMarketAsGiven) {
    CQuoteRowData r;
    r.SetCell(CQuoteRowData::kCode, u"600010", 0, CQuoteRowData::kKindCode);
    r.SetCell(CQuoteRowData::kMarket, u"2", 0, CQuoteRowData::kKindMarket);
    EXPECT_EQ(r.GetStockKey(), "600010.2");
    EXPECT_TRUE(r.GetText(9).IsEmpty()) << "a cell out of range reads empty";
    r.SetCell(9, u"x", 0, 0); // ignored
}

TEST(QuoteRowData, ALongNameIsKeptWhole) {
    CQuoteRowData r;
    const std::u16string name(60, u'长');
    r.SetCell(CQuoteRowData::kName, name, 0, CQuoteRowData::kKindName);
    EXPECT_EQ(r.GetText(CQuoteRowData::kName).view(), name);
}

TEST(QuoteRowFill, PriceChangeAndPercentShowTheValueWithTheCodesDecimalsAndNoUnitWord) {
    struct Case {
        CQuoteNumber number; // sent as last price, change and change in percent alike
        std::u16string_view text;
    };
    const Case cases[] = {
        {{8.52, 2}, u"8.52"}, {{-0.42, 2}, u"-0.42"}, {{3.038, 3}, u"3.038"}, {{12.5, 1}, u"12.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.number.GetValue() << " code " << c.number.GetCode());
        CDataSetWriter w;
        w.AddSet("hq");
        w.AddColumn(DataSetType::WideText, "name");
        w.AddColumn(DataSetType::AnsiText, "code");
        for (const char* name : {"zjcj", "zd", "zdf", "jrkp", "zrsp"})
            w.AddColumn(DataSetType::Number, name);
        w.AddColumn(DataSetType::Int16, "exchid");
        w.AddRow();
        w.SetText(0, u"华岳银行");
        w.SetAnsiText(1, "600010");
        for (int column : {2, 3, 4})
            w.SetNumber(column, c.number);
        w.SetNumber(5, CQuoteNumber(1, 2)); // opened today
        w.SetNumber(6, CQuoteNumber(1, 2));
        w.SetInt(7, 2);
        const std::vector<uint8_t> body = w.Serialize();
        CDataSetList reply(body.data(), static_cast<int>(body.size()));
        ASSERT_EQ(reply.GetCount(), 1);
        CDataSet& set = **reply.GetAt(0);
        ASSERT_TRUE(set.MoveFirst());
        const std::unique_ptr<CQuoteRowData> row(MakeQuoteRow(set, false));
        EXPECT_EQ(row->GetText(CQuoteRowData::kLast).view(), c.text);
        EXPECT_EQ(row->GetText(CQuoteRowData::kChange).view(), c.text);
        EXPECT_EQ(row->GetText(CQuoteRowData::kChangePct).view(), c.text);
        EXPECT_EQ(row->GetText(CQuoteRowData::kMarket).view(), u"2") << "other cells as the reply gives them";
    }
}

} // namespace
