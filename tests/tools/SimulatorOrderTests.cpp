// The simulated exchange behind the order functions: the maximum quantity
// (funds over price in whole lots, or the available shares), orders that
// fill at or through the last price and move funds and positions, orders
// that rest and hold their funds until cancelled, batch orders, and every
// refusal: no trade session of this logon, another account's holder, wrong
// password, insufficient funds or position, a bad price step, the market
// closed. The customers and their sessions are the trade login's.
#include "SimTestClient.h"

#include "tools/simulator/CBrokerSimulator.h"
#include "tools/simulator/SimMarketDay.h"
#include "tools/simulator/SimOrderRoutes.h"
#include "tools/simulator/SimTradeLoginRoutes.h"
#include "tools/simulator/SimTradeQueryRoutes.h"

#include <gtest/gtest.h>

#include <map>

namespace {

constexpr const char* kKey = "0rderSess1onKey9";
const std::string kHead = "tc_service=300&tc_isunicode=1&";

// The first row of a reply as "name=value" texts, or the error text.
struct Answer {
    std::u16string error;
    std::vector<std::vector<std::u16string>> rows;
    std::u16string Field(const char* name) const {
        return rows.empty() || fields.count(name) == 0 ? u"" : rows[0][fields.at(name)];
    }
    std::map<std::string, size_t> fields;
};

class SimulatorOrders : public ::testing::Test {
protected:
    void SetUp() override {
        auto login = std::make_unique<CSimTradeLoginRoutes>();
        accounts = login->SharedAccounts();
        auto group = std::make_unique<CSimOrderRoutes>(*login);
        exchange = &group->Exchange();
        auto queries = std::make_unique<CSimTradeQueryRoutes>(*login, group->Exchange());
        server.AddRoutes(std::move(login));
        server.AddRoutes(std::move(group));
        server.AddRoutes(std::move(queries));
        // After the close: the market's prices are the day's last.
        server.SetClock(SimChinaMs(2026, 12, 4, 15, 30));
        port = server.Start(0);
        ASSERT_GT(port, 0);
        session = LogOn(port, kKey);
        ASSERT_FALSE(session.empty());
        // 张伟 holds shares in every market, an odd lot of 600023 among
        // them; 李娜 holds 8,000 yuan and no shares.
        richSession = TradeLogin("000100012345", "123456", "authtype=0&authdata=");
        poorSession = TradeLogin("000100012346", "135790", "authtype=2&authdata=orb2026");
        kRich = richSession + "&operway=i&trdpwd=123456&fundid=000100012345";
        kPoor = poorSession + "&operway=i&trdpwd=135790&fundid=000100012346";
        ASSERT_EQ(kRich.rfind("custid=000100012345&tradesession=T0001&", 0), 0u) << kRich;
    }
    // The session text 500/1 hands out for the customer.
    std::string TradeLogin(const char* fundid, const char* password, const char* auth) {
        const Answer a = Ask(std::string("TC_MFUNCNO=500&TC_SFUNCNO=1&inputtype=Z&inputid=") + fundid +
                             "&trdpwd=" + password + "&" + auth);
        const std::u16string text = a.Field("session");
        return std::string(text.begin(), text.end());
    }
    // The request sealed under a service logon (by default the test's).
    Answer Ask(const std::string& text, const std::string& key = kKey, const std::string& logon = {}) {
        Answer a;
        const std::string sealed = SealRequest(text + "&session=" + (logon.empty() ? session : logon), key);
        std::unique_ptr<CDataSetList> list = OpenReply(PostRaw(port, kHead + sealed), key);
        if (!list || list->IsError()) {
            a.error = list ? list->GetErrorText().str() : u"unreadable";
            return a;
        }
        CDataSet* set = *list->GetAt(0);
        for (int c = 0; set && c < set->GetColumnCount(); ++c)
            a.fields[set->GetColumn(c)->GetName()] = static_cast<size_t>(c);
        for (bool on = set && set->MoveFirst(); on; on = set->MoveNext()) {
            a.rows.emplace_back();
            for (int c = 0; c < set->GetColumnCount(); ++c)
                a.rows.back().push_back(set->GetFieldText(c).str());
        }
        return a;
    }
    std::u16string MaxBuy(const std::string& account, const char* code) {
        return Ask("TC_MFUNCNO=500&TC_SFUNCNO=4&" + account + "&bsflag=B&stkcode=" + code).Field("num");
    }
    std::u16string MaxSell(const std::string& account, const char* code) {
        return Ask("TC_MFUNCNO=500&TC_SFUNCNO=5&" + account + "&bsflag=S&stkcode=" + code).Field("num");
    }
    Answer Order(const std::string& account, const std::string& holder, const char* bsflag, const char* code,
                 const char* price, const char* qty) {
        return Ask("TC_MFUNCNO=500&TC_SFUNCNO=6&" + account + "&bsflag=" + bsflag + "&price=" + price +
                   "&qty=" + qty + "&stkcode=" + code + "&" + holder);
    }
    Answer Cancel(const std::string& account, const std::u16string& ordersno) {
        std::string no(ordersno.begin(), ordersno.end());
        return Ask("TC_MFUNCNO=500&TC_SFUNCNO=7&" + account + "&ordersno=" + no);
    }

