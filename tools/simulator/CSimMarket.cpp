// The fixed market data. Company names are invented; index names are the
// public ones. Changes are in basis points of the previous close.
#include "tools/simulator/CSimMarket.h"

#include "core/CQuoteNumber.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <strings.h>

namespace {
bool IsMissing(double v) { return v == CSimMarket::kMissing; }

CQuoteNumber Missing() { return CQuoteNumber(CQuoteNumber::kMissingValue, 0); }

// A price or a price change travels as the exchange quotes it: the code is
// its security's decimals, 2 for A shares and indices ("8.52"), 3 for funds
// and B shares ("3.038"). The client shows price columns without the unit
// word that code 2 carries for counts. A missing value stays missing.
CQuoteNumber Price(double v, const SimStock& s) {
    return IsMissing(v) ? Missing() : CQuoteNumber(v, s.PriceDecimals());
}

// Percentages and ratios keep three decimals.
CQuoteNumber Ratio(double v) { return IsMissing(v) ? Missing() : CQuoteNumber(v, 3); }

// A large count shown with 万 or 亿 as its size asks.
CQuoteNumber Scaled(double v) {
    if (IsMissing(v)) return Missing();
    if (std::fabs(v) >= 1e8) return CQuoteNumber(std::round(v / 1e6) / 100.0, 2);
    if (std::fabs(v) >= 1e4) return CQuoteNumber(std::round(v / 1e3) / 10.0, 1);
    return CQuoteNumber(v, 0);
}

// Column name, type and label of a quote field number.
struct FieldInfo {
    int number;
    const char* name;
    DataSetType type;
    const char16_t* label;
};

constexpr FieldInfo kFields[] = {
    {1, "exchid", DataSetType::Int16, u"市场"},
    {2, "stktype", DataSetType::Int16, u"类别"},
    {3, "code", DataSetType::AnsiText, u"代码"},
    {4, "name", DataSetType::WideText, u"名称"},
    {11, "zrsp", DataSetType::Number, u"昨收"},
    {13, "jrkp", DataSetType::Number, u"今开"},
    {14, "zgcj", DataSetType::Number, u"最高"},
    {15, "zdcj", DataSetType::Number, u"最低"},
    {16, "zjcj", DataSetType::Number, u"现价"},
    {17, "cjsl", DataSetType::Number, u"总量"},
    {18, "cjje", DataSetType::Number, u"金额"},
    {20, "zd", DataSetType::Number, u"涨跌"},
    {21, "zdf", DataSetType::Number, u"涨幅"},
    {29, "wb", DataSetType::Number, u"委比"},
    {30, "lb", DataSetType::Number, u"量比"},
    {32, "jj", DataSetType::Number, u"均价"},
};

const FieldInfo* FindField(int number) {
    for (const auto& f : kFields)
        if (f.number == number) return &f;
    return nullptr;
}

// Bid level n (1..5) is field 50 + 2(n-1) (price) and 51 + 2(n-1) (volume);
// ask level n is 70 + 2(n-1) and 71 + 2(n-1).
bool IsLevelField(int number) { return (number >= 50 && number <= 59) || (number >= 70 && number <= 79); }

std::string LevelColumnName(int number) {
    bool bid = number < 70;
    int offset = number - (bid ? 50 : 70);
    int level = offset / 2 + 1;
    bool volume = offset % 2 == 1;
    char name[16];
    std::snprintf(name, sizeof name, "%s%s%d", bid ? "buy" : "sell", volume ? "vol" : "", level);
    return name;
}
} // namespace

