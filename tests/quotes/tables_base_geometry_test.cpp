// The quote tables' computations without a window: header tap zones, the
// row colour mapping, the cell-number reader, the row orders and the cell
// texts of a reply row. Column and cell rectangles are left to the
// reference screens.
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
#include <cstddef>
#include <memory>
#include <vector>

namespace {

TEST(QuoteHeaderZones, ZonesHaveStrictBoundsAndTheLastIsTheRightFifth) {
    // w = 480: zone 0 (0, 144), 1 (144, 259.2), 2 (259.2, 355.2), 3 (384, 480).
    const std::pair<int, int> cases[] = {{0, -1},   {1, 0},   {143, 0},  {144, -1}, {145, 1},  {259, 1}, {260, 2},
                                         {355, 2},  {370, -1}, {384, -1}, {385, 3},  {479, 3},  {480, -1}};
    for (const auto& [x, zone] : cases) {
        EXPECT_EQ(QuoteHeaderZoneAt(x, 0, 480), zone) << "x " << x;
        EXPECT_EQ(InRightFifth(x, 0, 480), zone == 3) << "x " << x;
    }
}

TEST(QuoteRowColors, SchemeColoursAreMappedForTheRowStateAndOthersStay) {
    struct Case {
        COLORREF in;
        bool selected;
        COLORREF out;
    };
    const Case cases[] = {{0xFFFFFF, true, 0x1E1EA0},  {0x2626FF, true, 0x1E1EA0},  {0x17FF17, true, 0x147814},
                          {0x17FF17, false, 0x14C814}, {0x2626FF, false, 0x2626FF}, {0xFFFFFF, false, 0xFFFFFF},
                          {0x123456, true, 0x123456},  {0x123456, false, 0x123456}};
    for (const Case& c : cases)
        EXPECT_EQ(CQuoteRowList::MapCellColor(c.in, c.selected), c.out) << std::hex << c.in << " " << c.selected;
}

TEST(CellNumber, TheLongestLeadingDecimalNumberIsReadWithItsSignAndNeverAsNaNOrInfinity) {
    const std::pair<std::u16string, double> cases[] = {
        {u"12.35", 12.35}, {u"-1.25", -1.25}, {u"+3", 3.0}, {u"9.98%", 9.98}, {u"1.5万", 1.5}, {u"7.", 7.0},
        {u".5", 0.5},      {u"-", 0.0},       {u"", 0.0},   {u"abc", 0.0},    {u"-.", 0.0},   {u"1e999", 1.0},
        {u"nan", 0.0},     {u"inf", 0.0}};
    for (const auto& [text, value] : cases)
        EXPECT_DOUBLE_EQ(ReadCellNumber(text), value) << std::string(text.begin(), text.end());
    EXPECT_TRUE(std::isfinite(ReadCellNumber(std::u16string(400, u'9'))));
}

// Rows for the orders: records owned by the test, items pointing at them.
class RowOrderTest : public ::testing::Test {
protected:
    std::vector<std::unique_ptr<CQuoteRowData>> records;

