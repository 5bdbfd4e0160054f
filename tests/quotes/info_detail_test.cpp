// The detail quote's pure parts: the rows and colours for a trading stock,
// one with open 0, an index, a previous close of 0 and missing values; the
// code a reply names; the request; what buy and sell open.
#include "core/CDataSetList.h"
#include "core/CDataSetWriter.h"
#include "quotes/info/StockDetail.h"
#include "tools/simulator/CSimMarket.h"

#include <gtest/gtest.h>

namespace {

constexpr double kMissing = CQuoteNumber::kMissingValue;

// One reply row: prices with 2 decimals, the book's volumes in shares.
struct Row {
    int market = 1, type = 1;
    std::string code = "600000";
    double prevClose = 10.00, open = 10.10, high = 10.50, low = 9.90, last = 10.20, amount = 1250.0;
};

std::optional<DetailQuote> Read(const Row& r) {
    CDataSetWriter w;
    w.AddSet("hq");
    CSimMarket::AddFieldColumns(w, CSimMarket::ParseFieldList(kDetailFields));
    w.AddRow();
    w.SetInt(0, r.market);
    w.SetInt(1, r.type);
    w.SetAnsiText(2, r.code);
    w.SetText(3, u"浦江银行");
    auto packed = [](double v, int code) { return v == kMissing ? CQuoteNumber(kMissing, 0) : CQuoteNumber(v, code); };
    const double values[] = {r.prevClose, r.open, r.high, r.low, r.last};
    for (int i = 0; i < 5; ++i)
        w.SetNumber(4 + i, packed(values[i], 2));
    w.SetNumber(9, CQuoteNumber(1.2, 1));
    w.SetNumber(10, packed(r.amount, 1));
    w.SetNumber(11, CQuoteNumber(10.13, 2));
    w.SetNumber(12, CQuoteNumber(12.5, 3));
    w.SetNumber(13, CQuoteNumber(1.1, 3));
    for (int n = 0; n < 5; ++n) {
        w.SetNumber(14 + 2 * n, CQuoteNumber(10.20 - 0.01 * n, 2));
        w.SetInt(15 + 2 * n, 25050);
        w.SetNumber(24 + 2 * n, CQuoteNumber(10.21 + 0.01 * n, 2));
        w.SetInt(25 + 2 * n, 250);
    }
    const std::vector<uint8_t> body = w.Serialize();
    CDataSetList list(body.data(), static_cast<int>(body.size()));
    return ReadDetailQuote(**list.GetAt(0));
}

enum : std::uint32_t { kRise = 1, kFall = 2, kFlat = 3, kVolume = 4, kLabel = 5 };
constexpr DetailPalette kPalette{kRise, kFall, kFlat, kVolume, kLabel};
using Cells = std::vector<std::pair<std::u16string, std::uint32_t>>;

// The value cells of the six figure rows, then the price and lots of ask 5 and bid 5.
Cells ValueCells(const DetailQuote& quote) {
    const std::vector<DetailRow> rows = DetailRows(quote, kPalette);
    Cells out;
    for (size_t i = 0; i < rows.size(); ++i)
        for (int c : {1, 3})
            if (i < 6 || i == 6 || i == 15)
                out.emplace_back(rows[i][c].text, rows[i][c].color);
    return out;
}

TEST(StockDetail, RowsShowEachValueInItsColourAndWhatCannotBeToldAsDash) {
    Row untraded, index, zeroClose, missing;
    untraded.open = 0;
    index.type = kIndexType;
    zeroClose.prevClose = 0;
    missing.last = missing.prevClose = missing.amount = kMissing;
    const std::pair<Row, Cells> cases[] = {
        {Row(),
         {{u"10.20", kRise}, {u"0.20", kRise}, {u"2.00", kRise}, {u"1.2万", kVolume}, {u"1250.0万", kVolume},
          {u"10.13", kRise}, {u"10.00", kLabel}, {u"10.10", kRise}, {u"10.50", kRise}, {u"9.90", kFall},
          {u"12.500", kRise}, {u"1.100", kLabel}, {u"10.25", kRise}, {u"2", kVolume}, {u"10.16", kRise},
          {u"250", kVolume}}},
        {untraded,
         {{u"-", kLabel}, {u"-", kLabel}, {u"-", kLabel}, {u"-", kVolume}, {u"-", kVolume}, {u"-", kLabel},
          {u"10.00", kLabel}, {u"-", kLabel}, {u"-", kLabel}, {u"-", kLabel}, {u"12.500", kRise},
          {u"1.100", kLabel}, {u"-", kLabel}, {u"-", kVolume}, {u"-", kLabel}, {u"-", kVolume}}},
        {index, // six rows, no order ratio
         {{u"10.20", kRise}, {u"0.20", kRise}, {u"2.00", kRise}, {u"1.2万", kVolume}, {u"1250.0万", kVolume},
          {u"10.13", kRise}, {u"10.00", kLabel}, {u"10.10", kRise}, {u"10.50", kRise}, {u"9.90", kFall},
          {u"-", kLabel}, {u"1.100", kLabel}}},
        {zeroClose,
         {{u"10.20", kRise}, {u"10.20", kRise}, {u"-", kLabel}, {u"1.2万", kVolume}, {u"1250.0万", kVolume},
          {u"10.13", kRise}, {u"0.00", kLabel}, {u"10.10", kRise}, {u"10.50", kRise}, {u"9.90", kRise},
          {u"12.500", kRise}, {u"1.100", kLabel}, {u"10.25", kRise}, {u"2", kVolume}, {u"10.16", kRise},
          {u"250", kVolume}}},
        {missing,
         {{u"-", kLabel}, {u"-", kLabel}, {u"-", kLabel}, {u"1.2万", kVolume}, {u"-", kVolume}, {u"10.13", kFlat},
          {u"-", kLabel}, {u"10.10", kFlat}, {u"10.50", kFlat}, {u"9.90", kFlat}, {u"12.500", kRise},
          {u"1.100", kLabel}, {u"10.25", kFlat}, {u"2", kVolume}, {u"10.16", kFlat}, {u"250", kVolume}}},
    };
    for (const auto& [row, want] : cases) {
        const std::optional<DetailQuote> quote = Read(row);
        ASSERT_TRUE(quote);
        EXPECT_EQ(ValueCells(*quote), want) << row.type << " " << row.open << " " << row.prevClose;
    }
    const std::vector<DetailRow> rows = DetailRows(*Read(Row()), kPalette);
    EXPECT_EQ(rows[6][0].text, u"卖五");
    EXPECT_EQ(rows[15][0].text, u"买五");
}

TEST(StockDetail, AReplyCodeGetsItsMarketAndTheRequestCarriesOnlyAnAcceptedKey) {
    Row keyed;
    keyed.code = "000001.02";
    keyed.market = 2;
    EXPECT_EQ(Read(Row())->key, "600000.01");
    EXPECT_EQ(Read(keyed)->key, "000001.02");
    const std::string fields = "&field=" + std::string(kDetailFields);
    EXPECT_EQ(DetailQuoteRequest("tc_mfuncno=31000&tc_sfuncno=4", "600010.02"),
              "tc_mfuncno=31000&tc_sfuncno=4&code=600010.02" + fields);
    EXPECT_EQ(DetailQuoteRequest("tc_mfuncno=31000&code=1A0001&tc_sfuncno=4", "600010.02"),
              "tc_mfuncno=31000&code=600010.02&tc_sfuncno=4" + fields);
    EXPECT_EQ(DetailQuoteRequest("tc_mfuncno=31000&tc_sfuncno=4", "1&x=2.01"), "");
    EXPECT_TRUE(SameStockCode(u"1a0001", u"1A0001"));
    EXPECT_FALSE(SameStockCode(u"0.02", u"600010.02")) << "a part of a code is another stock";
}

TEST(StockDetail, BuyAndSellOpenTheFormOnlyForAShownTradableQuoteWithAPriceOnlyWhenItIsKnown) {
    Row untraded, missing, index, hostile;
    untraded.open = 0;
    missing.last = kMissing;
    index.type = kIndexType;
    hostile.code = "1&x=2";
    const std::optional<DetailQuote> q[] = {Read(Row()), Read(untraded), Read(missing), Read(index), Read(hostile)};
    const std::tuple<const DetailQuote*, bool, DetailOrderStep, const char*> cases[] = {
        {nullptr, false, DetailOrderStep::Nothing, ""},
        {&*q[0], false, DetailOrderStep::Open, "code=600000.01&price=10.20&market=1&type=1&MMLB=0"},
        {&*q[1], true, DetailOrderStep::Open, "code=600000.01&market=1&type=1&MMLB=1"},
        {&*q[2], false, DetailOrderStep::Open, "code=600000.01&market=1&type=1&MMLB=0"},
        {&*q[3], false, DetailOrderStep::RefuseIndex, ""},
        {&*q[4], false, DetailOrderStep::Nothing, ""},
    };
    for (const auto& [quote, sell, step, request] : cases) {
        const DetailOrder order = DetailOrderFor(quote, sell);
        EXPECT_EQ(order.step, step) << request;
        EXPECT_EQ(order.request, request);
    }
    EXPECT_EQ(DetailOrderFor(&*q[1], true).title, u"卖出 浦江银行");
}

} // namespace
