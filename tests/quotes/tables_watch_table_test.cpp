// The watch-list table against the simulated server: what it sends, how it
// prunes and widens the store, that it never loses an edit, and when it
// tells that the list is empty.
#include "tables_watch_Fixture.h"

#include "quotes/tables/CMyStockWnd.h"
#include "quotes/tables/CQuoteRowData.h"
#include "tools/simulator/CSimMarket.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>

namespace {

class WatchTable : public WatchListTest {
protected:
    // The table's rows as "code.market" keys, in display order.
    std::vector<std::string> RowKeys() {
        return driver.RunOnGui([] {
            std::vector<std::string> keys;
            auto* list = dynamic_cast<UiList*>(CDriverControls::FindShownControl(COrbTableWnd::kRowListId));
            if (!list)
                return keys;
            for (const UiListItem& item : list->Items())
                keys.push_back(reinterpret_cast<const CQuoteRowData*>(item.data)->GetStockKey());
            return keys;
        });
    }
    void OpenTable() { HostDoes(CWatchHostWnd::kOpenKeyword, "zxhq"); }
};

struct StoreCase {
    const char* what;
    std::string stored;
    std::string sent;                   // the request's code list
    std::vector<std::string> rows;
    std::string after;                  // the store afterwards
};

void PrintTo(const StoreCase& c, std::ostream* os) { *os << c.what; }

class WatchStore : public WatchTable, public ::testing::WithParamInterface<StoreCase> {};

TEST_P(WatchStore, TheWholeListTravelsInOneRequestAndTheStoreIsPrunedAndWidenedAsTheReplyShows) {
    const StoreCase& c = GetParam();
    SCOPED_TRACE(c.what);
    Start(c.stored);
    OpenTable();
    const auto sent = Requests(31000, 4);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].Get("code"), c.sent);
    EXPECT_EQ(sent[0].Get("count"), std::to_string(std::count(c.sent.begin(), c.sent.end(), '|') + 1));
    EXPECT_EQ(RowKeys(), c.rows);
    EXPECT_EQ(StoreFile(), c.after + '\0');
}

std::string LongList(char sep) {
    std::string list = "600010.02";
    for (int i = 0; i < 300; ++i)
        list += sep + std::to_string(910000 + i) + ".01";
    return list;
}

INSTANTIATE_TEST_SUITE_P(Replies, WatchStore, ::testing::Values(
    StoreCase{"every item found rewrites nothing", "399001.01,600010.02,000016.01", "399001.01|600010.02|000016.01",
              {"399001.01", "600010.02", "000016.01"}, "399001.01,600010.02,000016.01"},
    StoreCase{"a long list is sent whole", LongList(','), LongList('|'), {"600010.02"}, "600010.02"},
    StoreCase{"an item the reply does not know is dropped", "600010.02,123456.01,399001.01", "600010.02|123456.01|399001.01",
              {"600010.02", "399001.01"}, "600010.02,399001.01"},
    StoreCase{"an item that may not travel is neither sent nor pruned", "600010.02,60&c=1.02,399001.01",
              "600010.02|399001.01", {"600010.02", "399001.01"}, "600010.02,60&c=1.02,399001.01"},
    StoreCase{"an empty reply rewrites nothing", "123456.01,654321.02", "123456.01|654321.02", {},
              "123456.01,654321.02"},
    StoreCase{"a bare code shows every match and is widened in place", "600010.02,000016,399001.01",
              "600010.02|000016|399001.01", {"600010.02", "000016.01", "000016.02", "399001.01"},
              "600010.02,000016.01,000016.02,399001.01"},
    StoreCase{"one-digit markets are widened when the table is created", "600010.2,000016.01,399001.1",
              "600010.02|000016.01|399001.01", {"600010.02", "000016.01", "399001.01"},
              "600010.02,000016.01,399001.01"}));

TEST_F(WatchTable, AnEditMadeWhileTheReplyWasOutIsKept) {
    // The route stands for the user: while the server answers, the editor
    // has moved 399001 to the front, deleted 600010 and added 000016.02.
    Start("600010.02,123456.01,399001.01");
    const std::filesystem::path store = dir / "MyQuotes.dat";
    sim.SetRoute(31000, 4, [store](const SimRequest& r, CSimMarket& market) {
        {
            std::ofstream out(store, std::ios::binary | std::ios::trunc);
            out << "399001.01,123456.01,000016.02" << '\0';
        }
        CDataSetWriter w;
        w.AddSet("hq");
        const std::vector<int> fields = CSimMarket::ParseFieldList(r.Get("field"));
        CSimMarket::AddFieldColumns(w, fields);
        for (const char* key : {"600010.02", "399001.01"})
            CSimMarket::WriteFieldRow(w, fields, *market.Find(key));
        return SimReply::Ok(w);
    });
    OpenTable();
    EXPECT_EQ(RowKeys(), (std::vector<std::string>{"600010.02", "399001.01"}));
    EXPECT_EQ(Stored(), "399001.01,000016.02");
}

