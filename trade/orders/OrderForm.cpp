// The order form's pure part: parameters, requests, holders, slider, panel rows, checks, layout.
#include "trade/orders/OrderForm.h"

#include "core/CDataSet.h"
#include "core/CQuoteNumber.h"
#include "core/FunctionNumbers.h"
#include "core/StrUtil.h"
#include "core/TextConvert.h"
#include "framework/app/TradeMarket.h"
#include "framework/app/TradeSession.h"
#include "trade/orders/OrderRequests.h"
#include "framework/ui/CLayoutBaseWnd.h"
#include "framework/ui/OrderOpening.h"

#include <algorithm>
#include <cstdlib>
#include <strings.h>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// ASCII letters, digits and "." only, not empty.
bool IsPlain(std::string_view value) { return !value.empty() && IsPlainRequestText(value); }

// True when the text carries key (with any value).
bool HasParam(std::string_view text, const char* key) {
    const std::string copy(text);
    char* value = GetUrlParam(copy.c_str(), key);
    const bool present = value != nullptr;
    std::free(value);
    return present;
}

std::string FieldAnsi(CDataSet& set, const char* name) {
    const std::optional<CWString> text = set.GetFieldTextByName(name);
    return text ? text->ToAnsi() : std::string();
}

constexpr const char16_t* kLevelNames[10] = {u"卖五", u"卖四", u"卖三", u"卖二", u"卖一",
                                            u"买一", u"买二", u"买三", u"买四", u"买五"};
// Price and volume columns of each row, in the order of the field list.
constexpr int kLevelColumns[10][2] = {{32, 33}, {30, 31}, {28, 29}, {26, 27}, {24, 25},
                                      {14, 15}, {16, 17}, {18, 19}, {20, 21}, {22, 23}};
constexpr int kTypeColumn = 1, kCodeColumn = 2, kPrevCloseColumn = 4, kOpenColumn = 5;
constexpr std::uint32_t kAskVolumeColor = 0xFF0000;
constexpr std::uint32_t kWhite = 0xFFFFFF, kWhiteReplacement = 0x2626FF;
constexpr int kIndexType = 2;

} // namespace

OrderFormParams ReadOrderFormParams(std::string_view request) {
    OrderFormParams p;
    if (!HasOrderSide(request) && HasParam(request, "creditflag")) {
        p.credit = true;
        return p;
    }
    OrderOpening opening = ReadOrderOpening(request);
    p.kind = opening.sell ? kKindSell : kKindBuy;
    p.code = std::move(opening.code);
    p.price = std::move(opening.price);
    p.quoteMarket = opening.market;
    p.type = opening.type;
    return p;
}

std::string MaxQuantityRequest(std::string_view loginId, std::string_view password, int kind, std::string_view code,
                               std::string_view fundid) {
    if (!IsSendableLoginId(loginId) || !IsSendablePassword(password) || !IsSixDigitCode(code) ||
        (!fundid.empty() && !IsPlain(fundid)))
        return {};
    const bool buy = kind % 2 == 1;
    std::string out(buy ? kRequestHead<kFuncMaxBuyQuantity> : kRequestHead<kFuncMaxSellQuantity>);
    out += '&';
    out += loginId;
    out += "&trdpwd=";
    out += password;
    out += buy ? "&bsflag=B" : "&bsflag=S";
    out += "&stkcode=";
    out += code;
    out += "&fundid=";
    out += fundid;
    return out;
}

std::u16string_view TradeKindWord(int kind) {
    switch (kind) {
    case kKindBuy: return u"买入";
    case kKindSell: return u"卖出";
    case kKindBuyToReturn: return u"买券还券";
    case kKindSellToRepay: return u"卖券还款";
    case kKindFinancedBuy: return u"融资买入";
    case kKindShortSell: return u"融券卖出";
    default: return {};
    }
}

