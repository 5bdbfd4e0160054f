// The start-up functions of the simulated broker: service logon with the
// RSA-enciphered session key, the sealed configuration fetch with its menu
// tree and option groups, logout, and request opening.
#include "SimTestClient.h"

#include "core/CNameValueList.h"
#include "tools/simulator/CBrokerSimulator.h"
#include "tools/simulator/CSimMenuTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>

namespace {
constexpr const char* kKey = "Ab3dEf7hIj9kLm2n";
const std::string kHead = "tc_service=300&tc_isunicode=1&";

std::string Tail(const std::string& session) {
    return "&imei=860000000000001&mobile=13800000000&softName=VuvEr&sysVer=6.0&reqNo=7&supportCompress=18&session=" +
           session;
}

class SimulatorService : public ::testing::Test {
protected:
    void SetUp() override { port = server.Start(0); ASSERT_GT(port, 0); }
    CBrokerSimulator server;
    int port = -1;
};

CDataSet* FindSet(CDataSetList& list, const char* tag, int nth = 0) {
    for (int i = 0; i < list.GetCount(); ++i) {
        CDataSet* s = *list.GetAt(i);
        if (s && std::string(s->GetTag()) == tag && nth-- == 0) return s;
    }
    return nullptr;
}

std::string Ansi(const CDataSet& set, const char* column) {
    int length = 0;
    const uint8_t* p = set.GetFieldPtr(set.FindColumn(column), &length, nullptr);
    return p ? std::string(reinterpret_cast<const char*>(p), length) : std::string();
}
} // namespace

TEST_F(SimulatorService, LogonWithAnOaepEncipheredKeyGivesCountingSessionsInAPlainReplyAndABadKeyNone) {
    RawReply r = PostRaw(port, kHead + "TC_MFUNCNO=100&TC_SFUNCNO=1&key=" + EncipherSessionKey(kKey) + Tail(""));
    int etag[4];
    ASSERT_TRUE(ParseETag(r.etag, etag));
    EXPECT_EQ(etag[0], 0);
    EXPECT_EQ(etag[3], 0) << "the logon reply is never sealed";
    auto list = OpenReply(r, "");
    ASSERT_TRUE(list);
    ASSERT_FALSE(list->IsError());
    CDataSet* set = *list->GetAt(0);
    ASSERT_TRUE(set->MoveFirst());
    EXPECT_STREQ(set->GetColumn(0)->GetName(), "session");
    EXPECT_EQ(set->GetFieldText(0), u"S0001");
    EXPECT_EQ(server.GetSessionKey(), kKey);
    EXPECT_EQ(LogOn(port, "Zz9Yy8Xx7Ww6Vv5U"), "S0002");
    EXPECT_EQ(server.GetSessionString(), "S0002");

    for (const std::string& key : {std::string("00112233"), std::string("XYZ"), std::string()}) {
        RawReply refused = PostRaw(port, kHead + "TC_MFUNCNO=100&TC_SFUNCNO=1&key=" + key);
        auto error = OpenReply(refused, "");
        ASSERT_TRUE(error) << key;
        EXPECT_TRUE(error->IsError()) << key;
        EXPECT_GT(ErrorOf(refused), 0) << key;
    }
    EXPECT_EQ(server.GetSessionString(), "S0002");
    EXPECT_EQ(server.GetSessionKey(), "Zz9Yy8Xx7Ww6Vv5U");
}

