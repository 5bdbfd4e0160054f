// The detail quote's request, model and rows.
#include "quotes/info/StockDetail.h"

#include "core/CDataSet.h"
#include "core/StrUtil.h"
#include "framework/ui/OrderOpening.h"
#include "quotes/charts/CChartCanvas.h"
#include "quotes/tables/QuoteRequests.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// Reply columns of the detail fields.
enum : int {
    kColMarket, kColType, kColCode, kColName, kColPrevClose, kColOpen, kColHigh, kColLow, kColLast,
    kColVolume, kColAmount, kColAverage, kColOrderRatio, kColVolumeRatio,
    kColFirstBid = 14, // price of bid 1; its volume follows, then bid 2 ...
    kColFirstAsk = 24,
};

constexpr std::u16string_view kDash = u"-";

// A packed value shown without a unit word: a price or a ratio.
DetailValue PlainValue(const CDataSet& set, int column) {
    DetailValue v;
    set.GetFieldNumber(v.number, column);
    v.known = !v.number.IsInvalid() && set.GetColumn(column) != nullptr;
    v.text = v.known ? v.number.ToWideText().str() : std::u16string();
    return v;
}

// A count shown with its unit word; known is false for the missing marker.
std::u16string CountText(const CDataSet& set, int column, bool* known) {
    CQuoteNumber n;
    const int rc = set.GetFieldNumber(n, column);
    *known = set.GetColumn(column) != nullptr && !(rc == 0 && n.IsInvalid());
    return *known ? set.GetFieldText(column).str() : std::u16string();
}

std::uint32_t CompareColor(const DetailPalette& p, const CQuoteNumber& reference, const CQuoteNumber& value) {
    switch (CChartCanvas::GetCompareColorIndex(reference, value)) {
    case CChartCanvas::kRiseColor:
        return p.rise;
    case CChartCanvas::kFallColor:
        return p.fall;
    default:
        return p.flat;
    }
}

} // namespace

bool SameStockCode(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; };
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

std::string DetailQuoteRequest(std::string_view preset, std::string_view key) {
    if (!IsRequestValue(key))
        return {};
    const std::string presetText(preset);
    const std::string keyText(key);
    std::unique_ptr<char, decltype(&std::free)> text(SetUrlParam(presetText.c_str(), "code", keyText.c_str()),
                                                     &std::free);
    if (!text)
        return {};
    return std::string(text.get()).append("&field=").append(kDetailFields);
}

std::optional<DetailQuote> ReadDetailQuote(CDataSet& set) {
    if (set.GetRowCount() < 1 || !set.MoveFirst())
        return std::nullopt;
    DetailQuote q;
    q.market = set.GetFieldInt16(kColMarket);
    q.type = set.GetFieldInt16(kColType);
    std::string code = CAString::CAStringFromWide(set.GetFieldText(kColCode).view()).str();
    if (code.find('.') == std::string::npos && !code.empty()) {
        char market[16];
        std::snprintf(market, sizeof market, ".%02d", q.market);
        code.append(market);
    }
    q.key = code;
    q.name = set.GetFieldText(kColName).str();
    q.prevClose = PlainValue(set, kColPrevClose);
    q.open = PlainValue(set, kColOpen);
    q.high = PlainValue(set, kColHigh);
    q.low = PlainValue(set, kColLow);
    q.last = PlainValue(set, kColLast);
    q.volume = CountText(set, kColVolume, &q.volumeKnown);
    q.amount = CountText(set, kColAmount, &q.amountKnown);
    q.average = PlainValue(set, kColAverage);
    q.orderRatio = PlainValue(set, kColOrderRatio);
    q.volumeRatio = CountText(set, kColVolumeRatio, &q.volumeRatioKnown);
    for (int n = 0; n < 5; ++n) {
        q.bids[n].price = PlainValue(set, kColFirstBid + 2 * n);
        q.bids[n].volume = set.GetFieldInt32(kColFirstBid + 2 * n + 1);
        q.asks[n].price = PlainValue(set, kColFirstAsk + 2 * n);
        q.asks[n].volume = set.GetFieldInt32(kColFirstAsk + 2 * n + 1);
    }
    return q;
}