std::optional<std::u16string> FormCaption(int kind, std::u16string_view stockName) {
    if (kind == kKindDirectReturn)
        return std::nullopt;
    std::u16string caption(TradeKindWord(kind));
    caption += u' ';
    caption += stockName;
    return caption;
}

namespace {
bool IsKeyText(std::string_view key) {
    if (key.empty())
        return false;
    for (char c : key)
        if (!IsDigit(c) && !(c >= 'a' && c <= 'z') && !(c >= 'A' && c <= 'Z') && c != '_')
            return false;
    return true;
}
} // namespace

std::string RepaymentRequest(std::string_view loginId, std::string_view fundid) {
    if (!IsSendableLoginId(loginId) || (!fundid.empty() && !IsPlain(fundid)))
        return {};
    std::string out = std::string(kRequestHead<kFuncMaxQuantity>) + "&";
    out += loginId;
    out += "&creditid=0&fundid=";
    out += fundid;
    out += "&moneytype=0";
    return out;
}

bool IsPresetQuery(std::string_view preset) {
    if (preset.empty())
        return false;
    bool mfunc = false, sfunc = false;
    size_t start = 0;
    while (start <= preset.size()) {
        const size_t end = std::min(preset.find('&', start), preset.size());
        const std::string_view pair = preset.substr(start, end - start);
        const size_t eq = pair.find('=');
        if (eq == std::string_view::npos)
            return false;
        const std::string_view key = pair.substr(0, eq), value = pair.substr(eq + 1);
        if (!IsKeyText(key) || (!value.empty() && !IsPlain(value)))
            return false;
        // What the form appends, or what names the session, stays the form's.
        for (const char* own : {"trdpwd", "stkcode", "fundid", "custid", "tradesession", "operway"})
            if (strcasecmp(std::string(key).c_str(), own) == 0)
                return false;
        if (key == "tc_mfuncno")
            mfunc = value.size() <= 9 && IsDigits(value);
        else if (key == "tc_sfuncno")
            sfunc = value.size() <= 9 && IsDigits(value);
        start = end + 1;
    }
    return mfunc && sfunc;
}

std::string PresetQueryRequest(std::string_view preset, std::string_view loginId, std::string_view password,
                               std::string_view code, std::string_view fundid) {
    if (!IsPresetQuery(preset) || !IsSendableLoginId(loginId) || !IsSendablePassword(password) ||
        !IsSixDigitCode(code) || (!fundid.empty() && !IsPlain(fundid)))
        return {};
    std::string out(preset);
    out += '&';
    out += loginId;
    out += "&trdpwd=";
    out += password;
    out += "&stkcode=";
    out += code;
    out += "&fundid=";
    out += fundid;
    return out;
}

std::string PanelQuoteCode(std::string_view stkcode, std::string_view tradeMarket) {
    const int market = TradeMarketToQuoteMarket(std::string(tradeMarket).c_str());
    if (!IsSixDigitCode(stkcode) || market == QUOTE_MARKET_NONE)
        return {};
    return std::string(stkcode) + "." + std::to_string(market);
}

std::string PanelQuoteRequest(std::string_view quoteCode) {
    if (quoteCode.empty())
        return {};
    std::string out = std::string(kRequestHead<kFuncQuoteFields>) + "&code=";
    out += quoteCode;
    out += "&field=";
    out += kPanelQuoteFields;
    return out;
}

std::vector<CChoiceItem> HolderItems(CDataSet* holders, const char* market) {
    std::vector<CChoiceItem> items;
    if (!holders || !holders->MoveFirst())
        return items;
    do {
        const std::string m = FieldAnsi(*holders, "market");
        const std::string secuid = FieldAnsi(*holders, "secuid");
        const std::string fundid = FieldAnsi(*holders, "fundid");
        if (market && strcasecmp(m.c_str(), market) != 0)
            continue;
        if (!IsPlain(m) || !IsPlain(secuid) || (!fundid.empty() && !IsPlain(fundid)))
            continue;
        CChoiceItem item;
        const std::optional<CWString> name = holders->GetFieldTextByName("~market");
        item.text.Assign((name ? name->str() : std::u16string()) + AnsiToWide(secuid));
        item.value.Assign("market=" + m + "&secuid=" + secuid + "&fundid=" + fundid);
        items.push_back(std::move(item));
    } while (holders->MoveNext());
    return items;
}

