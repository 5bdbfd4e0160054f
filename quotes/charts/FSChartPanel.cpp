// The minute chart's geometry and the side panel's values; see the header
// for the rules.
#include "quotes/charts/FSChartPanel.h"

#include "quotes/charts/CChartCanvas.h"
#include "quotes/charts/CFSData.h"
#include "quotes/charts/FSChartMath.h"

#include <algorithm>
#include <string>

namespace {

constexpr const char16_t* kMissingText = u"-";
constexpr int kFlatColor = CChartCanvas::kFlatColor;

bool IsZero(const CQuoteNumber& n) {
    return n.GetValue() == 0;
}

// The value's text with no colour of its own, or "-" when it is missing.
std::u16string Plain(const CQuoteNumber& value) {
    return value.IsInvalid() ? std::u16string(kMissingText) : value.ToWideText().str();
}

} // namespace

CFSLayout FSLayout(const CRect& p, const CRect& panel, int labelHeight, bool portrait) {
    CFSLayout l;
    l.chart = p;
    l.panel = panel;
    l.portrait = portrait;
    l.labelHeight = labelHeight;
    const int height = std::max(0, p.Height());
    l.columnStep = std::max(0, p.Width()) / 4;
    l.volumeHeight = height / 5;
    l.rowHeight = std::max(0, (height - l.volumeHeight - labelHeight) / 6);
    l.grid = {p.left, p.top, p.right - 1, p.top + 6 * l.rowHeight - 1};
    l.volume = {p.left, l.grid.bottom + labelHeight, p.right - 1, portrait ? p.bottom : p.bottom - labelHeight};
    return l;
}

std::vector<std::u16string> FSTimeAxisLabels(int market) {
    if (market == 3)
        return {u"10:00", u"11:00", u"12:00", u"15:00", u"16:00"};
    return {u"09:30", u"10:30", u"13:00", u"14:00", u"15:00"};
}

bool FSInMarkBand(int y, int gridTop) {
    return y > gridTop - 20 && y < gridTop + 25;
}

int FSShownPage(int page, bool portrait, bool pageZeroOnly) {
    if (pageZeroOnly || page < 0 || page >= kFSPanelPages)
        return 0;
    if (!portrait && page == 3)
        return 0;
    return page;
}

std::vector<CFSPanelCell> FSPanelCells(const CRect& panel, int page, bool portrait, bool pageZeroOnly) {
    std::vector<CFSPanelCell> cells;
    page = FSShownPage(page, portrait, pageZeroOnly);
    const int w = panel.Width();
    const int h = panel.Height();
    if (w <= 0 || h <= 0)
        return cells;
    auto label0 = [pageZeroOnly](int label) {
        return pageZeroOnly && label == kFSLabelOrderRatio ? kFSLabelPrevClose : label;
    };
    if (portrait) {
        const int rowH = h / 3;
        if (page == 0 || page == 1) {
            const int first = page == 0 ? 0 : 9;
            const int count = page == 0 ? 9 : 5;
            for (int i = 0; i < count; ++i) {
                const int row = i / 3, col = i % 3;
                CRect r = CRect::FromSize(panel.left + col * w / 3, panel.top + row * rowH, w / 3, rowH);
                if (page == 1 && row == 1)
                    r = CRect::FromSize(panel.left + col * w / 2, panel.top + row * rowH, w / 2, rowH);
                cells.push_back({label0(first + i), r});
            }
        } else {
            const int first = page == 2 ? 14 : 20;
            const int count = page == 2 ? 6 : 4;
            for (int i = 0; i < count; ++i) {
                const int row = i / 2, col = i % 2;
                cells.push_back({first + i, CRect::FromSize(panel.left + col * w / 2, panel.top + row * rowH, w / 2,
                                                            rowH)});
            }
        }
        return cells;
    }
    if (page == 2) {
        const int rowH = h / 10;
        for (int r = 0; r < 10; ++r) {
            const int label = r < 5 ? 14 + 2 * (4 - r) : 15 + 2 * (r - 5);
            cells.push_back({label, CRect::FromSize(panel.left, panel.top + r * rowH, w, rowH)});
        }
        return cells;
    }
    const int rowH = h / 9;
    const int first = page == 0 ? 0 : 9;
    const int count = page == 0 ? 9 : 5;
    for (int i = 0; i < count; ++i)
        cells.push_back({label0(first + i), CRect::FromSize(panel.left, panel.top + i * rowH, w, rowH)});
    return cells;
}

CFSPanelHit FSHitPanelPortrait(const CRect& panel, int page, int x, int y) {
    CFSPanelHit hit;
    const int colW = panel.Width() / 2;
    const int rowH = panel.Height() / 3;
    if ((page != 2 && page != 3) || colW <= 0 || rowH <= 0 || y < panel.top)
        return hit;
    const int column = std::clamp((x - panel.left) / colW, 0, 1);
    const int row = (y - panel.top) / rowH;
    if (row > 2 || (row == 2 && page != 2))
        return hit;
    hit.cell = column + 2 * row;
    hit.label = row == 2 ? 18 + column : kFSFirstLevelLabel + column + 2 * row + 6 * (page - 2);
    hit.sell = column == 1;
    return hit;
}

CFSPanelHit FSHitPanelLandscape(const CRect& panel, int page, int /*x*/, int y) {
    CFSPanelHit hit;
    const int rowH = panel.Height() / 10;
    if (page != 2 || rowH <= 0 || y < panel.top)
        return hit;
    const int row = (y - panel.top) / rowH;
    if (row > 9)
        return hit;
    hit.cell = row;
    hit.label = row < 5 ? kFSFirstLevelLabel + 2 * (4 - row) : 15 + 2 * (row - 5);
    hit.sell = row >= 5;
    return hit;
}