TEST_F(SimulatorService, SealedConfigurationFetchIsOpenedLoggedAndAnsweredSealedAndPacked) {
    std::string session = LogOn(port, kKey);
    ASSERT_EQ(session, "S0001");
    server.ClearRequestLog();
    std::string body = kHead + SealRequest("TC_MFUNCNO=100&TC_SFUNCNO=2" + Tail(session), kKey);
    RawReply r = PostRaw(port, body);

    auto log = server.GetRequestLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].main, 100);
    EXPECT_EQ(log[0].sub, 2);
    EXPECT_TRUE(log[0].sealed);
    EXPECT_EQ(log[0].Get("imei"), "860000000000001");
    EXPECT_EQ(log[0].Get("SESSION"), "S0001") << "names match ignoring case";
    EXPECT_FALSE(log[0].Has("TC_REQDATA"));
    EXPECT_EQ(log[0].rawBody, body);
    EXPECT_EQ(log[0].target, "/");
    EXPECT_EQ(log[0].GetHeader("content-type"), "application/x-www-form-urlencoded");

    int etag[4];
    ASSERT_TRUE(ParseETag(r.etag, etag));
    EXPECT_EQ(etag[0], 0);
    EXPECT_EQ(etag[2], 18);
    EXPECT_EQ(etag[3], 36);
    EXPECT_FALSE(OpenReply(r, "WrongKey123456")) << "only the session key opens the reply";
    auto list = OpenReply(r, kKey);
    ASSERT_TRUE(list);
    ASSERT_FALSE(list->IsError());

    CDataSet* menus = FindSet(*list, "menus");
    ASSERT_TRUE(menus);
    struct Col {
        const char* name;
        DataSetType type;
    };
    for (const Col& c : {Col{"id", DataSetType::Int32}, Col{"pid", DataSetType::Int32},
                         Col{"title", DataSetType::WideText}, Col{"keyword", DataSetType::AnsiText},
                         Col{"param", DataSetType::AnsiText}, Col{"request", DataSetType::AnsiText}}) {
        int index = menus->FindColumn(c.name);
        ASSERT_GE(index, 0) << c.name;
        EXPECT_EQ(menus->GetColumn(index)->GetType(), c.type) << c.name;
    }
    EXPECT_EQ(menus->GetRowCount(), static_cast<int>(CSimMenuTree::Nodes().size()));

    // The option groups read as the client's configuration store reads them:
    // the sort names the ranking offers, every indicator the charts draw, and
    // market codes short enough for their 10-byte fields.
    std::set<std::string> groups;
    for (int i = 0; CDataSet* config = FindSet(*list, "config", i); ++i) {
        ASSERT_TRUE(config->MoveFirst());
        const std::string name = Ansi(*config, "name");
        groups.insert(name);
        CNameValueList options;
        CWString value = config->GetFieldText(1);
        ASSERT_GE(options.Parse(value.c_str()), 2) << name;
        if (name == "sort") {
            EXPECT_EQ(std::u16string(options.FindValue(u"zf")), u"涨幅");
            EXPECT_EQ(std::u16string(options.FindValue(u"cjl")), u"成交量");
        }
        if (name == "tech") {
            for (const char16_t* indicator : {u"MACD", u"KDJ", u"RSI", u"BOLL", u"WR", u"DMA", u"AROON", u"CCI", u"SAR"})
                EXPECT_TRUE(options.FindValue(indicator));
        }
        for (int o = 0; name == "market" && o < options.GetCount(); ++o)
            EXPECT_LT(std::u16string(options.GetName(o)).size(), 10u);
    }
    EXPECT_EQ(groups, (std::set<std::string>{"market", "type", "sort", "tech"}));
}

TEST_F(SimulatorService, ASealThatNoLogonKeyOpensAnswersSessionLost) {
    LogOn(port, kKey);
    RawReply r = PostRaw(port, kHead + SealRequest("TC_MFUNCNO=100&TC_SFUNCNO=2" + Tail("S0001"), "OtherKey0000000"));
    EXPECT_EQ(ErrorOf(r), 100);
    auto log = server.GetRequestLog();
    ASSERT_FALSE(log.empty());
    EXPECT_TRUE(log.back().sealed);
    EXPECT_FALSE(log.back().Has("imei"));
}

TEST_F(SimulatorService, PlainRequestsAreReadStrictlyAndAnsweredNeitherSealedNorPackedUnasked) {
    // Were any of the malformed ones read as 500/6, this route would answer it.
    server.SetRoute(500, 6, [](const SimRequest&, CSimMarket&) {
        CDataSetWriter w;
        w.AddSet("ok");
        return SimReply::Ok(w);
    });
    struct Case {
        const char* text;
        int main, sub;
        const char16_t* error;  // null: the "ok" set
    };
    const Case cases[] = {
        {"tc_mfuncno=100&tc_sfuncno=22", 100, 22, nullptr},
        {"tc_mfuncno=500&TC_SFUNCNO=6", 500, 6, nullptr},
        {"TC_MFUNCNO=777&TC_SFUNCNO=5", 777, 5, u"不支持的功能(777/5)"},
        {"TC_MFUNCNO=0500&TC_SFUNCNO=6", -1, -1, u"不支持的功能(-1/-1)"},
        {"TC_MFUNCNO= 500&TC_SFUNCNO=6", -1, -1, u"不支持的功能(-1/-1)"},
        {"TC_MFUNCNO=500&TC_SFUNCNO=6.0", -1, -1, u"不支持的功能(-1/-1)"},
        {"TC_MFUNCNO=500&TC_SFUNCNO=6&tc_mfuncno=500", -1, -1, u"不支持的功能(-1/-1)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        server.ClearRequestLog();
        RawReply r = PostRaw(port, kHead + c.text);
        auto log = server.GetRequestLog();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].main, c.main);
        EXPECT_EQ(log[0].sub, c.sub);
        int etag[4];
        ASSERT_TRUE(ParseETag(r.etag, etag));
        EXPECT_EQ(etag[2], 0);
        EXPECT_EQ(etag[3], 0);
        auto list = OpenReply(r, "");
        ASSERT_TRUE(list);
        EXPECT_EQ(list->IsError(), c.error != nullptr);
        if (c.error) {
            EXPECT_EQ(list->GetErrorText(), c.error);
        } else {
            EXPECT_STREQ((*list->GetAt(0))->GetTag(), "ok");
        }
    }
}

