// The accounts, holdings and orders of the simulated exchange.
#include "tools/simulator/CSimExchange.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int64_t kMilli = 1000;

int64_t ToMilli(double v) { return static_cast<int64_t>(std::llround(v * kMilli)); }

// A price text in thousandths: digits with at most three decimals; -1
// when it is not one.
int64_t ParseMilli(std::string_view text) {
    if (text.empty() || text.size() > 12) return -1;
    int64_t whole = 0, frac = 0;
    int decimals = -1;
    for (char c : text) {
        if (c == '.') {
            if (decimals >= 0) return -1;
            decimals = 0;
        } else if (c >= '0' && c <= '9') {
            if (decimals < 0) {
                whole = whole * 10 + (c - '0');
            } else {
                if (++decimals > 3) {
                    if (c != '0') return -1;  // beyond a thousandth: only zeros
                    continue;
                }
                frac = frac * 10 + (c - '0');
            }
        } else {
            return -1;
        }
    }
    for (int d = decimals < 0 ? 0 : std::min(decimals, 3); d < 3; ++d) frac *= 10;
    return whole * kMilli + frac;
}

// A quantity: one to nine digits.
int64_t ParseQuantity(std::string_view text) {
    if (text.empty() || text.size() > 9) return -1;
    int64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return -1;
        v = v * 10 + (c - '0');
    }
    return v;
}

// What each customer holds at the start, by fund id: A and B shares, odd
// lots among them, and funds in the currencies of their markets.
struct Seed {
    const char* fundid;
    std::vector<SimPosition> positions;
    std::vector<SimFunds> funds;
};

SimFunds Cash(const char* currency, int64_t milli) { return {currency, milli, milli}; }

const std::vector<Seed>& Seeds() {
    static const std::vector<Seed> seeds = {
        // 张伟: every market, an odd lot of 600023.
        {"000100012345",
         {{"1", "600010", 1000, 1000}, {"1", "600023", 50, 50}, {"0", "000016", 2050, 2050},
          {"0", "300058", 300, 300}, {"3", "900905", 3000, 3000}, {"2", "200168", 2000, 2000}},
         {Cash("0", 500000 * kMilli), Cash("1", 20000 * kMilli), Cash("2", 50000 * kMilli)}},
        // 李娜: a little cash and no shares.
        {"000100012346", {}, {Cash("0", 8000 * kMilli)}},
        // 王芳: A shares in both markets and Shanghai B.
        {"000300056789",
         {{"1", "600047", 800, 800}, {"0", "000016", 500, 500}, {"3", "900905", 1200, 1200}},
         {Cash("0", 126400 * kMilli), Cash("1", 3500 * kMilli)}},
        // 陈静: Shanghai A with an odd lot after a split sale, one Shenzhen stock.
        {"000500088001",
         {{"1", "600010", 2000, 2000}, {"1", "600023", 350, 350}, {"0", "300058", 100, 100}},
         {Cash("0", 61250 * kMilli + 500)}},
        // 刘洋 (locked): kept for when the account is opened again.
        {"000200023456", {{"0", "000016", 1000, 1000}}, {Cash("0", 15000 * kMilli)}},
    };
    return seeds;
}

} // namespace

CSimExchange::CSimExchange(const CSimTradeAccounts& accounts) {
    for (const Seed& seed : Seeds()) {
        if (!accounts.FindFund(seed.fundid))
            continue;
        m_positions[seed.fundid] = seed.positions;
        m_funds[seed.fundid] = seed.funds;
    }
}

std::string CSimExchange::TradeMarketOf(const SimStock& stock) {
    if (stock.secType == SimStock::kIndex) return {};
    const bool b = stock.secType == SimStock::kBShare;
    if (stock.market == 1) return b ? "2" : "0";
    if (stock.market == 2) return b ? "3" : "1";
    return {};
}

std::string CSimExchange::CurrencyOf(std::string_view market) {
    if (market == "3") return "1";
    if (market == "2") return "2";
    return "0";
}

bool CSimExchange::IsPriceTypeOf(std::string_view bsflag, std::string_view market, bool buy) {
    const bool shenzhen = market == "0" || market == "2";
    static const char* const kSzBuy[] = {"0B", "0a", "0b", "0c", "0d", "0e"};
    static const char* const kSzSell[] = {"0S", "0f", "0g", "0h", "0i", "0j"};
    static const char* const kShBuy[] = {"0B", "0d", "0q"};
    static const char* const kShSell[] = {"0S", "0i", "0r"};
    if (shenzhen) {
        for (const char* c : buy ? kSzBuy : kSzSell)
            if (bsflag == c) return true;
        return false;
    }
    for (const char* c : buy ? kShBuy : kShSell)
        if (bsflag == c) return true;
    return false;
}

std::vector<SimPosition>& CSimExchange::Positions(std::string_view fundid) {
    return m_positions[std::string(fundid)];
}

std::vector<SimFunds>& CSimExchange::Funds(std::string_view fundid) { return m_funds[std::string(fundid)]; }

SimFunds* CSimExchange::FundsIn(std::string_view fundid, std::string_view currency) {
    for (SimFunds& f : Funds(fundid))
        if (f.currency == currency) return &f;
    return nullptr;
}

SimPosition* CSimExchange::PositionOf(std::string_view fundid, std::string_view market, std::string_view code) {
    for (SimPosition& p : Positions(fundid))
        if (p.market == market && p.code == code) return &p;
    return nullptr;
}

