// Maximum quantity, orders, cancellations and batch orders.
#include "tools/simulator/SimOrderRoutes.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace {

constexpr int kErrTrade = 1;  // ETag error of a refusal; its text says why

SimReply Refuse(std::u16string_view text) { return SimReply::Error(text, kErrTrade); }

const SimHolderAccount* HolderOf(const SimTradeAccount& account, std::string_view market, std::string_view secuid) {
    for (const SimHolderAccount& h : account.holders)
        if (h.market == market && h.secuid == secuid) return &h;
    return nullptr;
}

// The listed stock of a code in a trade market; null for an index or an
// unknown code.
const SimStock* StockIn(CSimMarket& market, std::string_view code, std::string_view tradeMarket) {
    const char* quoteMarket = tradeMarket == "0" || tradeMarket == "2" ? ".01" : ".02";
    const SimStock* s = market.Find(std::string(code) + quoteMarket);
    if (!s || CSimExchange::TradeMarketOf(*s) != tradeMarket) return nullptr;
    return s;
}

// A listed stock of the code in any trade market (A before B by the list).
const SimStock* AnyStock(CSimMarket& market, std::string_view code) {
    for (const char* m : {"0", "1", "2", "3"})
        if (const SimStock* s = StockIn(market, code, m)) return s;
    return nullptr;
}

std::string PriceText(double v, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    return text;
}

std::string Number(long long v) { return std::to_string(v); }

} // namespace

CSimOrderRoutes::CSimOrderRoutes(const CSimTradeLoginRoutes& login)
    : m_accounts(login.SharedAccounts()), m_sessions(login.SharedSessions()), m_exchange(*m_accounts) {}

const SimTradeAccount* CSimOrderRoutes::TradeAccount(const SimRequest& request, const SimContext& context,
                                                SimReply* refusal) const {
    return m_sessions->Account(*m_accounts, request, context, refusal);
}

void CSimOrderRoutes::AddRoutes(CSimRouteTable& table) {
    // The trade session is what these functions check; a request without
    // one is refused as such, so a bare order text is answered, not taken
    // for a lost service session.
    table.Add(kFuncMaxBuyQuantity, [this](const SimRequest& r, SimContext& c) { return MaxQuantity(r, c, true); });
    table.Add(kFuncMaxSellQuantity, [this](const SimRequest& r, SimContext& c) { return MaxQuantity(r, c, false); });
    table.Add(kFuncOrder, [this](const SimRequest& r, SimContext& c) { return Order(r, c); });
    table.Add(kFuncCancelOrder, [this](const SimRequest& r, SimContext& c) { return CancelOrder(r, c); });
    table.Add(kFuncBatchOrder, [this](const SimRequest& r, SimContext& c) { return BatchOrder(r, c); });
}

SimReply CSimOrderRoutes::MaxQuantity(const SimRequest& request, SimContext& context, bool buy) {
    SimReply refusal;
    const SimTradeAccount* account = TradeAccount(request, context, &refusal);
    if (!account) return refusal;
    if (request.Get("trdpwd") != account->password) return Refuse(u"交易密码错误");
    const SimStock* stock = AnyStock(context.market, request.Get("stkcode"));
    if (!stock) return Refuse(u"证券代码不存在");
    const double last = stock->last > 0 ? stock->last : stock->prevClose;
    const int64_t num = m_exchange.MaxQuantity(account->fundid, *stock, buy, static_cast<int64_t>(last * 1000 + 0.5));
    CDataSetWriter w;
    w.AddSet("maxqty");
    const int code = w.AddColumn(DataSetType::AnsiText, "stkcode", u"证券代码");
    const int name = w.AddColumn(DataSetType::WideText, "stkname", u"证券名称");
    const int price = w.AddColumn(DataSetType::AnsiText, "price", u"价格");
    const int n = w.AddColumn(DataSetType::AnsiText, "num", u"最大数量");
    const int market = w.AddColumn(DataSetType::AnsiText, "market", u"市场");
    w.AddRow();
    w.SetAnsiText(code, stock->code);
    w.SetText(name, stock->name);
    w.SetAnsiText(price, PriceText(last, stock->PriceDecimals()));
    w.SetAnsiText(n, Number(num));
    w.SetAnsiText(market, CSimExchange::TradeMarketOf(*stock));
    return SimReply::Ok(w);
}