    CBrokerSimulator server;
    std::shared_ptr<CSimTradeAccounts> accounts;
    CSimExchange* exchange = nullptr;
    int port = -1;
    std::string session;
    std::string richSession, poorSession; // as 500/1 handed them out
    std::string kRich, kPoor;             // the session, the password and the fund account
};

const std::string kPoorSh = "market=1&secuid=A100012346";
const std::string kRichSz = "market=0&secuid=0100012345";
const std::string kRichSh = "market=1&secuid=A100012345";

} // namespace

TEST_F(SimulatorOrders, TheMaximumIsFundsOverPriceInWholeLotsOrTheAvailableSharesOddLotsIncluded) {
    const Answer a = Ask("TC_MFUNCNO=500&TC_SFUNCNO=4&" + kPoor + "&bsflag=B&stkcode=600010");
    EXPECT_EQ(a.Field("stkcode"), u"600010");
    EXPECT_EQ(a.Field("stkname"), u"华岳银行");
    EXPECT_EQ(a.Field("price"), u"8.62");
    EXPECT_EQ(a.Field("market"), u"1");
    EXPECT_EQ(a.Field("num"), u"900") << "8,000 / 8.62 is 928 shares: 9 lots";
    EXPECT_EQ(MaxSell(kRich, "000016"), u"2050");
    EXPECT_EQ(MaxSell(kRich, "600023"), u"50");
    EXPECT_EQ(MaxSell(kPoor, "000016"), u"0");
    // B shares trade in their own currency and market.
    const Answer b = Ask("TC_MFUNCNO=500&TC_SFUNCNO=4&" + kRich + "&bsflag=B&stkcode=900905");
    EXPECT_EQ(b.Field("market"), u"3");
    EXPECT_EQ(b.Field("price"), u"0.655");
    EXPECT_EQ(b.Field("num"), u"30500") << "US$20,000 at 0.655";
    EXPECT_EQ(Ask("TC_MFUNCNO=500&TC_SFUNCNO=5&" + kRich + "&stkcode=200168").Field("market"), u"2");
}

TEST_F(SimulatorOrders, AFillMovesFundsAndSharesARestingOrderHoldsThemUntilCancelledAndAFillCannotBeCancelled) {
    const Answer filled = Order(kPoor, kPoorSh, "0B", "600010", "9.00", "100");
    ASSERT_TRUE(filled.error.empty()) << std::string(filled.error.begin(), filled.error.end());
    EXPECT_EQ(filled.rows.at(0).at(0), u"100001") << "the contract number is field 0";
    EXPECT_EQ(MaxBuy(kPoor, "600010"), u"800") << "it filled at 8.62: 7,138 left";
    EXPECT_EQ(MaxSell(kPoor, "600010"), u"0") << "bought today, sellable tomorrow";
    EXPECT_EQ(exchange->PositionOf("000100012346", "1", "600010")->quantity, 100);

    const Answer resting = Order(kPoor, kPoorSh, "0B", "600010", "8.00", "100");
    EXPECT_EQ(resting.rows.at(0).at(0), u"100002");
    EXPECT_EQ(MaxBuy(kPoor, "600010"), u"700") << "800 yuan held for the resting order";
    EXPECT_EQ(Cancel(kPoor, u"100002").error, u"");
    EXPECT_EQ(MaxBuy(kPoor, "600010"), u"800") << "the cancel gives the funds back";
    EXPECT_EQ(Cancel(kPoor, u"100002").error, u"该委托已撤单");
    EXPECT_EQ(Cancel(kPoor, u"100001").error, u"该委托已成交，不能撤单");
    EXPECT_EQ(Cancel(kRich, u"100001").error, u"委托不存在") << "another account's order";

    // An odd lot sold at the market price: the whole 50, the proceeds free at once.
    const Answer odd = Order(kRich, kRichSh, "0i", "600023", "", "50");
    EXPECT_TRUE(odd.error.empty());
    EXPECT_EQ(MaxSell(kRich, "600023"), u"0");
    const std::vector<SimOrder>& orders = exchange->Orders();
    ASSERT_EQ(orders.size(), 3u);
    EXPECT_EQ(orders.back().status, SimOrder::Status::Filled);
}

