// Quote routes over the simulated market. Rows follow the requested field
// list (CSimMarket::AddFieldColumns); an unknown code yields no row.
#include "tools/simulator/SimQuoteRoutes.h"

#include "core/StrUtil.h"
#include "tools/simulator/CSimMarket.h"

#include <algorithm>

namespace {
// The field list of the quote tables, used when a request names none.
constexpr const char* kDefaultFields = "4|3|16|20|21|13|11|1";

std::vector<int> FieldsOf(const SimRequest& r) {
    std::string text = r.Get("field");
    return CSimMarket::ParseFieldList(text.empty() ? kDefaultFields : text);
}

SimReply StockRows(const char* tag, const std::vector<int>& fields, const std::vector<const SimStock*>& stocks) {
    CDataSetWriter w;
    w.AddSet(tag);
    CSimMarket::AddFieldColumns(w, fields);
    for (const SimStock* s : stocks) CSimMarket::WriteFieldRow(w, fields, *s);
    return SimReply::Ok(w);
}

// 31000/4: "code=a|b|c", each a key or a bare code. A bare code is also the
// code search of the stock-search box: it matches every stock and index,
// of every market, whose code starts with it.
SimReply QuoteFields(const SimRequest& r, SimContext& context) {
    const CSimMarket& market = context.market;
    std::vector<const SimStock*> stocks;
    std::string list = r.Get("code");
    std::string_view rest = list;
    while (!rest.empty()) {
        size_t bar = rest.find('|');
        std::string item(rest.substr(0, bar));
        if (item.find('.') != std::string::npos) {
            if (const SimStock* s = market.Find(item)) stocks.push_back(s);
        } else if (!item.empty()) {
            for (const auto& s : market.Stocks())
                if (s.code.compare(0, item.size(), item) == 0) stocks.push_back(&s);
        }
        if (bar == std::string_view::npos) break;
        rest.remove_prefix(bar + 1);
    }
    return StockRows("hq", FieldsOf(r), stocks);
}

// The sort key of a ranking field code; missing values sort last.
double SortKey(const SimStock& s, const std::string& field) {
    auto known = [](double v) { return v == CSimMarket::kMissing ? -1e300 : v; };
    if (EqualsNoCase(field, "df")) return -s.ChangePct();
    if (EqualsNoCase(field, "cjl")) return s.volume;
    if (EqualsNoCase(field, "cje")) return known(s.amount);
    if (EqualsNoCase(field, "xj")) return s.last;
    if (EqualsNoCase(field, "zd")) return s.Change();
    return s.ChangePct();
}

// The security type a ranking class ranks: "A" A shares (also when the
// request names none), "B" B shares, "J" funds; 0 for classes that hold
// nothing here (bonds, warrants, ...).
int TypeOfClass(const std::string& category) {
    if (category.empty() || EqualsNoCase(category, "A")) return SimStock::kAShare;
    if (EqualsNoCase(category, "B")) return SimStock::kBShare;
    if (EqualsNoCase(category, "J")) return SimStock::kFund;
    return 0;
}

// 31000/3: one page of a ranking: market ("1", "2" or "12"), class (see
// TypeOfClass), type (the ranking field code), direct (1 largest first),
// offset, count, field.
SimReply Ranking(const SimRequest& r, SimContext& context) {
    const CSimMarket& market = context.market;
    std::string markets = r.Get("market");
    std::string category = r.Get("class");
    std::string field = r.Get("type");
    bool descending = r.GetInt("direct", 1) != 0;
    int offset = std::max(0, r.GetInt("offset", 0));
    int count = std::clamp(r.GetInt("count", 20), 0, 200);
    const int type = TypeOfClass(category);
    std::vector<const SimStock*> all;
    for (const auto& s : market.Stocks()) {
        if (s.secType != type || s.market > 2) continue;
        if (!markets.empty() && markets.find(static_cast<char>('0' + s.market)) == std::string::npos) continue;
        all.push_back(&s);
    }
    std::stable_sort(all.begin(), all.end(), [&](const SimStock* a, const SimStock* b) {
        double ka = SortKey(*a, field), kb = SortKey(*b, field);
        if (ka != kb) return descending ? ka > kb : ka < kb;
        return a->Key() < b->Key();
    });
    std::vector<const SimStock*> page;
    for (int i = offset; i < static_cast<int>(all.size()) && i < offset + count; ++i) page.push_back(all[i]);
    return StockRows("hq", FieldsOf(r), page);
}

// 31000/8: the world indices; the columns and their labels are the table's.
// Index points and their changes go with two decimals, the percentages with
// three, as for the domestic indices. The signed columns come first:
// change, change % (2, 3) and the changes over five days, a month and the
// year (7, 8, 9), which the table colours by sign; the texts come last.
SimReply WorldIndices(const SimRequest&, SimContext& context) {
    const CSimMarket& market = context.market;
    CDataSetWriter w;
    w.AddSet("hq");
    w.AddColumn(DataSetType::WideText, "name", u"名称");
    w.AddColumn(DataSetType::Number, "zjcj", u"现价");
    w.AddColumn(DataSetType::Number, "zd", u"涨跌");
    w.AddColumn(DataSetType::Number, "zdf", u"涨幅%");
    w.AddColumn(DataSetType::Number, "jrkp", u"今开");
    w.AddColumn(DataSetType::Number, "zgcj", u"最高");
    w.AddColumn(DataSetType::Number, "zdcj", u"最低");
    w.AddColumn(DataSetType::Number, "wrzf", u"五日%");
    w.AddColumn(DataSetType::Number, "yzf", u"本月%");
    w.AddColumn(DataSetType::Number, "nzf", u"今年%");
    w.AddColumn(DataSetType::Number, "zrsp", u"昨收");
    w.AddColumn(DataSetType::WideText, "area", u"地区");
    for (SimWorldIndex x : market.WorldIndices()) {
        // An index the market quotes itself shows the market's figures.
        if (const SimStock* s = x.code.empty() ? nullptr : market.Find(x.code)) {
            const bool opened = s->open > 0;
            x.last = s->last;
            x.prevClose = s->prevClose;
            x.open = opened ? s->open : s->prevClose;
            x.high = s->high;
            x.low = s->low;
            x.change = s->Change();
            x.changePct = s->ChangePct();
        }
        w.AddRow();
        w.SetText(0, x.name);
        w.SetNumber(1, CQuoteNumber(x.last, 2));
        w.SetNumber(2, CQuoteNumber(x.change, 2));
        w.SetNumber(3, CQuoteNumber(x.changePct, 3));
        w.SetNumber(4, CQuoteNumber(x.open, 2));
        w.SetNumber(5, CQuoteNumber(x.high, 2));
        w.SetNumber(6, CQuoteNumber(x.low, 2));
        w.SetNumber(7, CQuoteNumber(x.weekPct, 3));
        w.SetNumber(8, CQuoteNumber(x.monthPct, 3));
        w.SetNumber(9, CQuoteNumber(x.yearPct, 3));
        w.SetNumber(10, CQuoteNumber(x.prevClose, 2));
        w.SetText(11, x.area);
    }
    return SimReply::Ok(w);
}

// 31000/10: "type=2&pattern=<initials>": columns market, type, code, name.
SimReply PinyinSearch(const SimRequest& r, SimContext& context) {
    const CSimMarket& market = context.market;
    CDataSetWriter w;
    w.AddSet("search");
    w.AddColumn(DataSetType::Int16, "exchid", u"市场");
    w.AddColumn(DataSetType::Int16, "stktype", u"类别");
    w.AddColumn(DataSetType::AnsiText, "code", u"代码");
    w.AddColumn(DataSetType::WideText, "name", u"名称");
    for (const SimStock* s : market.SearchPinyin(r.Get("pattern"))) {
        w.AddRow();
        w.SetInt(0, s->market);
        w.SetInt(1, s->secType);
        w.SetAnsiText(2, s->code);
        w.SetText(3, s->name);
    }
    return SimReply::Ok(w);
}

// 100/30: the sectors of a kind ("sector=hy"): "sectorname", "sectorcode".
SimReply SectorList(const SimRequest& r, SimContext& context) {
    const CSimMarket& market = context.market;
    std::string kind = r.Get("sector");
    CDataSetWriter w;
    w.AddSet("sectors");
    w.AddColumn(DataSetType::WideText, "sectorname", u"板块名称");
    w.AddColumn(DataSetType::AnsiText, "sectorcode", u"板块代码");
    for (const auto& s : market.Sectors()) {
        if (!EqualsNoCase(kind, s.kind.c_str())) continue;
        w.AddRow();
        w.SetText(0, s.name);
        w.SetAnsiText(1, s.code);
    }
    return SimReply::Ok(w);
}

// 100/31: the members of "sectorcode" with the requested fields.
SimReply SectorMembers(const SimRequest& r, SimContext& context) {
    return StockRows("hq", FieldsOf(r), context.market.SectorMembers(r.Get("sectorcode")));
}
} // namespace

void CSimQuoteRoutes::AddRoutes(CSimRouteTable& table) {
    table.Add(kFuncRanking, Ranking);
    table.Add(kFuncQuoteFields, QuoteFields);
    table.Add(kFuncWorldIndices, WorldIndices);
    table.Add(kFuncPinyinSearch, PinyinSearch);
    table.Add(kFuncSectorList, SectorList);
    table.Add(kFuncSectorMembers, SectorMembers);
}
