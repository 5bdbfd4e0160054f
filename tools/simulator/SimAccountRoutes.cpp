// History, password change and warrant exercise.
#include "tools/simulator/SimAccountRoutes.h"

#include "core/StrUtil.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kErrTrade = 1;
constexpr int64_t kDayMs = 86400000;
constexpr int64_t kLocalOffsetMs = 8 * 3600 * 1000;
constexpr int kHistoryDays = 180;

SimReply Refuse(std::u16string_view text) { return SimReply::Error(text, kErrTrade); }

// The civil date of a day count since 1970-01-01 (proleptic Gregorian).
std::string DateOfDay(int64_t days) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t doe = days - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const int64_t m = mp < 10 ? mp + 3 : mp - 9;
    const int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", static_cast<int>(y), static_cast<int>(m), static_cast<int>(d));
    return text;
}

uint32_t Mix(uint32_t h, std::string_view text) {
    for (char c : text)
        h = (h ^ static_cast<uint8_t>(c)) * 16777619u;
    return h;
}

uint32_t Next(uint32_t& state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

// Yuan text to thousandths; -1 when not a price of up to three decimals.
int64_t Thousandths(std::string_view text) {
    int64_t whole = 0, frac = 0;
    int decimals = -1;
    if (text.empty()) return -1;
    for (char c : text) {
        if (c == '.') {
            if (decimals >= 0) return -1;
            decimals = 0;
        } else if (c >= '0' && c <= '9') {
            if (decimals >= 0) {
                if (++decimals > 3) return -1;
                frac = frac * 10 + (c - '0');
            } else {
                whole = whole * 10 + (c - '0');
                if (whole > 100000000) return -1;
            }
        } else {
            return -1;
        }
    }
    for (int i = std::max(decimals, 0); i < 3; ++i) frac *= 10;
    return whole * 1000 + frac;
}

std::string Yuan(int64_t thousandths) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(thousandths) / 1000.0);
    return text;
}

} // namespace

CSimAccountRoutes::CSimAccountRoutes(const CSimTradeLoginRoutes& login, CSimOrderRoutes& orders)
    : m_accounts(login.SharedAccounts()), m_sessions(login.SharedSessions()), m_exchange(orders.Exchange()) {}

const std::vector<SimWarrant>& CSimAccountRoutes::Warrants() {
    static const std::vector<SimWarrant> warrants = {
        {"582010", "1", u"华岳CWB1", "600010.02", "7.80"},
        {"582082", "1", u"明远CWB1", "600082.02", "24.50"},
        {"031031", "0", u"万峰JTC1", "000031.01", "6.90"},
    };
    return warrants;
}

void CSimAccountRoutes::AddRoutes(CSimRouteTable& table) {
    table.Add(kFuncOrderHistory, [this](const SimRequest& r, SimContext& c) { return History(r, c, false); });
    table.Add(kFuncDealHistory, [this](const SimRequest& r, SimContext& c) { return History(r, c, true); });
    table.Add(kFuncChangePassword, [this](const SimRequest& r, SimContext& c) { return ChangePassword(r, c); });
    table.Add(kFuncWarrantPrecheck, [this](const SimRequest& r, SimContext& c) { return WarrantPrecheck(r, c); });
    table.Add(kFuncWarrantExercise, [this](const SimRequest& r, SimContext& c) { return Exercise(r, c); });
}

const SimTradeAccount* CSimAccountRoutes::TradeAccount(const SimRequest& request, const SimContext& context,
                                                SimReply* refusal) const {
    return m_sessions->Account(*m_accounts, request, context, refusal);
}

std::vector<SimPastOrder> CSimAccountRoutes::PastOrders(const SimTradeAccount& account, const CSimMarket& market,
                                                        int64_t nowMs) const {
    // The stocks the customer's holders can trade.
    struct Tradable {
        const SimStock* stock;
        const SimHolderAccount* holder;
    };
    std::vector<Tradable> tradable;
    for (const SimHolderAccount& h : account.holders)
        for (const SimStock& s : market.Stocks())
            if (CSimExchange::TradeMarketOf(s) == h.market && s.secType != SimStock::kIndex &&
                std::none_of(tradable.begin(), tradable.end(), [&](const Tradable& t) { return t.stock == &s; }))
                tradable.push_back({&s, &h});
    std::vector<SimPastOrder> out;
    if (tradable.empty()) return out;
    const int64_t today = (nowMs + kLocalOffsetMs) / kDayMs;
    int serial = 0;
    for (int64_t day = today - kHistoryDays; day < today; ++day) {
        const int weekday = static_cast<int>((day + 4) % 7);
        if (weekday == 0 || weekday == 6) continue;
        uint32_t state = Mix(Mix(2166136261u, account.fundid), std::to_string(day)) | 1u;
        const int count = static_cast<int>(Next(state) % 4); // 0..3 orders that day
        const std::string date = DateOfDay(day);
        for (int i = 0; i < count; ++i) {
            const Tradable& t = tradable[Next(state) % tradable.size()];
            SimPastOrder o;
            o.date = date;
            // A minute of the two sessions, 09:30-11:30 and 13:00-15:00.
            const int offset = static_cast<int>(Next(state) % 240);
            const int minute = offset < 120 ? 9 * 60 + 30 + offset : 13 * 60 + offset - 120;
            char time[16];
            std::snprintf(time, sizeof time, "%02d%02d%02d", minute / 60, minute % 60,
                          static_cast<int>(Next(state) % 60));
            o.time = time;
            char no[16];
            std::snprintf(no, sizeof no, "%06d", 300000 + ++serial);
            o.ordersno = no;
            o.market = t.holder->market;
            o.secuid = t.holder->secuid;
            o.code = t.stock->code;
            o.name = t.stock->name;
            o.buy = Next(state) % 2 == 0;
            const double move = (static_cast<int>(Next(state) % 1601) - 800) / 10000.0;
            char price[32];
            std::snprintf(price, sizeof price, "%.*f", t.stock->PriceDecimals(),
                          t.stock->OnTick(t.stock->prevClose * (1.0 + move)));
            o.price = price;
            o.quantity = (1 + Next(state) % 30) * 100;
            const uint32_t fate = Next(state) % 10;
            if (fate < 7) {
                o.matched = o.quantity;
                o.status = u"已成";
            } else if (fate < 8 && o.quantity > 100) {
                o.matched = o.quantity / 200 * 100;
                o.status = u"部撤";
            } else {
                o.status = u"已撤";
            }
            o.poststr = o.date + o.ordersno;
            out.push_back(std::move(o));
        }
    }
    return out;
}