TEST_F(SimulatorOrders, EveryRefusalSaysWhyAndChangesNothing) {
    const struct {
        const char* what;
        std::string text;
        std::u16string error;
    } cases[] = {
        {"no trade session", "TC_MFUNCNO=500&TC_SFUNCNO=6&bsflag=0B&price=9&qty=100&stkcode=600010&" + kPoorSh,
         u"交易登录已失效，请重新登录"},
        {"a session never handed out", "TC_MFUNCNO=500&TC_SFUNCNO=4&custid=000100012346&tradesession=T0099&trdpwd=1",
         u"交易登录已失效，请重新登录"},
        {"another customer's session", "TC_MFUNCNO=500&TC_SFUNCNO=4&custid=000100012346&tradesession=T0001&trdpwd=1",
         u"交易登录已失效，请重新登录"},
        {"another account's fund", "TC_MFUNCNO=500&TC_SFUNCNO=6&" + poorSession + "&trdpwd=135790&fundid=000100012345",
         u"资金账号与登录账号不符"},
        {"a wrong password", "TC_MFUNCNO=500&TC_SFUNCNO=6&" + poorSession + "&trdpwd=1&" + kPoorSh, u"交易密码错误"},
        {"another account's holder", "TC_MFUNCNO=500&TC_SFUNCNO=6&" + kPoor + "&bsflag=0B&price=9&qty=100&stkcode=000016&" + kRichSz,
         u"股东代码不存在"},
        {"a Shanghai code on a Shenzhen holder", "TC_MFUNCNO=500&TC_SFUNCNO=6&" + kRich + "&bsflag=0B&price=9&qty=100&stkcode=600010&" + kRichSz,
         u"证券代码不存在"},
        {"an index", "TC_MFUNCNO=500&TC_SFUNCNO=6&" + kPoor + "&bsflag=0B&price=9&qty=100&stkcode=000001&" + kPoorSh,
         u"证券代码不存在"},
        {"a Shenzhen price type in Shanghai", "TC_MFUNCNO=500&TC_SFUNCNO=6&" + kPoor + "&bsflag=0a&price=&qty=100&stkcode=600010&" + kPoorSh,
         u"报价方式有误"},
        {"a bad price step", "TC_MFUNCNO=500&TC_SFUNCNO=6&" + kPoor + "&bsflag=0B&price=8.625&qty=100&stkcode=600010&" + kPoorSh,
         u"委托价格不符合最小价位"},
        {"no price", "TC_MFUNCNO=500&TC_SFUNCNO=6&" + kPoor + "&bsflag=0B&price=&qty=100&stkcode=600010&" + kPoorSh,
         u"委托价格有误"},
        {"an odd lot bought", "TC_MFUNCNO=500&TC_SFUNCNO=6&" + kPoor + "&bsflag=0B&price=9&qty=50&stkcode=600010&" + kPoorSh,
         u"买入数量必须为100股的整数倍"},
        {"insufficient funds", "TC_MFUNCNO=500&TC_SFUNCNO=6&" + kPoor + "&bsflag=0B&price=9&qty=1000&stkcode=600010&" + kPoorSh,
         u"可用资金不足"},
        {"insufficient position", "TC_MFUNCNO=500&TC_SFUNCNO=6&" + kRich + "&bsflag=0S&price=11&qty=2100&stkcode=000016&" + kRichSz,
         u"可用股份不足"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Ask(c.text).error, c.error);
    }
    // The customer's own session under another service logon.
    const std::string otherKey = "An0therLogonKey1";
    const std::string otherLogon = LogOn(port, otherKey);
    ASSERT_FALSE(otherLogon.empty());
    EXPECT_EQ(Ask("TC_MFUNCNO=500&TC_SFUNCNO=6&" + kPoor + "&bsflag=0B&price=9&qty=100&stkcode=600010&" + kPoorSh,
                  otherKey, otherLogon)
                  .error,
              u"交易登录已失效，请重新登录");
    exchange->SetMarketOpen(false);
    EXPECT_EQ(Order(kPoor, kPoorSh, "0B", "600010", "9", "100").error, u"非交易时间，市场已闭市");
    EXPECT_TRUE(exchange->Orders().empty());
    EXPECT_EQ(MaxBuy(kPoor, "600010"), u"900");
}