int KeepHolder(const std::vector<CChoiceItem>& items, std::string_view keep) {
    if (items.empty())
        return -1;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].value.view() == keep)
            return static_cast<int>(i);
    return 0;
}

int HolderByQuoteMarket(const std::vector<CChoiceItem>& items, int quoteMarket, int type) {
    std::u16string word = quoteMarket == 1 ? u"深" : quoteMarket == 2 ? u"沪" : u"";
    word += (type & 0x120) == 0x120 ? u"B" : u"A";
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].text.str().find(word) != std::u16string::npos)
            return static_cast<int>(i);
    return -1;
}

QuantitySlider SliderForMaximum(long long num, int kind) {
    QuantitySlider s;
    if (num >= 100) {
        s.enabled = true;
        s.max = static_cast<int>(std::min<long long>(num / 100, 1000000000LL));
        return s;
    }
    // An odd lot can only be sold whole: the slider counts shares then.
    if (kind % 2 == 0 && num > 0) {
        s.enabled = true;
        s.max = static_cast<int>(num);
        s.pos = s.max;
        s.unit = 1;
        s.quantity = std::to_string(num);
    }
    return s;
}

std::string SliderQuantity(int pos, int max, int unit) {
    if (max < 1 || pos <= 0)
        return "0";
    return std::to_string(static_cast<long long>(pos) * unit);
}

std::vector<PanelRow> EmptyPanelRows() {
    std::vector<PanelRow> rows(10);
    for (int i = 0; i < 10; ++i)
        rows[i].name = {kLevelNames[i], 0};
    return rows;
}

std::optional<std::vector<PanelRow>> PanelRowsFrom(CDataSet& set, const PanelColors& colors) {
    if (!set.MoveFirst())
        return std::nullopt;
    const int columns = set.GetColumnCount();
    const auto has = [columns](int c) { return c < columns; };
    if (has(kTypeColumn) && set.GetFieldInt(kTypeColumn) == kIndexType)
        return std::vector<PanelRow>();
    CQuoteNumber prevClose, open;
    const bool known = has(kPrevCloseColumn) && has(kOpenColumn) &&
                       set.GetFieldNumber(prevClose, kPrevCloseColumn) == 0 &&
                       set.GetFieldNumber(open, kOpenColumn) == 0 && !open.IsInvalid() && open.GetValue() != 0;
    std::vector<PanelRow> rows = EmptyPanelRows();
    for (int i = 0; i < 10; ++i) {
        PanelRow& row = rows[i];
        const bool ask = i < 5;
        row.price = {u"-", 0};
        row.volume = {u"-", ask ? kAskVolumeColor : colors.rise};
        if (!known)
            continue;
        CQuoteNumber price;
        const int pc = kLevelColumns[i][0], vc = kLevelColumns[i][1];
        if (has(pc) && set.GetFieldNumber(price, pc) == 0 && !price.IsInvalid() && price.GetValue() != 0) {
            row.price.text = price.ToWideText().str(); // a price carries no unit word
            std::uint32_t c = prevClose < price ? colors.rise : prevClose > price ? colors.fall : colors.flat;
            row.price.color = c == kWhite ? kWhiteReplacement : c;
        }
        if (has(vc)) {
            const long long lots = set.GetFieldInt(vc) / 100;
            if (lots > 0)
                row.volume.text = AnsiToWide(std::to_string(lots));
        }
    }
    return rows;
}

std::string PanelRowCode(CDataSet& set) {
    if (!set.MoveFirst() || set.GetColumnCount() <= kCodeColumn)
        return {};
    return set.GetFieldText(kCodeColumn).ToAnsi();
}