TEST_F(WatchTable, AnEmptyListIsToldWhenOpenedOrRefreshedByTheUserButNeverOnARefreshTick) {
    const std::u16string empty = u"股票列表为空!";
    Start("");
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    OpenTable();
    EXPECT_TRUE(Requests(31000, 4).empty());
    EXPECT_EQ(ShownTexts(), std::vector<std::u16string>{empty});

    // A trading Wednesday: the timer ticks every 10 s, and stays quiet.
    ASSERT_TRUE(driver.AdvanceClock(35000));
    EXPECT_EQ(ShownTexts().size(), 1u) << "a refresh tick told the empty list";

    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 4)); // refresh
    EXPECT_EQ(ShownTexts(), (std::vector<std::u16string>{empty, empty}));

    // The editor's OK closes it with code 1: the table refreshes as asked.
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 2));
    ASSERT_EQ(TopWindow(), "CEditMyStockWnd");
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 0));
    EXPECT_EQ(TopWindow(), "CMyStockWnd");
    EXPECT_EQ(ShownTexts(), (std::vector<std::u16string>{empty, empty, empty}));

    // The ticks were live all along: with a stock stored, the next one sends.
    WriteStoreFile("600010.02");
    ASSERT_TRUE(driver.AdvanceClock(10000));
    EXPECT_EQ(Requests(31000, 4).size(), 1u);
    EXPECT_EQ(ShownTexts().size(), 3u);
}

TEST_F(WatchTable, TappingARowOpensItsMinuteChartAndTheBarOpensTheKLine) {
    Start("600010.02,399001.01");
    OpenTable();
    ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbTableWnd::kRowListId, 1)); // selects
    ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbTableWnd::kRowListId, 1)); // opens
    EXPECT_EQ(g_charts.fschart, std::vector<std::string>{"date=&code=399001.01"});
    // Back on the table, which refreshed its rows: the K-line of a selected row.
    ASSERT_TRUE(CDriverControls::TapListItem(driver, COrbTableWnd::kRowListId, 1));
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 3));
    EXPECT_EQ(g_charts.kxchart, std::vector<std::string>{"code=399001.01"});
}

TEST_F(WatchTable, TheChangeTitleAlternatesTheOrderAndOtherTitlesStartAscending) {
    Start("600010.02,600023.02,399001.01");
    OpenTable();
    auto tapTitle = [this](double fraction) {
        const CRect r = *CDriverControls::ControlScreenRect(driver, COrbTableWnd::kHeaderListId);
        driver.Tap(r.left + static_cast<int>(r.Width() * fraction), r.top + r.Height() / 2);
    };
    // Changes in percent: 600010 +1.23, 600023 −2.15, 399001 +1.03.
    tapTitle(0.9);
    const auto first = RowKeys();
    tapTitle(0.9);
    const auto second = RowKeys();
    EXPECT_EQ(second, std::vector<std::string>(first.rbegin(), first.rend()));
    // The last price, ascending first: 600023 3.34, 600010 8.62, 399001 9978.27.
    tapTitle(0.4);
    EXPECT_EQ(RowKeys(), (std::vector<std::string>{"600023.02", "600010.02", "399001.01"}));
    EXPECT_FALSE(driver.RunOnGui([] {
        return dynamic_cast<CQuoteHeaderList*>(CDriverControls::FindShownControl(COrbTableWnd::kHeaderListId))
            ->IsArrowShown();
    }));
}

TEST_F(WatchTable, PricesShowTheirExchangesDecimalsAndNeverAUnitWord) {
    struct Case {
        const char* key;
        const char* type;
        double last;              // set on the server; the previous close stays
        std::u16string_view lastText;
        std::u16string_view changeText;
    };
    const Case cases[] = {
        {"600010.02", "A share", 8.52, u"8.52", u"0.00"},
        {"000016.01", "A share", 11.00, u"11.00", u"-0.42"},
        {"000001.02", "index", 3061.50, u"3061.50", u"11.38"},
        {"510880.02", "fund", 3.038, u"3.038", u"0.026"},
        {"900905.02", "B share", 0.650, u"0.650", u"-0.002"},
    };
    std::string stored;
    for (const Case& c : cases)
        stored += std::string(stored.empty() ? "" : ",") + c.key;
    Start(stored);
    sim.WithMarket([&](CSimMarket& market) {
        for (const Case& c : cases)
            market.SetLast(c.key, c.last);
    });
    OpenTable();
    const auto rows = driver.RunOnGui([] {
        std::map<std::string, CQuoteRowData> out;
        if (auto* list = dynamic_cast<UiList*>(CDriverControls::FindShownControl(COrbTableWnd::kRowListId)))
            for (const UiListItem& item : list->Items()) {
                const auto* row = reinterpret_cast<const CQuoteRowData*>(item.data);
                out[row->GetStockKey()] = *row;
            }
        return out;
    });
    ASSERT_EQ(rows.size(), std::size(cases));
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " " + c.type);
        const auto it = rows.find(c.key);
        ASSERT_NE(it, rows.end());
        EXPECT_EQ(it->second.GetText(CQuoteRowData::kLast).str(), c.lastText);
        EXPECT_EQ(it->second.GetText(CQuoteRowData::kChange).str(), c.changeText);
        for (int cell : {CQuoteRowData::kLast, CQuoteRowData::kChange, CQuoteRowData::kChangePct}) {
            const std::u16string text = it->second.GetText(cell).str();
            EXPECT_EQ(text.find_first_of(u"万亿"), std::u16string::npos) << "cell " << cell;
        }
    }
}

} // namespace