CSimMarket::CSimMarket() {
    m_sectors = {
        {"hy", "HY01", u"银行"},     {"hy", "HY02", u"钢铁"},     {"hy", "HY03", u"医药"},
        {"hy", "HY04", u"地产"},     {"hy", "HY05", u"电子"},     {"hy", "HY06", u"能源"},
        {"gn", "GN01", u"新能源"},   {"gn", "GN02", u"人工智能"}, {"gn", "GN03", u"环保"},
        {"dq", "DQ01", u"上海板块"}, {"dq", "DQ02", u"广东板块"}, {"dq", "DQ03", u"江苏板块"},
    };

    // Shanghai A shares.
    AddStock("600010", 2, u"华岳银行", "HYYH", 8.52, 123, 1854320, "HY01|DQ01");
    AddStock("600023", 2, u"东麓钢铁", "DLGT", 3.41, -215, 926410, "HY02");
    AddStock("600047", 2, u"江屿港务", "JYGW", 5.86, 0, 214530, "DQ03");
    AddStock("600058", 2, u"云川电力", "YCDL", 12.30, 54, 331200, "HY06|GN01");
    AddStock("600082", 2, u"明远科技", "MYKJ", 27.45, 998, 1210880, "HY05|GN02");
    AddStock("600105", 2, u"北溪药业", "BXYY", 41.20, -312, 98320, "HY03");
    AddStock("600131", 2, u"瑞禾食品", "RHSP", 18.66, 27, 45210, "DQ01");
    AddStock("600167", 2, u"长澜能源", "CLNY", 9.87, -48, 502340, "HY06");
    AddStock("600209", 2, u"金湾地产", "JWDC", 6.05, -1000, 2210450, "HY04|DQ02");
    AddStock("600236", 2, u"海蓝航运", "HLHY", 4.72, 186, 730120, "DQ01");
    AddStock("600288", 2, u"青岚建材", "QLJC", 11.08, -75, 120340, "");
    AddStock("600315", 2, u"天启传媒", "TQCM", 7.93, 421, 640980, "GN02");
    AddStock("600372", 2, u"宏驰汽车", "HCQC", 22.16, 0, 0, "GN01");  // not traded today
    AddStock("600419", 2, u"南岭煤业", "NLMY", 14.37, -133, 388760, "HY06");
    AddStock("600455", 2, u"衡信证券", "HXZQ", 16.84, 247, 1533020, "DQ01");
    AddStock("600521", 2, u"嘉澍化工", "JSHG", 25.10, -562, 176540, "GN03");
    AddStock("600587", 2, u"星河通信", "XHTX", 33.72, 689, 905310, "HY05|GN02");
    AddStock("601088", 2, u"远航物流", "YHWL", 10.25, 35, 267890, "DQ03");
    AddStock("601126", 2, u"中和保险", "ZHBX", 45.60, -91, 412300, "HY01");
    AddStock("601399", 2, u"新材股份", "XCGF", 8.14, 1000, 3021560, "GN01|GN03");
    AddStock("603018", 2, u"润川环保", "RCHB", 19.33, -27, 87650, "GN03|DQ03");
    AddStock("603127", 2, u"晨曦电子", "CXDZ", 52.80, 145, 156780, "HY05");
    // Shenzhen A shares.
    AddStock("000016", 1, u"平川银行", "PCYH", 11.42, -86, 1632100, "HY01|DQ02");
    AddStock("000031", 1, u"万峰地产", "WFDC", 7.65, 212, 1987300, "HY04|DQ02");
    AddStock("000059", 1, u"金石矿业", "JSKY", 5.28, -397, 845600, "HY02");
    AddStock("000088", 1, u"华南电器", "HNDQ", 36.90, 58, 310400, "DQ02");
    AddStock("000123", 1, u"鸿运家电", "HYJD", 28.15, 0, 120800, "DQ02");
    AddStock("000158", 1, u"中诚制药", "ZCZY", 63.40, 531, 204500, "HY03");
    AddStock("000201", 1, u"大澄纺织", "DCFZ", 4.36, -119, 276300, "DQ03");
    AddStock("000267", 1, u"朗启软件", "LQRJ", 21.75, 876, 1456700, "HY05|GN02");
    AddStock("000352", 1, u"安和农业", "AHNY", 9.02, -33, 154900, "");
    AddStock("000405", 1, u"新渠水务", "XQSW", 6.48, 77, 98700, "GN03");
    AddStock("000512", 1, u"蓝海酒业", "LHJY", 128.60, -254, 65400, "DQ02");
    AddStock("000629", 1, u"昕明照明", "XMZM", 13.27, 302, 233100, "HY05");
    AddStock("000713", 1, u"北岳电气", "BYDQ", 17.90, -641, 401200, "HY06");
    AddStock("000851", 1, u"丰远种业", "FYZY", 15.55, 19, 77800, "");
    AddStock("002035", 1, u"锦程纸业", "JCZY", 8.88, -150, 190200, "DQ03");
    AddStock("002118", 1, u"紫岚半导体", "ZLBDT", 47.35, 995, 2105600, "HY05|GN02");
    AddStock("002246", 1, u"天衡机械", "THJX", 12.64, -421, 320500, "DQ03");
    AddStock("002389", 1, u"盛禾医疗", "SHYL", 34.18, 266, 144300, "HY03");
    AddStock("300058", 1, u"智云数据", "ZYSJ", 56.20, 1320, 1877400, "GN02");
    AddStock("300147", 1, u"博远生物", "BYSW", 29.74, -1185, 960300, "HY03");
    AddStock("300219", 1, u"云帆机器人", "YFJQR", 73.05, 452, 508800, "GN02|DQ02");
    AddStock("300316", 1, u"峰驰新能", "FCXN", 24.66, -8, 359100, "GN01");
    // Funds and B shares: prices on a 0.001 tick.
    AddStock("510880", 2, u"岳峰红利ETF", "YFHL", 3.012, 87, 4213500, "");
    AddStock("501018", 2, u"南溪优选LOF", "NXYX", 1.286, -34, 152300, "");
    AddStock("159915", 1, u"创新成长ETF", "CXCZ", 2.047, 153, 8820400, "");
    AddStock("161725", 1, u"白川消费LOF", "BCXF", 0.987, -62, 630700, "");
    AddStock("900905", 2, u"东港B股", "DGBG", 0.652, 46, 93400, "");
    AddStock("900948", 2, u"远洋B股", "YYBG", 1.873, -121, 48200, "");
    AddStock("200168", 1, u"澄江B股", "CJBG", 2.384, 0, 27600, "");
    AddStock("200596", 1, u"丰华B股", "FHBG", 5.126, 238, 31900, "");

    // Fields the server does not know, for the readers' "missing" paths.
    if (SimStock* s = FindMutable("600131.02")) {
        s->amount = kMissing;
        s->orderRatio = kMissing;
    }
    if (SimStock* s = FindMutable("000851.01")) s->volumeRatio = kMissing;

    AddIndex("000001", 2, u"上证指数", 3050.12, 48, 285430000);
    AddIndex("000016", 2, u"上证50", 2460.38, -35, 52310000);
    AddIndex("000300", 2, u"沪深300", 3612.77, 21, 143200000);
    AddIndex("399001", 1, u"深证成指", 9876.54, 103, 362100000);
    AddIndex("399005", 1, u"中小板指", 6210.09, -12, 98700000);
    AddIndex("399006", 1, u"创业板指", 1987.65, 187, 120400000);
    AddIndex("100100", 3, u"恒生指数", 17560.20, -64, 68420000);
    AddIndex("101400", 3, u"国企指数", 6120.45, -91, 24150000);

    m_world = {
        {u"道琼斯", u"美国", 38250.33, 125.60, 0.33, 38130.10, 38124.73, 38301.90, 38002.45, 1.12, -0.85, 4.31, ""},
        {u"纳斯达克", u"美国", 15980.12, -52.40, -0.33, 16020.55, 16032.52, 16088.71, 15940.03, -1.47, 2.06, 6.58, ""},
        {u"标普500", u"美国", 5021.84, 0.00, 0.00, 5019.02, 5021.84, 5040.17, 4998.66, 0.00, 0.92, 5.27, ""},
        {u"日经225", u"日本", 38470.38, 312.95, 0.82, 38200.00, 38157.43, 38520.11, 38105.77, 2.35, 3.18, 14.96, ""},
        {u"富时100", u"英国", 7650.21, -24.80, -0.32, 7671.05, 7675.01, 7689.93, 7632.40, -0.64, -1.73, -1.08, ""},
        {u"DAX", u"德国", 17110.46, 96.30, 0.57, 17030.12, 17014.16, 17152.88, 17001.35, 0.88, 1.95, 2.14, ""},
        {u"恒生指数", u"中国香港", 0, 0, 0, 0, 0, 0, 0, -2.04, -3.62, -3.68, "100100.03"},
        {u"韩国综合", u"韩国", 2642.36, 14.52, 0.55, 2630.11, 2627.84, 2650.73, 2621.05, 0.47, -0.21, -0.49, ""},
    };
}