SimReply CSimAccountRoutes::History(const SimRequest& request, SimContext& context, bool deals) {
    SimReply refusal;
    const SimTradeAccount* account = TradeAccount(request, context, &refusal);
    if (!account) return refusal;
    const std::string start = request.Get("strdate"), end = request.Get("enddate");
    if (start.size() != 8 || end.size() != 8 || !IsDigits(start) || !IsDigits(end) || start > end) return Refuse(u"查询日期有误");
    const std::string cursor = request.Get("poststr");
    const int limit = std::clamp(request.GetInt("request_num", kMaxPageRows), 1, kMaxPageRows);

    CDataSetWriter w;
    w.AddSet(deals ? "hisdeal" : "hisorder");
    const int post = w.AddColumn(DataSetType::AnsiText, "poststr");
    const int sign = w.AddColumn(DataSetType::AnsiText, "sign");
    const int date = w.AddColumn(DataSetType::AnsiText, deals ? "bizdate" : "orderdate", deals ? u"成交日期" : u"委托日期");
    const int time = w.AddColumn(DataSetType::AnsiText, deals ? "matchtime" : "ordertime", deals ? u"成交时间" : u"委托时间");
    const int code = w.AddColumn(DataSetType::AnsiText, "stkcode", u"证券代码");
    const int name = w.AddColumn(DataSetType::WideText, "stkname", u"证券名称");
    const int side = w.AddColumn(DataSetType::WideText, "bsflag", u"买卖");
    const int price = w.AddColumn(DataSetType::AnsiText, deals ? "matchprice" : "orderprice", deals ? u"成交价格" : u"委托价格");
    const int qty = w.AddColumn(DataSetType::AnsiText, deals ? "matchqty" : "orderqty", deals ? u"成交数量" : u"委托数量");
    const int more = deals ? w.AddColumn(DataSetType::AnsiText, "matchamt", u"成交金额")
                           : w.AddColumn(DataSetType::AnsiText, "matchqty", u"成交数量");
    const int status = deals ? -1 : w.AddColumn(DataSetType::WideText, "orderstatus", u"状态");
    const int no = w.AddColumn(DataSetType::AnsiText, "ordersno", u"合同序号");
    const int holder = w.AddColumn(DataSetType::AnsiText, "secuid", u"股东代码");
    int rows = 0;
    for (const SimPastOrder& o : PastOrders(*account, context.market, context.clock.NowMs())) {
        if (rows == limit) break;
        if (o.date < start || o.date > end || (!cursor.empty() && o.poststr <= cursor)) continue;
        if (deals && o.matched == 0) continue;
        w.AddRow();
        ++rows;
        w.SetAnsiText(post, o.poststr);
        w.SetAnsiText(sign, o.buy ? "1" : "-1");
        w.SetAnsiText(date, o.date);
        w.SetAnsiText(time, o.time);
        w.SetAnsiText(code, o.code);
        w.SetText(name, o.name);
        w.SetText(side, o.buy ? u"买入" : u"卖出");
        w.SetAnsiText(price, o.price);
        w.SetAnsiText(qty, std::to_string(deals ? o.matched : o.quantity));
        if (deals)
            w.SetAnsiText(more, Yuan(Thousandths(o.price) * o.matched));
        else
            w.SetAnsiText(more, std::to_string(o.matched));
        if (status >= 0) w.SetText(status, o.status);
        w.SetAnsiText(no, o.ordersno);
        w.SetAnsiText(holder, o.secuid);
    }
    return SimReply::Ok(w);
}