SimReply CSimOrderRoutes::Order(const SimRequest& request, SimContext& context) {
    SimReply refusal;
    const SimTradeAccount* account = TradeAccount(request, context, &refusal);
    if (!account) return refusal;
    if (request.Get("trdpwd") != account->password) return Refuse(u"交易密码错误");
    const SimHolderAccount* holder = HolderOf(*account, request.Get("market"), request.Get("secuid"));
    if (!holder) return Refuse(u"股东代码不存在");
    const SimStock* stock = StockIn(context.market, request.Get("stkcode"), holder->market);
    if (!stock) return Refuse(u"证券代码不存在");
    const SimOrderResult placed = m_exchange.Place(*account, *holder, *stock, request.Get("bsflag"),
                                                   request.Get("price"), request.Get("qty"));
    if (!placed.order) return Refuse(placed.refusal);
    CDataSetWriter w;
    w.AddSet("order");
    const int no = w.AddColumn(DataSetType::AnsiText, "ordersno", u"合同序号");
    w.AddRow();
    w.SetAnsiText(no, placed.order->ordersno);
    return SimReply::Ok(w);
}

SimReply CSimOrderRoutes::CancelOrder(const SimRequest& request, SimContext& context) {
    SimReply refusal;
    const SimTradeAccount* account = TradeAccount(request, context, &refusal);
    if (!account) return refusal;
    const std::string secuid = request.Get("secuid");
    if (!secuid.empty() && !HolderOf(*account, request.Get("market"), secuid)) return Refuse(u"股东代码不存在");
    const std::string ordersno = request.Get("ordersno");
    const std::u16string refused = m_exchange.Cancel(account->fundid, ordersno);
    if (!refused.empty()) return Refuse(refused);
    CDataSetWriter w;
    w.AddSet("cancel");
    const int no = w.AddColumn(DataSetType::AnsiText, "ordersno", u"合同序号");
    w.AddRow();
    w.SetAnsiText(no, ordersno);
    return SimReply::Ok(w);
}

SimReply CSimOrderRoutes::BatchOrder(const SimRequest& request, SimContext& context) {
    auto split = [](const std::string& text) {
        std::vector<std::string> items;
        size_t start = 0;
        while (start <= text.size()) {
            const size_t end = std::min(text.find(',', start), text.size());
            items.push_back(text.substr(start, end - start));
            start = end + 1;
        }
        return items;
    };
    SimReply refusal;
    const SimTradeAccount* account = TradeAccount(request, context, &refusal);
    if (!account) return refusal;
    if (request.Get("trdpwd") != account->password) return Refuse(u"交易密码错误");
    const std::vector<std::string> codes = split(request.Get("codes")), prices = split(request.Get("price")),
                                   qtys = split(request.Get("qty")), fundids = split(request.Get("fundids")),
                                   secuids = split(request.Get("secuids")), markets = split(request.Get("markets"));
    const size_t n = codes.size();
    if (request.Get("codes").empty() || prices.size() != n || qtys.size() != n || fundids.size() != n ||
        secuids.size() != n || markets.size() != n)
        return Refuse(u"批量委托参数不一致");
    CDataSetWriter w;
    w.AddSet("batch");
    const int code = w.AddColumn(DataSetType::AnsiText, "stkcode", u"证券代码");
    const int result = w.AddColumn(DataSetType::WideText, "result", u"结果");
    for (size_t i = 0; i < n; ++i) {
        std::u16string text;
        const SimHolderAccount* holder = HolderOf(*account, markets[i], secuids[i]);
        const SimStock* stock = holder ? StockIn(context.market, codes[i], holder->market) : nullptr;
        if (fundids[i] != account->fundid || !holder) {
            text = u"股东代码不存在";
        } else if (!stock) {
            text = u"证券代码不存在";
        } else {
            const char* limit = "0B";
            const SimOrderResult placed = m_exchange.Place(*account, *holder, *stock, limit, prices[i], qtys[i]);
            if (placed.order) {
                text = u"委托已提交,合同序号为";
                for (char c : placed.order->ordersno) text += static_cast<char16_t>(c);
            } else {
                text = placed.refusal;
            }
        }
        w.AddRow();
        w.SetAnsiText(code, codes[i]);
        w.SetText(result, text);
    }
    return SimReply::Ok(w);
}
