// The quote tables' request texts without a window: what each carries, that
// nothing cuts a long one, and that no refused value reaches any of them.
#include "quotes/tables/QuoteRequests.h"
#include "quotes/tables/QuoteRowFill.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

const std::string kFields = std::string("&field=") + kQuoteRowFields;

TEST(QuoteRequests, EachTextCarriesItsValuesOrIsEmpty) {
    const std::string longPreset = "tc_mfuncno=31000&tc_sfuncno=3&pad=" + std::string(3000, 'x');
    std::vector<std::string> many;
    std::string joined;
    for (int i = 0; i < 300; ++i) {
        many.push_back(std::to_string(900000 + i) + ".01");
        joined += (i ? "|" : "") + many.back();
    }
    struct Case {
        const char* what;
        std::string text;
        std::string want;
    };
    const Case cases[] = {
        {"ranking page", RankingPageRequest("tc_mfuncno=31000&tc_sfuncno=3", {"2", "B", "df", 0, 40, 20}),
         "tc_mfuncno=31000&tc_sfuncno=3&market=2&class=B&type=df&direct=0&offset=40&count=20" + kFields},
        {"ranking, long preset", RankingPageRequest(longPreset, {"12", "A", "zf", 1, 0, 20}),
         longPreset + "&market=12&class=A&type=zf&direct=1&offset=0&count=20" + kFields},
        {"sector members", SectorMembersRequest("tc_mfuncno=100&tc_sfuncno=31&sector=gn&sectorcode=GN02"),
         "tc_mfuncno=100&tc_sfuncno=31&sector=gn&sectorcode=GN02" + kFields},
        {"sector, no preset", SectorMembersRequest(""), ""},
        {"watch list, no preset",
         WatchListQuoteRequest({"399001.01", "600010.02", "000016"}, kQuoteRowFields, ""),
         "tc_mfuncno=31000&tc_sfuncno=4&count=3&code=399001.01|600010.02|000016" + kFields},
        {"watch list, editor", WatchListQuoteRequest({"600010.02"}, kEditorFields),
         "tc_mfuncno=31000&tc_sfuncno=4&count=1&code=600010.02&field=4|3|1"},
        {"watch list, 300 items", WatchListQuoteRequest(many, kEditorFields),
         "tc_mfuncno=31000&tc_sfuncno=4&count=300&code=" + joined + "&field=4|3|1"},
        {"watch list, only the quotable items",
         WatchListQuoteRequest(QuotableItems({"600010.02", "60&c=1", "", "000016"}), kEditorFields),
         "tc_mfuncno=31000&tc_sfuncno=4&count=2&code=600010.02|000016&field=4|3|1"},
        {"watch list, empty", WatchListQuoteRequest({}, kEditorFields), ""},
        {"pinyin, upper case", PinyinSearchRequest(u"hY"), "type=2&pattern=HY"},
        {"pinyin, one letter", PinyinSearchRequest(u"h"), ""},
        {"pinyin, a digit", PinyinSearchRequest(u"h1"), ""},
        {"code search", CodeSearchRequest(u"6001"), "tc_mfuncno=31000&tc_sfuncno=4&count=1&code=6001&field=4|3|1"},
        {"code search, letters", CodeSearchRequest(u"hy"),
         "tc_mfuncno=31000&tc_sfuncno=4&count=1&code=hy&field=4|3|1"},
        {"K-line, detail quote", StockCodeParam("600010.02"), "code=600010.02"},
        {"minute chart", MinuteChartRequest("300058.1"), "date=&code=300058.1"},
        {"sell, no stock", OrderRequest(true), "MMLB=1"},
        {"buy a stock", OrderRequest(false, "600010"), "code=600010&MMLB=0"},
        {"order, empty code", OrderRequest(true, ""), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.text, c.want) << c.what;
}

TEST(QuoteRequests, NoRefusedValueReachesAnyText) {
    using Builder = std::function<std::string(std::string_view)>;
    const std::pair<const char*, Builder> slots[] = {
        {"ranking market", [](std::string_view v) { return RankingPageRequest("p", {v, "A", "zf", 1, 0, 20}); }},
        {"ranking class", [](std::string_view v) { return RankingPageRequest("p", {"12", v, "zf", 1, 0, 20}); }},
        {"ranking type", [](std::string_view v) { return RankingPageRequest("p", {"12", "A", v, 1, 0, 20}); }},
        {"watch item",
         [](std::string_view v) { return WatchListQuoteRequest({"600010.02", std::string(v)}, kEditorFields); }},
        {"stock code", [](std::string_view v) { return StockCodeParam(v); }},
        {"minute chart", [](std::string_view v) { return MinuteChartRequest(v); }},
        {"order code", [](std::string_view v) { return OrderRequest(true, v); }},
    };
    const std::string refused[] = {"", "60&c=1", "a=b", "60%26", "6 0", "60|1", "60,1", "60\n", "\xE5\x8D\x8E"};
    for (const auto& [what, build] : slots) {
        EXPECT_FALSE(build("600010.02").empty()) << what;
        for (const std::string& v : refused)
            EXPECT_EQ(build(v), "") << what << " took \"" << v << "\"";
    }

    const std::u16string typedRefused[] = {u"", u"6&", u"h=y", u"h%", u"h y", u"60.1", u"华岳", u"６０"};
    for (const std::u16string& t : typedRefused) {
        EXPECT_EQ(CodeSearchRequest(t), "") << "code search took a refused text";
        EXPECT_EQ(PinyinSearchRequest(t), "") << "pinyin search took a refused text";
    }
}

} // namespace