SimReply CSimAccountRoutes::ChangePassword(const SimRequest& request, SimContext& context) {
    SimReply refusal;
    const SimTradeAccount* account = TradeAccount(request, context, &refusal);
    if (!account) return refusal;
    if (request.Get("oldpwd") != account->password) return Refuse(u"原交易密码错误");
    const std::string next = request.Get("newpwd");
    if (next.size() != 6 || !IsDigits(next)) return Refuse(u"新密码必须为六位数字");
    m_accounts->SetPassword(account->fundid, next);
    char authid[16];
    std::snprintf(authid, sizeof authid, "AU%06d", m_nextAuth++);
    CDataSetWriter w;
    w.AddSet("pwd");
    const int column = w.AddColumn(DataSetType::AnsiText, "authid", u"认证号");
    w.AddRow();
    w.SetAnsiText(column, authid);
    return SimReply::Ok(w);
}

int64_t CSimAccountRoutes::WarrantsHeld(const std::string& fundid, const std::string& code) {
    const std::string key = fundid + "/" + code;
    auto it = m_warrantsHeld.find(key);
    if (it == m_warrantsHeld.end())
        it = m_warrantsHeld.emplace(key, static_cast<int64_t>(1 + Mix(2166136261u, key) % 8) * 1000).first;
    return it->second;
}

SimReply CSimAccountRoutes::WarrantPrecheck(const SimRequest& request, SimContext& context) {
    SimReply refusal;
    const SimTradeAccount* account = TradeAccount(request, context, &refusal);
    if (!account) return refusal;
    const std::string code = request.Get("stkcode");
    const auto warrant = std::find_if(Warrants().begin(), Warrants().end(),
                                      [&](const SimWarrant& w) { return w.code == code; });
    if (warrant == Warrants().end()) return Refuse(u"行权代码不存在");
    const SimFunds* funds = m_exchange.FundsIn(account->fundid, CSimExchange::CurrencyOf(warrant->market));
    CDataSetWriter w;
    w.AddSet("warrant");
    const int market = w.AddColumn(DataSetType::AnsiText, "market", u"市场");
    const int name = w.AddColumn(DataSetType::WideText, "stkname", u"证券名称");
    const int price = w.AddColumn(DataSetType::AnsiText, "exerprice", u"行权价格");
    const int fundavl = w.AddColumn(DataSetType::AnsiText, "fundavl", u"可用资金");
    const int stkavl = w.AddColumn(DataSetType::AnsiText, "stkavl", u"可用数量");
    w.AddRow();
    w.SetAnsiText(market, warrant->market);
    w.SetText(name, warrant->name);
    w.SetAnsiText(price, warrant->exercisePrice);
    w.SetAnsiText(fundavl, Yuan(funds ? funds->available : 0));
    w.SetAnsiText(stkavl, std::to_string(WarrantsHeld(account->fundid, code)));
    return SimReply::Ok(w);
}

SimReply CSimAccountRoutes::Exercise(const SimRequest& request, SimContext& context) {
    SimReply refusal;
    const SimTradeAccount* account = TradeAccount(request, context, &refusal);
    if (!account) return refusal;
    const std::string code = request.Get("stkcode");
    const auto warrant = std::find_if(Warrants().begin(), Warrants().end(),
                                      [&](const SimWarrant& w) { return w.code == code; });
    if (warrant == Warrants().end()) return Refuse(u"行权代码不存在");
    if (!m_exchange.IsMarketOpen()) return Refuse(u"非交易时间，不能行权");
    const bool holderOk = request.Get("market") == warrant->market &&
                          std::any_of(account->holders.begin(), account->holders.end(), [&](const SimHolderAccount& h) {
                              return h.market == warrant->market && h.secuid == request.Get("secuid");
                          });
    if (!holderOk) return Refuse(u"股东代码不存在");
    if (request.Get("price") != warrant->exercisePrice) return Refuse(u"行权价格不符");
    const std::string qtyText = request.Get("qty");
    const int64_t qty = IsDigits(qtyText) && qtyText.size() < 10
                            ? std::stoll(qtyText) : 0;
    if (qty <= 0) return Refuse(u"行权数量有误");
    if (qty > WarrantsHeld(account->fundid, code)) return Refuse(u"可用数量不足");
    SimFunds* funds = m_exchange.FundsIn(account->fundid, CSimExchange::CurrencyOf(warrant->market));
    const int64_t cost = Thousandths(warrant->exercisePrice) * qty;
    if (!funds || funds->available < cost) return Refuse(u"可用资金不足");
    funds->available -= cost;
    funds->balance -= cost;
    m_warrantsHeld[account->fundid + "/" + code] -= qty;
    const SimStock* stock = context.market.Find(warrant->underlying);
    if (SimPosition* held = stock ? m_exchange.PositionOf(account->fundid, warrant->market, stock->code) : nullptr)
        held->quantity += qty; // sellable from the next day
    char no[16];
    std::snprintf(no, sizeof no, "%06d", 700000 + m_nextExercise++);
    CDataSetWriter w;
    w.AddSet("exercise");
    const int column = w.AddColumn(DataSetType::AnsiText, "ordersno", u"合同序号");
    w.AddRow();
    w.SetAnsiText(column, no);
    return SimReply::Ok(w);
}
