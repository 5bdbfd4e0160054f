// Today's orders, deals, cancellable orders and funds.
#include "tools/simulator/SimTradeQueryRoutes.h"

#include <cstdio>
#include <string_view>

namespace {

// Thousandths as a text with decimals places.
std::string MilliText(int64_t milli, int decimals) {
    char text[40];
    std::snprintf(text, sizeof text, "%.*f", decimals, static_cast<double>(milli) / 1000.0);
    return text;
}

// B shares are priced to the thousandth.
int PriceDecimals(std::string_view market) { return market == "2" || market == "3" ? 3 : 2; }

std::u16string_view CurrencyName(std::string_view currency) {
    if (currency == "1") return u"美元";
    if (currency == "2") return u"港元";
    return u"人民币";
}

} // namespace

CSimTradeQueryRoutes::CSimTradeQueryRoutes(const CSimTradeLoginRoutes& login, const CSimExchange& exchange)
    : m_accounts(login.SharedAccounts()), m_sessions(login.SharedSessions()), m_exchange(exchange) {}

void CSimTradeQueryRoutes::AddRoutes(CSimRouteTable& table) {
    table.Add(kFuncTodayOrders, [this](const SimRequest& r, SimContext& c) { return OrderTable(r, c, Table::Orders); });
    table.Add(kFuncTodayDeals, [this](const SimRequest& r, SimContext& c) { return OrderTable(r, c, Table::Deals); });
    table.Add(kFuncCancellable, [this](const SimRequest& r, SimContext& c) { return OrderTable(r, c, Table::Cancellable); });
    table.Add(kFuncFunds, [this](const SimRequest& r, SimContext& c) { return FundsTable(r, c); });
}

const SimTradeAccount* CSimTradeQueryRoutes::TradeAccount(const SimRequest& request, const SimContext& context,
                                                SimReply* refusal) const {
    return m_sessions->Account(*m_accounts, request, context, refusal);
}

SimReply CSimTradeQueryRoutes::OrderTable(const SimRequest& request, SimContext& context, Table table) const {
    SimReply refusal;
    const SimTradeAccount* account = TradeAccount(request, context, &refusal);
    if (!account) return refusal;
    CDataSetWriter w;
    w.AddSet(table == Table::Deals ? "deals" : "orders");
    const int name = w.AddColumn(DataSetType::WideText, "stkname", u"证券名称");
    const int code = w.AddColumn(DataSetType::AnsiText, "stkcode", u"证券代码");
    const bool deals = table == Table::Deals;
    const int dealPrice = deals ? w.AddColumn(DataSetType::AnsiText, "matchprice", u"成交价格") : -1;
    const int dealQty = deals ? w.AddColumn(DataSetType::AnsiText, "matchqty", u"成交数量") : -1;
    const int dealAmount = deals ? w.AddColumn(DataSetType::AnsiText, "matchamt", u"成交金额") : -1;
    const int price = w.AddColumn(DataSetType::AnsiText, "orderprice", u"委托价格");
    const int qty = w.AddColumn(DataSetType::AnsiText, "orderqty", u"委托数量");
    const int side = w.AddColumn(DataSetType::WideText, "~bsflag", u"买卖");
    const int status = deals ? -1 : w.AddColumn(DataSetType::WideText, "~orderstatus", u"状态");
    const int no = w.AddColumn(DataSetType::AnsiText, "ordersno", u"委托序号");
    const int market = w.AddColumn(DataSetType::AnsiText, "market", u"市场");
    const int secuid = w.AddColumn(DataSetType::AnsiText, "secuid", u"股东代码");
    const int sign = w.AddColumn(DataSetType::Int32, "sign", u"方向");
    const int post = w.AddColumn(DataSetType::AnsiText, "poststr", u"定位串");
    for (const SimOrder* o : m_exchange.OrdersOf(account->fundid)) {
        const bool filled = o->status == SimOrder::Status::Filled;
        if ((deals && !filled) || (table == Table::Cancellable && o->status != SimOrder::Status::Resting))
            continue;
        const int decimals = PriceDecimals(o->market);
        w.AddRow();
        w.SetText(name, o->name);
        w.SetAnsiText(code, o->code);
        if (deals) {
            w.SetAnsiText(dealPrice, MilliText(o->fillPrice, decimals));
            w.SetAnsiText(dealQty, std::to_string(o->fillQuantity));
            w.SetAnsiText(dealAmount, MilliText(o->fillPrice * o->fillQuantity, 2));
        }
        w.SetAnsiText(price, MilliText(o->price, decimals));
        w.SetAnsiText(qty, std::to_string(o->quantity));
        w.SetText(side, o->buy ? u"买入" : u"卖出");
        if (status >= 0)
            w.SetText(status, filled ? u"已成交" : o->status == SimOrder::Status::Cancelled ? u"已撤单" : u"未成交");
        w.SetAnsiText(no, o->ordersno);
        w.SetAnsiText(market, o->market);
        w.SetAnsiText(secuid, o->secuid);
        w.SetInt(sign, o->buy ? 1 : -1);
        w.SetAnsiText(post, o->ordersno);
    }
    return SimReply::Ok(w);
}

SimReply CSimTradeQueryRoutes::FundsTable(const SimRequest& request, SimContext& context) const {
    SimReply refusal;
    const SimTradeAccount* account = TradeAccount(request, context, &refusal);
    if (!account) return refusal;
    const std::vector<SimPosition> positions = m_exchange.PositionsOf(account->fundid);
    CDataSetWriter w;
    w.AddSet("funds");
    const int currencyName = w.AddColumn(DataSetType::WideText, "~moneytype", u"币种");
    const int balance = w.AddColumn(DataSetType::AnsiText, "fundbal", u"资金余额");
    const int available = w.AddColumn(DataSetType::AnsiText, "fundavl", u"可用资金");
    const int frozen = w.AddColumn(DataSetType::AnsiText, "frozenbal", u"冻结资金");
    const int value = w.AddColumn(DataSetType::AnsiText, "stkvalue", u"证券市值");
    const int asset = w.AddColumn(DataSetType::AnsiText, "totalasset", u"总资产");
    const int post = w.AddColumn(DataSetType::AnsiText, "poststr", u"定位串");
    for (const SimFunds& f : m_exchange.FundsOf(account->fundid)) {
        // Holdings are valued at the last price (the previous close before the open).
        int64_t worth = 0;
        for (const SimPosition& p : positions) {
            if (CSimExchange::CurrencyOf(p.market) != f.currency) continue;
            const char* quoteMarket = p.market == "0" || p.market == "2" ? ".01" : ".02";
            const SimStock* s = context.market.Find(p.code + quoteMarket);
            if (!s) continue;
            const double last = s->last > 0 ? s->last : s->prevClose;
            worth += static_cast<int64_t>(last * 1000 + 0.5) * p.quantity;
        }
        w.AddRow();
        w.SetText(currencyName, CurrencyName(f.currency));
        w.SetAnsiText(balance, MilliText(f.balance, 2));
        w.SetAnsiText(available, MilliText(f.available, 2));
        w.SetAnsiText(frozen, MilliText(f.balance - f.available, 2));
        w.SetAnsiText(value, MilliText(worth, 2));
        w.SetAnsiText(asset, MilliText(f.balance + worth, 2));
        w.SetAnsiText(post, f.currency);
    }
    return SimReply::Ok(w);
}