int CSimMarket::TypeOfCode(std::string_view code, int market) {
    auto starts = [code](std::string_view prefix) { return code.substr(0, prefix.size()) == prefix; };
    if (market == 2) {
        if (starts("900")) return SimStock::kBShare;
        if (starts("50") || starts("51")) return SimStock::kFund;
    } else if (market == 1) {
        if (starts("200")) return SimStock::kBShare;
        if (starts("15") || starts("16")) return SimStock::kFund;
    }
    return SimStock::kAShare;
}

void CSimMarket::AddStock(const char* code, int market, const char16_t* name, const char* pinyin,
                          double prevClose, int changeBp, double volume, const char* sectors) {
    Add(code, market, TypeOfCode(code, market), name, pinyin, prevClose, changeBp, volume, sectors);
}

void CSimMarket::Add(const char* code, int market, int secType, const char16_t* name, const char* pinyin,
                     double prevClose, int changeBp, double volume, const char* sectors) {
    SimStock s;
    s.code = code;
    s.market = market;
    s.secType = secType;
    s.name = name;
    s.pinyin = pinyin;
    s.prevClose = s.OnTick(prevClose);
    s.sectors = sectors;
    if (volume > 0) {
        s.last = s.OnTick(prevClose * (1.0 + changeBp / 10000.0));
        s.open = s.OnTick(prevClose * (1.0 + changeBp / 20000.0));
        s.high = s.OnTick(std::max(s.open, s.last) * 1.012);
        s.low = s.OnTick(std::min(s.open, s.last) * 0.991);
        s.volume = volume;
        s.amount = std::round(volume * 100.0 * (s.open + s.last) / 2.0);
        s.orderRatio = SimRound2((changeBp % 97) * 0.7);
        s.volumeRatio = SimRound2(0.5 + (static_cast<int>(volume) % 250) / 100.0);
    }
    m_days.push_back(std::move(s));
}