OrderFault CheckOrderForm(const OrderFormInput& in) {
    if (!IsSixDigitCode(in.code))
        return OrderFault::Code;
    if (in.replyCode != in.code)
        return OrderFault::Stale;
    if (!in.replyHasMarket)
        return OrderFault::NoMarket;
    if (!in.hasHolder)
        return OrderFault::NoHolder;
    if (!IsPlain(in.bsflag))
        return OrderFault::PriceType;
    if (in.quantity.empty())
        return OrderFault::NoQuantity;
    if (!IsOrderQuantity(in.quantity))
        return OrderFault::Quantity;
    if (!in.marketPrice && (!IsPriceText(in.price) || std::atof(in.price.c_str()) < 0.01))
        return OrderFault::NoPrice;
    return OrderFault::None;
}

OrderFormLayout LayoutOrderForm(int windowWidth, int kind) {
    // The rows of every form page.
    constexpr int margin = CLayoutBaseWnd::kLeftMargin, top = CLayoutBaseWnd::kTopOffset,
                  rowHeight = CLayoutBaseWnd::kRowHeight, boxHeight = CLayoutBaseWnd::kRowBoxHeight,
                  labelWidth = CLayoutBaseWnd::kLabelWidth, fieldOffset = CLayoutBaseWnd::kFieldOffset;
    const int w = windowWidth == 720 ? windowWidth * 2 / 3 : windowWidth;
    const auto rowTop = [&](int row) { return top + row * rowHeight - 5; };
    const auto label = [&](int row) { return CRect::FromSize(margin, rowTop(row), labelWidth, boxHeight); };
    const auto field = [&](int row) { return CRect{margin + fieldOffset, rowTop(row), w - margin, rowTop(row) + boxHeight}; };
    const int u = w - 2 * margin;
    const int middleLeft = margin + fieldOffset, middleRight = middleLeft + u / 2;
    const auto middle = [&](int row) { return CRect{middleLeft, rowTop(row), middleRight, rowTop(row) + boxHeight}; };
    const auto third = [&](int row) { return CRect{middleRight + 20, rowTop(row), margin + u - 20, rowTop(row) + boxHeight}; };
    const auto drop = [](const CRect& f) { return CRect{f.right - 30, f.top, f.right - 10, f.bottom}; };

    OrderFormLayout l;
    l.hasRepay = kind == kKindSellToRepay;
    // The rows after the price type move down past the repayment row.
    const int shift = l.hasRepay ? 1 : 0;
    for (int i = 0; i < 7; ++i)
        l.labels[i] = label(i < 4 ? i : i + shift);
    l.holder = field(0);
    l.holderDrop = drop(l.holder);
    l.code = field(1);
    l.name = field(2);
    l.priceType = field(3);
    l.priceTypeDrop = drop(l.priceType);
    if (l.hasRepay) {
        l.repayLabel = label(4);
        l.repay = field(4);
    }
    l.price = middle(4 + shift);
    l.priceUnit = third(4 + shift);
    l.max = middle(5 + shift);
    const CRect t = third(5 + shift);
    l.all = {t.left - 10, t.top, t.right + 20, t.bottom};
    l.quantity = middle(6 + shift);
    l.quantityUnit = third(6 + shift);
    l.slider = field(7 + shift);
    l.form = {l.labels[0].left, l.labels[0].top, l.slider.right, l.slider.bottom};
    if (windowWidth == 480) {
        l.panelRowHeight = 54;
        l.panel = CRect::FromSize(margin, l.form.bottom + 20, windowWidth - 2 * margin, 540);
    } else {
        l.panelRowHeight = l.hasRepay ? 72 : 64;
        l.panel = CRect::FromSize(l.form.right + 20, l.form.top, windowWidth - l.form.right - 30,
                                  10 * l.panelRowHeight);
    }
    return l;
}