const char16_t* FSPanelLabel(int index) {
    static const char16_t* const kLabels[kFSPanelLabelCount] = {
        u"最新", u"开盘", u"最高", u"最低", u"涨跌", u"涨幅", u"总手", u"金额", u"委比", u"昨收", u"均价", u"量比",
        u"换手率", u"市盈率", u"卖一", u"买一", u"卖二", u"买二", u"卖三", u"买三", u"卖四", u"买四", u"卖五", u"买五",
    };
    if (index < 0 || index >= kFSPanelLabelCount)
        return u"";
    return kLabels[index];
}

std::u16string FSComparedValue(const CQuoteNumber& reference, const CQuoteNumber& value, int* color) {
    if (value.IsInvalid()) {
        *color = kFlatColor;
        return kMissingText;
    }
    *color = reference.IsInvalid() ? kFlatColor : CChartCanvas::GetCompareColorIndex(reference, value);
    return value.ToWideText().str();
}

std::u16string FSPercentOf(const CQuoteNumber& price, const CQuoteNumber& prevClose, int* color) {
    if (price.IsInvalid() || prevClose.IsInvalid() || IsZero(prevClose)) {
        *color = kFlatColor;
        return kMissingText;
    }
    const CQuoteNumber pct = FSChangePercent(price, prevClose);
    *color = CChartCanvas::GetCompareColorIndex(CQuoteNumber(), pct);
    return pct.ToWideText().str() + u"%";
}

std::u16string FSPanelValue(const CFSData* data, int label, int* colorIndex, std::u16string* volume) {
    int scratch = kFlatColor;
    int* color = colorIndex ? colorIndex : &scratch;
    *color = kFlatColor;
    if (volume)
        *volume = std::u16string(kMissingText);
    if (!data || data->HasNoData() || label < 0 || label >= kFSPanelLabelCount)
        return kMissingText;
    const CQuoteNumber& pc = data->GetPrevClose();
    const CQuoteNumber& open = data->GetOpen();
    const bool notOpened = IsZero(open);
    switch (label) {
    case kFSLabelLatest:
        if (notOpened && IsZero(data->GetLatest()))
            return kMissingText;
        return FSComparedValue(pc, data->GetLatest(), color);
    case kFSLabelOpen:
        return notOpened ? kMissingText : FSComparedValue(pc, open, color);
    case kFSLabelHigh:
        return notOpened ? kMissingText : FSComparedValue(pc, data->GetHigh(), color);
    case kFSLabelLow:
        return notOpened ? kMissingText : FSComparedValue(pc, data->GetLow(), color);
    case kFSLabelChange:
    case kFSLabelChangePercent: {
        const bool percent = label == kFSLabelChangePercent;
        CQuoteNumber price;
        bool derived = false;
        if (data->IsHistory()) {
            price = data->GetLatest();
            derived = true;
        } else if (notOpened && IsZero(data->GetChange())) {
            const CFSLevel& bid = data->GetBid(0);
            if (IsZero(bid.price) || bid.price.IsInvalid())
                return kMissingText;
            price = bid.price;
            derived = true;
        }
        if (derived) {
            if (IsZero(price))
                return kMissingText;
            if (percent)
                return FSPercentOf(price, pc, color);
            if (price.IsInvalid() || pc.IsInvalid())
                return kMissingText;
            return FSComparedValue(CQuoteNumber(0, pc.GetCode()), price - pc, color);
        }
        const CQuoteNumber& value = percent ? data->GetChangePercent() : data->GetChange();
        std::u16string text = FSComparedValue(CQuoteNumber(), value, color);
        return percent && !value.IsInvalid() ? text + u"%" : text;
    }
    case kFSLabelTotalVolume:
    case kFSLabelAmount: {
        if (notOpened && !data->IsHistory())
            return kMissingText;
        const CQuoteNumber& value = data->IsHistory()
                                        ? (label == kFSLabelTotalVolume ? data->GetHistoryVolume() : data->GetHistoryAmount())
                                        : (label == kFSLabelTotalVolume ? data->GetTotalVolume() : data->GetTotalAmount());
        if (value.IsInvalid())
            return kMissingText;
        *color = kFSPanelVolumeColor;
        return value.ToWideTextWithUnit().str();
    }
    case kFSLabelOrderRatio: {
        const CQuoteNumber& value = data->GetOrderRatio();
        const std::u16string text = FSComparedValue(CQuoteNumber(), value, color);
        return value.IsInvalid() ? text : text + u"%";
    }
    case kFSLabelPrevClose:
        return Plain(pc);
    case kFSLabelAverage:
        return FSComparedValue(open, data->GetAverage(), color);
    case kFSLabelVolumeRatio:
        return Plain(data->GetVolumeRatio());
    case kFSLabelTurnover:
        return Plain(data->GetTurnover());
    case kFSLabelPeRatio:
        return Plain(data->GetPeRatio());
    default:
        break;
    }
    // Quote levels: 14, 16, .. asks; 15, 17, .. bids.
    const int level = (label - kFSFirstLevelLabel) / 2;
    const bool ask = (label - kFSFirstLevelLabel) % 2 == 0;
    const CFSLevel& l = ask ? data->GetAsk(level) : data->GetBid(level);
    if (volume && l.volume != 0)
    {
        const std::string lots = std::to_string(l.volume);
        *volume = std::u16string(lots.begin(), lots.end());
    }
    if (IsZero(l.price))
        return kMissingText;
    return FSComparedValue(pc, l.price, color);
}