std::vector<DetailRow> DetailRows(const DetailQuote& q, const DetailPalette& p) {
    const bool noTrade = q.open.known && q.open.number == CQuoteNumber();
    const bool isIndex = q.type == kIndexType;
    const CQuoteNumber zero;
    const DetailCell dash{std::u16string(kDash), p.label};
    const DetailCell volumeDash{std::u16string(kDash), p.volume};
    auto label = [&](std::u16string_view text) { return DetailCell{std::u16string(text), p.label}; };
    // A price against the previous close ("T" values: "-" while not traded).
    auto price = [&](const DetailValue& v) {
        if (noTrade || !v.known)
            return dash;
        if (!q.prevClose.known)
            return DetailCell{v.text, p.flat};
        return DetailCell{v.text, CompareColor(p, q.prevClose.number, v.number)};
    };
    auto count = [&](const std::u16string& text, bool known) {
        return noTrade || !known ? volumeDash : DetailCell{text, p.volume};
    };

    DetailCell change = dash;
    DetailCell percent = dash;
    if (!noTrade && q.last.known && q.prevClose.known) {
        const CQuoteNumber diff = q.last.number - q.prevClose.number;
        change = {diff.ToWideText().str(), CompareColor(p, zero, diff)};
        if (q.prevClose.number != zero) {
            const CQuoteNumber pct = diff.MultiplyInt(100) / q.prevClose.number;
            percent = {pct.ToWideText().str(), CompareColor(p, zero, pct)};
        }
    }
    DetailCell orderRatio = dash;
    if (!isIndex && q.orderRatio.known)
        orderRatio = {q.orderRatio.text, CompareColor(p, zero, q.orderRatio.number)};

    std::vector<DetailRow> rows;
    rows.push_back({label(u"最新"), price(q.last), label(u"涨跌"), change});
    rows.push_back({label(u"幅度%"), percent, label(u"总手"), count(q.volume, q.volumeKnown)});
    rows.push_back({label(u"金额"), count(q.amount, q.amountKnown), label(u"均价"), price(q.average)});
    rows.push_back({label(u"昨收"), q.prevClose.known ? DetailCell{q.prevClose.text, p.label} : dash, label(u"今开"),
                    price(q.open)});
    rows.push_back({label(u"最高"), price(q.high), label(u"最低"), price(q.low)});
    rows.push_back({label(u"委比"), orderRatio, label(u"量比"),
                    q.volumeRatioKnown ? DetailCell{q.volumeRatio, p.label} : dash});
    if (isIndex)
        return rows;

    static constexpr std::u16string_view kAskLabels[5] = {u"卖一", u"卖二", u"卖三", u"卖四", u"卖五"};
    static constexpr std::u16string_view kBidLabels[5] = {u"买一", u"买二", u"买三", u"买四", u"买五"};
    auto level = [&](std::u16string_view name, const DetailLevel& l) {
        const DetailCell lots = noTrade ? volumeDash : DetailCell{std::u16string(), p.volume};
        DetailRow row{label(name), price(l.price), DetailCell{u"", p.label}, lots};
        if (!noTrade) {
            const std::string digits = std::to_string(l.volume / 100);
            row[3].text.assign(digits.begin(), digits.end());
        }
        return row;
    };
    for (int n = 4; n >= 0; --n)
        rows.push_back(level(kAskLabels[n], q.asks[n]));
    for (int n = 0; n < 5; ++n)
        rows.push_back(level(kBidLabels[n], q.bids[n]));
    return rows;
}

DetailOrder DetailOrderFor(const DetailQuote* q, bool sell) {
    DetailOrder order;
    if (!q)
        return order;
    if (q->key.empty() || q->type == kIndexType) {
        order.step = DetailOrderStep::RefuseIndex;
        return order;
    }
    if (!IsRequestValue(q->key))
        return order;
    order.title = sell ? u"卖出" : u"买入";
    order.title.append(u" ").append(q->name);
    const bool priced = q->last.known && !(q->open.known && q->open.number == CQuoteNumber());
    OrderOpening opening = OrderOpening::Of(sell, q->key);
    opening.market = q->market;
    opening.type = q->type;
    if (priced)
        opening.price = std::string(q->last.number.ToText().view());
    order.request = OrderOpeningText(opening);
    if (order.request.empty())
        return order;
    order.step = DetailOrderStep::Open;
    return order;
}