TEST_F(SimulatorOrders, ABatchPlacesEachEntryAndAnswersOneRowPerEntry) {
    const Answer a = Ask("TC_MFUNCNO=100&TC_SFUNCNO=20&" + kRich +
                         "&codes=000016,600010,600047&price=11.50,8.00,5.86&qty=100,200,50"
                         "&fundids=000100012345,000100012345,000100012345"
                         "&secuids=0100012345,A100012345,A100012345&markets=0,1,1");
    ASSERT_EQ(a.rows.size(), 3u);
    EXPECT_EQ(a.rows[0], (std::vector<std::u16string>{u"000016", u"委托已提交,合同序号为100001"}));
    EXPECT_EQ(a.rows[1], (std::vector<std::u16string>{u"600010", u"委托已提交,合同序号为100002"}));
    EXPECT_EQ(a.rows[2], (std::vector<std::u16string>{u"600047", u"买入数量必须为100股的整数倍"}));
    EXPECT_EQ(exchange->Orders().size(), 2u);
    EXPECT_EQ(Ask("TC_MFUNCNO=100&TC_SFUNCNO=20&" + kRich + "&codes=000016,600010&price=1&qty=100,100"
                  "&fundids=000100012345,000100012345&secuids=0100012345,A100012345&markets=0,1").error,
              u"批量委托参数不一致");
}

TEST_F(SimulatorOrders, EveryCustomerHoldsOnlyWhatItsHoldersCanTradeAndSeveralHoldShares) {
    int holding = 0;
    for (const SimTradeAccount& account : accounts->Accounts()) {
        SCOPED_TRACE(account.fundid);
        const std::vector<SimPosition>& positions = exchange->Positions(account.fundid);
        holding += !positions.empty();
        for (const SimPosition& p : positions) {
            bool held = false;
            for (const SimHolderAccount& h : account.holders)
                held = held || h.market == p.market;
            EXPECT_TRUE(held) << p.code << " in market " << p.market;
            EXPECT_LE(p.available, p.quantity);
        }
        EXPECT_FALSE(exchange->Funds(account.fundid).empty()) << "every customer has funds";
    }
    EXPECT_GE(holding, 3);
}

TEST_F(SimulatorOrders, TodaysTablesListTheSessionsOwnOrdersDealsAndCancellableOrdersAndFundsPerCurrency) {
    ASSERT_TRUE(Order(kRich, kRichSh, "0B", "600010", "8.00", "100").error.empty());  // rests: 100001
    ASSERT_TRUE(Order(kRich, kRichSz, "0B", "000016", "11.50", "200").error.empty()); // fills: 100002
    const auto table = [this](const std::string& account, int sub) {
        return Ask("TC_MFUNCNO=500&TC_SFUNCNO=" + std::to_string(sub) + "&" + account);
    };
    const Answer orders = table(kRich, 10);
    ASSERT_EQ(orders.rows.size(), 2u);
    EXPECT_EQ(orders.Field("ordersno"), u"100001");
    EXPECT_EQ(orders.Field("market"), u"1");
    EXPECT_EQ(orders.Field("secuid"), u"A100012345");
    EXPECT_EQ(orders.Field("orderprice"), u"8.00");
    EXPECT_EQ(orders.Field("orderqty"), u"100");
    EXPECT_EQ(orders.Field("sign"), u"1");
    EXPECT_EQ(orders.rows[1][orders.fields.at("orderprice")], u"11.50") << "a filled order keeps its own price";
    const Answer deals = table(kRich, 11);
    ASSERT_EQ(deals.rows.size(), 1u);
    EXPECT_EQ(deals.Field("stkcode"), u"000016");
    EXPECT_EQ(deals.Field("matchprice"), u"11.32") << "the fill's price";
    EXPECT_EQ(deals.Field("matchqty"), u"200");
    EXPECT_EQ(deals.Field("matchamt"), u"2264.00");
    EXPECT_EQ(deals.Field("orderprice"), u"11.50");
    const Answer open = table(kRich, 14);
    ASSERT_EQ(open.rows.size(), 1u);
    EXPECT_EQ(open.Field("ordersno"), u"100001");
    ASSERT_TRUE(Cancel(kRich, u"100001").error.empty());
    EXPECT_TRUE(table(kRich, 14).rows.empty());
    EXPECT_EQ(table(kRich, 10).rows.size(), 2u) << "a cancelled order stays among today's orders";
    EXPECT_TRUE(table(kPoor, 10).rows.empty()) << "another customer's orders are not listed";
    const Answer funds = table(kRich, 12);
    ASSERT_EQ(funds.rows.size(), 3u);
    EXPECT_EQ(funds.Field("~moneytype"), u"人民币");
    EXPECT_EQ(funds.rows[1][funds.fields.at("~moneytype")], u"美元");
    EXPECT_EQ(funds.Field("fundavl"), u"497736.00") << "500,000 less 200 shares filled at the last, 11.32";
    for (int sub : {10, 11, 12, 14}) {
        EXPECT_EQ(table("fundid=000100012345", sub).error, u"交易登录已失效，请重新登录") << sub;
        EXPECT_EQ(table(poorSession + "&operway=i&fundid=000100012345", sub).error, u"资金账号与登录账号不符") << sub;
    }
}