TEST_F(SimulatorService, ARouteThatNeedsASessionSeesTheLogonItsRequestBelongsToAndTheMarketClock) {
    struct Group : ISimRouteGroup {
        void AddRoutes(CSimRouteTable& table) override {
            table.Add(
                900, 1,
                [](const SimRequest&, SimContext& context) {
                    CDataSetWriter w;
                    w.AddSet("seen");
                    w.AddColumn(DataSetType::AnsiText, "session", u"会话");
                    w.AddColumn(DataSetType::AnsiText, "clock", u"时钟");
                    w.AddRow();
                    w.SetAnsiText(0, context.session.id);
                    w.SetAnsiText(1, std::to_string(context.clock.NowMs()));
                    return SimReply::Ok(w);
                },
                SimNeeds::Session);
        }
    };
    server.AddRoutes(std::make_unique<Group>());
    server.SetClock(1700000000123);
    const std::string request = "TC_MFUNCNO=900&TC_SFUNCNO=1";
    EXPECT_EQ(ErrorOf(PostRaw(port, kHead + request)), 100) << "no logon yet: the handler is not called";
    const std::string other = "Zz9Yy8Xx7Ww6Vv5U";
    ASSERT_EQ(LogOn(port, kKey), "S0001");
    ASSERT_EQ(LogOn(port, other), "S0002");
    struct Case {
        std::string body, key, session;
    };
    const Case cases[] = {
        {kHead + SealRequest(request + Tail(""), kKey), kKey, "S0001"},    // by the key that opened the seal
        {kHead + request + Tail("S0001"), kKey, "S0001"},                  // by the session named in clear
        {kHead + request, other, "S0002"},                                 // else the latest logon
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        auto list = OpenReply(PostRaw(port, c.body), c.key);
        ASSERT_TRUE(list);
        CDataSet* set = FindSet(*list, "seen");
        ASSERT_TRUE(set && set->MoveFirst());
        EXPECT_EQ(Ansi(*set, "session"), c.session);
        EXPECT_EQ(Ansi(*set, "clock"), "1700000000123");
    }
}

TEST_F(SimulatorService, MenuTreeNamesEveryKeywordOfTheQuoteAndTradeScreensAndItsQuoteRequestsAreServed) {
    const auto& nodes = CSimMenuTree::Nodes();
    std::set<std::string> keywords;
    std::set<int> ids;
    for (const auto& n : nodes) {
        SCOPED_TRACE(n.id);
        keywords.insert(n.keyword);
        EXPECT_TRUE(ids.insert(n.id).second) << "a duplicate id";
        EXPECT_TRUE(n.pid == 0 || ids.count(n.pid)) << "a node before its parent";
        EXPECT_FALSE(n.title.empty());
        if (n.keyword == "xgmm") {
            EXPECT_EQ(n.request.back(), '&') << "the password window appends the login id";
        }
        // The functions this server serves: every request naming one is answered.
        if (n.request.rfind("tc_mfuncno=31000&", 0) == 0 || n.request.rfind("tc_mfuncno=100&", 0) == 0) {
            auto list = OpenReply(PostRaw(port, kHead + n.request + "&" + n.param), "");
            ASSERT_TRUE(list);
            EXPECT_FALSE(list->IsError()) << n.request;
        }
    }
    for (const char* k : {"zxhq", "pxhq", "bkhq", "bkhqlist", "bkph", "zgzs", "sjzs", "newslist", "newscontent",
                          "F10", "fschart", "kxchart", "xxhq", "trademenu", "openfund", "buysale", "wtcd",
                          "tradequery", "hisquery", "xgmm", "qzxq", "trade_zjcx", "tradeexit", "of_jjkh", "yywd"})
        EXPECT_TRUE(keywords.count(k)) << k;
    auto node = [&](int id) {
        return *std::find_if(nodes.begin(), nodes.end(), [id](const SimMenuNode& n) { return n.id == id; });
    };
    // The trade query windows pick their variant by these ids.
    EXPECT_EQ(node(371).keyword, "tradequery");
    EXPECT_EQ(node(372).keyword, "wtcd");
    EXPECT_GE(std::count_if(nodes.begin(), nodes.end(), [](auto& n) { return n.pid == 0; }), 8)
        << "the main frame shows eight root children";
}