void CSimMarket::AddIndex(const char* code, int market, const char16_t* name, double prevClose,
                          int changeBp, double volume) {
    Add(code, market, SimStock::kIndex, name, "", prevClose, changeBp, volume > 0 ? volume : 1, "");
    SimStock& s = m_days.back();
    s.volume = volume;
    // An index's turnover is its shares' at about 12 yuan each, not its points.
    s.amount = std::round(volume * 100.0 * 12.0);
    s.orderRatio = 0;
}

void CSimMarket::SetNow(int64_t nowMs) {
    const SimMarketTime now = SimMarketTimeOf(nowMs);
    if (now == m_now && !m_stale)
        return;
    m_now = now;
    m_stale = true;
}

const std::vector<SimStock>& CSimMarket::Stocks() const {
    Refresh();
    return m_stocks;
}

// Recomputed in place, so pointers into the list stay valid.
void CSimMarket::Refresh() const {
    if (!m_stale)
        return;
    m_stale = false;
    m_stocks.resize(m_days.size());
    for (size_t i = 0; i < m_days.size(); ++i) {
        // The definition's figures are its whole day.
        SimStock d = m_days[i];
        d.whole = {d.open, d.high, d.low, d.last, d.volume, d.amount};
        m_stocks[i] = m_now.date == 0 ? d : SimQuoteAt(d, m_now);
    }
    for (const auto& [i, last] : m_held) {
        SimStock& s = m_stocks[i];
        if (s.open == 0) s.open = s.prevClose;
        s.last = last;
        s.high = std::max(s.high, last);
        s.low = s.low == 0 ? last : std::min(s.low, last);
    }
}

int CSimMarket::IndexOf(std::string_view key) const {
    size_t dot = key.find('.');
    std::string_view code = key.substr(0, dot);
    int market = -1;
    if (dot != std::string_view::npos) {
        std::string m(key.substr(dot + 1));
        char* end = nullptr;
        long v = std::strtol(m.c_str(), &end, 10);
        if (m.empty() || *end) return -1;
        market = static_cast<int>(v);
    }
    for (size_t i = 0; i < m_days.size(); ++i)
        if (m_days[i].code == code && (market < 0 || m_days[i].market == market)) return static_cast<int>(i);
    return -1;
}

const SimStock* CSimMarket::Find(std::string_view key) const {
    const int i = IndexOf(key);
    if (i < 0) return nullptr;
    Refresh();
    return &m_stocks[static_cast<size_t>(i)];
}

SimStock* CSimMarket::FindMutable(std::string_view key) {
    const int i = IndexOf(key);
    if (i < 0) return nullptr;
    m_stale = true;
    return &m_days[static_cast<size_t>(i)];
}

std::vector<const SimStock*> CSimMarket::SectorMembers(std::string_view sectorCode) const {
    std::vector<const SimStock*> out;
    if (sectorCode.empty()) return out;
    for (const auto& s : Stocks()) {
        std::string_view list = s.sectors;
        while (!list.empty()) {
            size_t bar = list.find('|');
            std::string_view item = list.substr(0, bar);
            if (item.size() == sectorCode.size() &&
                strncasecmp(item.data(), sectorCode.data(), item.size()) == 0) {
                out.push_back(&s);
                break;
            }
            if (bar == std::string_view::npos) break;
            list.remove_prefix(bar + 1);
        }
    }
    return out;
}