TEST_F(SimulatorOrders, ARequestTheServerRefusesInPlaceOfItsAnswerIsNotCarriedOut) {
    ASSERT_TRUE(Order(kRich, kRichSh, "0B", "600010", "8.00", "100").error.empty());  // rests: 100001
    const std::u16string maxBuy = MaxBuy(kRich, "000016");
    SimFault errorSet(SimFaultKind::ErrorSet);
    errorSet.errorText = u"系统繁忙";
    errorSet.errorCode = 7;
    SimFault lostInsideBody(SimFaultKind::CloseInsideBody);
    lostInsideBody.errorText = u"会话已失效，请重新登录";
    lostInsideBody.errorCode = 100;
    const SimFault refusals[] = {SimFaultKind::SessionLost, errorSet, lostInsideBody};
    for (const SimFault& fault : refusals) {
        SCOPED_TRACE(static_cast<int>(fault.kind));
        for (int sub : {6, 7})
            server.InjectFaultFor(500, sub, fault, 1);
        server.InjectFaultFor(100, 20, fault, 1);
        Order(kRich, kRichSz, "0B", "000016", "11.50", "100");
        Cancel(kRich, u"100001");
        Ask("TC_MFUNCNO=100&TC_SFUNCNO=20&" + kRich + "&codes=000016&price=11.50&qty=100"
            "&fundids=000100012345&secuids=0100012345&markets=0");
        ASSERT_EQ(exchange->Orders().size(), 1u) << "no order placed";
        EXPECT_EQ(exchange->Orders()[0].status, SimOrder::Status::Resting) << "nor cancelled";
        EXPECT_EQ(MaxBuy(kRich, "000016"), maxBuy) << "nor funds moved";
    }
    // Without the fault, the same requests act.
    EXPECT_TRUE(Cancel(kRich, u"100001").error.empty());
    EXPECT_EQ(exchange->Orders()[0].status, SimOrder::Status::Cancelled);
}

TEST_F(SimulatorOrders, ATradeLoginFollowsItsPhoneToAFreshServiceLogonButNoOtherPhone) {
    const std::string phone = "&imei=350000000000017";
    const std::string login = "TC_MFUNCNO=500&TC_SFUNCNO=1&inputtype=Z&inputid=000100012346&trdpwd=135790"
                              "&authtype=2&authdata=orb2026" + phone;
    const Answer first = Ask(login);
    const std::u16string wide = first.Field("session");
    const std::string trade = std::string(wide.begin(), wide.end()) + "&operway=i&fundid=000100012346";
    const std::string query = "TC_MFUNCNO=500&TC_SFUNCNO=12&" + trade;
    ASSERT_TRUE(Ask(query + phone).error.empty());

    // The phone lost its service session and logged on again by itself.
    const std::string newKey = "FreshLogonKey042";
    const std::string newLogon = LogOn(port, newKey);
    ASSERT_FALSE(newLogon.empty());
    EXPECT_EQ(Ask(query + "&imei=350000000000025", newKey, newLogon).error, u"交易登录已失效，请重新登录")
        << "another phone";
    EXPECT_EQ(Ask(query, newKey, newLogon).error, u"交易登录已失效，请重新登录") << "no phone named";
    EXPECT_TRUE(Ask(query + phone, newKey, newLogon).error.empty()) << "the same phone";
    EXPECT_EQ(Ask(query + phone).error, u"交易登录已失效，请重新登录") << "the logon it left";
}