int64_t CSimExchange::MaxQuantity(std::string_view fundid, const SimStock& stock, bool buy, int64_t price) {
    const std::string market = TradeMarketOf(stock);
    if (!buy) {
        const SimPosition* p = PositionOf(fundid, market, stock.code);
        return p ? p->available : 0;
    }
    const SimFunds* f = FundsIn(fundid, CurrencyOf(market));
    if (!f || price <= 0) return 0;
    return f->available / price / 100 * 100;
}

SimOrderResult CSimExchange::Place(const SimTradeAccount& account, const SimHolderAccount& holder,
                                   const SimStock& stock, std::string_view bsflag, std::string_view price,
                                   std::string_view qty) {
    if (!m_open) return {u"非交易时间，市场已闭市", nullptr};
    const bool buy = !bsflag.empty() && (bsflag == "0B" || (bsflag != "0S" && IsPriceTypeOf(bsflag, holder.market, true)));
    if (!IsPriceTypeOf(bsflag, holder.market, buy)) return {u"报价方式有误", nullptr};
    const bool limit = bsflag == "0B" || bsflag == "0S";
    const int64_t last = ToMilli(stock.last > 0 ? stock.last : stock.prevClose);
    int64_t at = last;
    if (limit) {
        at = ParseMilli(price);
        if (at <= 0) return {u"委托价格有误", nullptr};
        const int64_t step = stock.PriceDecimals() == 3 ? 1 : 10;
        if (at % step != 0) return {u"委托价格不符合最小价位", nullptr};
    }
    const int64_t n = ParseQuantity(qty);
    if (n <= 0) return {u"委托数量有误", nullptr};
    SimPosition* position = PositionOf(account.fundid, holder.market, stock.code);
    SimFunds* funds = FundsIn(account.fundid, CurrencyOf(holder.market));
    if (buy) {
        if (n % 100 != 0) return {u"买入数量必须为100股的整数倍", nullptr};
        if (!funds || funds->available < at * n) return {u"可用资金不足", nullptr};
    } else if (!position || position->available < n) {
        return {u"可用股份不足", nullptr};
    }
    SimOrder order;
    char number[16];
    std::snprintf(number, sizeof number, "%06d", 100000 + m_nextOrder++);
    order.ordersno = number;
    order.fundid = account.fundid;
    order.market = holder.market;
    order.secuid = holder.secuid;
    order.code = stock.code;
    order.name = stock.name;
    order.buy = buy;
    order.bsflag = std::string(bsflag);
    order.price = at;
    order.quantity = n;
    // At or through the last price, or priced by the market: a fill now.
    const bool fills = !limit || (buy ? at >= last : at <= last);
    if (buy) {
        funds->available -= at * n;
        order.held = at * n;
    } else {
        position->available -= n;
        order.held = n;
    }
    m_orders.push_back(order);
    SimOrder& placed = m_orders.back();
    if (fills) Fill(placed, last);
    return {{}, &placed};
}

void CSimExchange::Fill(SimOrder& order, int64_t price) {
    SimFunds* funds = FundsIn(order.fundid, CurrencyOf(order.market));
    if (order.buy) {
        // The held amount goes back and the cost at the fill price leaves.
        funds->available += order.held - price * order.quantity;
        funds->balance -= price * order.quantity;
        SimPosition* p = PositionOf(order.fundid, order.market, order.code);
        if (!p) {
            Positions(order.fundid).push_back({order.market, order.code, 0, 0});
            p = &Positions(order.fundid).back();
        }
        p->quantity += order.quantity;  // sellable from the next day
    } else {
        SimPosition* p = PositionOf(order.fundid, order.market, order.code);
        p->quantity -= order.quantity;
        funds->balance += price * order.quantity;
        funds->available += price * order.quantity;
    }
    order.held = 0;
    order.fillPrice = price;
    order.fillQuantity = order.quantity;
    order.status = SimOrder::Status::Filled;
}

std::u16string CSimExchange::Cancel(std::string_view fundid, std::string_view ordersno) {
    for (SimOrder& o : m_orders) {
        if (o.ordersno != ordersno || o.fundid != fundid) continue;
        if (o.status == SimOrder::Status::Filled) return u"该委托已成交，不能撤单";
        if (o.status == SimOrder::Status::Cancelled) return u"该委托已撤单";
        if (o.buy) {
            FundsIn(o.fundid, CurrencyOf(o.market))->available += o.held;
        } else if (SimPosition* p = PositionOf(o.fundid, o.market, o.code)) {
            p->available += o.held;
        }
        o.held = 0;
        o.status = SimOrder::Status::Cancelled;
        return {};
    }
    return u"委托不存在";
}

std::vector<const SimOrder*> CSimExchange::OrdersOf(std::string_view fundid) const {
    std::vector<const SimOrder*> out;
    for (const SimOrder& o : m_orders)
        if (o.fundid == fundid) out.push_back(&o);
    return out;
}

std::vector<SimFunds> CSimExchange::FundsOf(std::string_view fundid) const {
    const auto it = m_funds.find(fundid);
    return it == m_funds.end() ? std::vector<SimFunds>() : it->second;
}

std::vector<SimPosition> CSimExchange::PositionsOf(std::string_view fundid) const {
    const auto it = m_positions.find(fundid);
    return it == m_positions.end() ? std::vector<SimPosition>() : it->second;
}