std::vector<const SimStock*> CSimMarket::SearchPinyin(std::string_view pattern) const {
    std::vector<const SimStock*> out;
    if (pattern.empty()) return out;
    for (const auto& s : Stocks())
        if (s.pinyin.size() >= pattern.size() &&
            strncasecmp(s.pinyin.data(), pattern.data(), pattern.size()) == 0)
            out.push_back(&s);
    return out;
}

bool CSimMarket::SetLast(std::string_view key, double last) {
    const int i = IndexOf(key);
    if (i < 0) return false;
    const size_t at = static_cast<size_t>(i);
    last = m_days[at].OnTick(last);
    std::erase_if(m_held, [at](const auto& h) { return h.first == at; });
    m_held.push_back({at, last});
    m_stale = true;
    return true;
}

void CSimMarket::AddFieldColumns(CDataSetWriter& writer, const std::vector<int>& fields) {
    for (int number : fields) {
        if (const FieldInfo* f = FindField(number)) {
            writer.AddColumn(f->type, f->name, f->label);
        } else if (IsLevelField(number)) {
            bool volume = (number % 2) == 1;
            writer.AddColumn(volume ? DataSetType::Int32 : DataSetType::Number, LevelColumnName(number));
        } else {
            writer.AddColumn(DataSetType::AnsiText, "f" + std::to_string(number));
        }
    }
}

void CSimMarket::WriteFieldRow(CDataSetWriter& writer, const std::vector<int>& fields, const SimStock& s) {
    writer.AddRow();
    bool opened = s.open != 0;
    for (size_t c = 0; c < fields.size(); ++c) {
        int col = static_cast<int>(c);
        int number = fields[c];
        switch (number) {
        case 1: writer.SetInt(col, s.market); break;
        case 2: writer.SetInt(col, s.secType); break;
        case 3: writer.SetAnsiText(col, s.code); break;
        case 4: writer.SetText(col, s.name); break;
        case 11: writer.SetNumber(col, Price(s.prevClose, s)); break;
        case 13: writer.SetNumber(col, Price(s.open, s)); break;
        case 14: writer.SetNumber(col, Price(s.high, s)); break;
        case 15: writer.SetNumber(col, Price(s.low, s)); break;
        case 16: writer.SetNumber(col, Price(s.last, s)); break;
        case 17: writer.SetNumber(col, Scaled(s.volume)); break;
        case 18: writer.SetNumber(col, Scaled(s.amount)); break;
        case 20: writer.SetNumber(col, Price(s.Change(), s)); break;
        case 21: writer.SetNumber(col, Ratio(s.ChangePct())); break;
        case 29: writer.SetNumber(col, Ratio(s.orderRatio)); break;
        case 30: writer.SetNumber(col, Ratio(s.volumeRatio)); break;
        case 32:
            // An index averages its points; a security its turnover per share.
            if (s.secType == SimStock::kIndex && opened) {
                writer.SetNumber(col, Price(s.OnTick((s.open + s.last) / 2.0), s));
                break;
            }
            // Before the first trade the average is the previous close, as the last is.
            writer.SetNumber(col, Price(opened && s.volume > 0 && !IsMissing(s.amount)
                                            ? s.OnTick(s.amount / (s.volume * 100.0))
                                            : (opened ? kMissing : s.prevClose),
                                        s));
            break;
        default:
            if (IsLevelField(number) && opened && s.secType != SimStock::kIndex) {
                bool bid = number < 70;
                int offset = number - (bid ? 50 : 70);
                int level = offset / 2 + 1;
                if (offset % 2 == 1) {
                    // Shares: 10 to 909 lots and an odd lot.
                    writer.SetInt(col, 100 * (10 + (level * 37 + static_cast<int>(s.volume)) % 900) +
                                           (level * 45 + static_cast<int>(s.volume)) % 100);
                } else {
                    // Bid 1 at the last price, ask 1 a tick above, each further level a tick away.
                    double tick = s.PriceDecimals() == 3 ? 0.001 : 0.01;
                    double step = tick * level;
                    writer.SetNumber(col, Price(s.OnTick(bid ? s.last - step + tick : s.last + step), s));
                }
            }
            break;
        }
    }
}

std::vector<int> CSimMarket::ParseFieldList(std::string_view text) {
    std::vector<int> out;
    while (!text.empty() && out.size() < kMaxFields) {
        size_t bar = text.find('|');
        std::string item(text.substr(0, bar));
        char* end = nullptr;
        long v = std::strtol(item.c_str(), &end, 10);
        if (!item.empty() && *end == 0) out.push_back(static_cast<int>(v));
        if (bar == std::string_view::npos) break;
        text.remove_prefix(bar + 1);
    }
    return out;
}