    UiListItem Row(std::u16string_view name, std::u16string_view last = u"", std::u16string_view change = u"",
                   std::u16string_view pct = u"") {
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
};

using Less = bool (*)(const UiListItem&, const UiListItem&);

TEST_F(RowOrderTest, EachOrderSortsItsCellAsNumbersOrOrdinalTextWithRecordlessItemsFirst) {
    // Dashes read as zero; names compare by their wide characters, upper case first.
    const std::vector<UiListItem> rows = {Row(u"a", u"9.50", u"-0.30", u"-3.06"), Row(u"b", u"10.20", u"1.00", u"10.0"),
                                          Row(u"c", u"-", u"0.000", u"-"), Row(u"d", u"2.00", u"-1.20", u"-12.5"),
                                          Row(u"Z"), Row(u"银行"), UiListItem{}};
    struct Case {
        Less less;
        const char16_t* order; // names by first character; '?' the item without a record
    };
    const Case cases[] = {
        {CompareNameAsc, u"?Zabcd银"},    {CompareNameDesc, u"?银dcbaZ"},   {CompareLastAsc, u"?cZ银dab"},
        {CompareLastDesc, u"?bad" u"cZ银"}, {CompareChangeAsc, u"?dacZ银b"}, {CompareChangeDesc, u"?bcZ银ad"},
        {CompareChangePctAsc, u"?dacZ银b"}, {CompareChangePctDesc, u"?bcZ银ad"},
    };
    for (const Case& c : cases) {
        // The item without a record meets records from either side: it moves
        // through every place of the input, the records keeping their order.
        for (size_t at = 0; at < rows.size(); ++at) {
            std::vector<UiListItem> sorted(rows.begin(), rows.end() - 1);
            sorted.insert(sorted.begin() + static_cast<std::ptrdiff_t>(at), UiListItem{});
            std::stable_sort(sorted.begin(), sorted.end(), c.less);
            std::u16string got;
            for (const UiListItem& item : sorted) {
                const auto* r = reinterpret_cast<const CQuoteRowData*>(item.data);
                got += r ? r->GetText(CQuoteRowData::kName).view().front() : u'?';
            }
            EXPECT_EQ(got, c.order) << std::string(got.begin(), got.end()) << " from place " << at;
        }
        EXPECT_FALSE(c.less(rows[0], rows.back())) << "a record never comes before the item without one";
        for (const UiListItem& item : rows)
            EXPECT_FALSE(c.less(item, item)) << "irreflexive";
        EXPECT_FALSE(c.less(rows[4], Row(u"Z"))) << "equal keys compare false";
    }
}

TEST(QuoteRowData, TheStockKeyIsTheCodeAPointAndTheMarketAndALongNameIsKeptWhole) {
    CQuoteRowData r;
    r.SetCell(CQuoteRowData::kCode, u"600010", 0, CQuoteRowData::kKindCode);
    r.SetCell(CQuoteRowData::kMarket, u"2", 0, CQuoteRowData::kKindMarket);
    EXPECT_EQ(r.GetStockKey(), "600010.2");
    r.SetCell(9, u"x", 0, 0); // out of range: ignored
    EXPECT_TRUE(r.GetText(9).IsEmpty());
    const std::u16string name(60, u'长');
    r.SetCell(CQuoteRowData::kName, name, 0, CQuoteRowData::kKindName);
    EXPECT_EQ(r.GetText(CQuoteRowData::kName).view(), name);
}

TEST(QuoteRowFill, PriceChangeAndPercentShowTheValueWithTheCodesDecimalsAndNoUnitWord) {
    const std::pair<CQuoteNumber, std::u16string_view> cases[] = {
        {{8.52, 2}, u"8.52"}, {{-0.42, 2}, u"-0.42"}, {{3.038, 3}, u"3.038"}, {{12.5, 1}, u"12.5"}};
    for (const auto& [number, text] : cases) {
        SCOPED_TRACE(::testing::Message() << number.GetValue() << " code " << number.GetCode());
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
        for (int column : {2, 3, 4}) // sent as last price, change and change in percent alike
            w.SetNumber(column, number);
        w.SetNumber(5, CQuoteNumber(1, 2)); // opened today
        w.SetNumber(6, CQuoteNumber(1, 2));
        w.SetInt(7, 2);
        const std::vector<uint8_t> body = w.Serialize();
        CDataSetList reply(body.data(), static_cast<int>(body.size()));
        ASSERT_EQ(reply.GetCount(), 1);
        CDataSet& set = **reply.GetAt(0);
        ASSERT_TRUE(set.MoveFirst());
        const std::unique_ptr<CQuoteRowData> row(MakeQuoteRow(set, false));
        for (int cell : {CQuoteRowData::kLast, CQuoteRowData::kChange, CQuoteRowData::kChangePct})
            EXPECT_EQ(row->GetText(cell).view(), text) << "cell " << cell;
        EXPECT_EQ(row->GetText(CQuoteRowData::kMarket).view(), u"2") << "other cells as the reply gives them";
    }
}

} // namespace
