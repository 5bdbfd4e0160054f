// The deal page's cursors, request, rows and merge.
#include "quotes/info/DealDetails.h"

#include "core/CDataSet.h"
#include "core/FunctionNumbers.h"
#include "quotes/charts/CChartCanvas.h"
#include "quotes/tables/QuoteRequests.h"

#include <cstdio>

DealCursors ComputeDealCursors(const std::vector<int>& times) {
    DealCursors c;
    for (int t : times) {
        if (t == 0 && c.topTime == 0)
            continue;
        if (c.topTime == 0)
            c.topTime = t;
        if (t != c.topTime)
            break;
        ++c.topCount;
    }
    for (auto it = times.rbegin(); it != times.rend(); ++it) {
        if (*it == 0 && c.bottomTime == 0)
            continue;
        if (c.bottomTime == 0)
            c.bottomTime = *it;
        if (*it != c.bottomTime)
            break;
        ++c.bottomCount;
    }
    return c;
}

int DealRowTime(std::u16string_view text) {
    const size_t colon = text.find(u':');
    if (colon == std::u16string_view::npos)
        return 0;
    auto number = [](std::u16string_view digits) {
        int v = 0;
        for (char16_t ch : digits) {
            if (ch < u'0' || ch > u'9' || v > 9999)
                break;
            v = v * 10 + (ch - u'0');
        }
        return v;
    };
    return number(text.substr(0, colon)) * 100 + number(text.substr(colon + 1));
}

std::u16string DealTimeText(int tm) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d", tm / 100, tm % 100);
    return std::u16string(text, text + std::char_traits<char>::length(text));
}

DealRequest MakeDealRequest(std::string_view code, std::string_view date, const DealCursors& cursors,
                            DealDirection direction, int count) {
    DealRequest r;
    r.kept = direction;
    if (direction == DealDirection::Older) {
        r.time = cursors.topTime;
        r.offset = cursors.topCount;
        r.direct = 1;
    } else {
        r.time = cursors.bottomTime;
        r.offset = cursors.bottomCount;
        r.direct = 0;
    }
    if (r.time == 0) {
        r.offset = 0;
        r.direct = 1;
        r.kept = DealDirection::Older;
    }
    if (!IsRequestValue(code) || !IsRequestValue(date))
        return r;
    r.text = std::string(kRequestHead<kFuncDeals>) + "&code=";
    r.text.append(code).append("&date=").append(date);
    r.text.append("&time=").append(std::to_string(r.time));
    r.text.append("&offset=").append(std::to_string(r.offset));
    r.text.append("&direct=").append(std::to_string(r.direct));
    r.text.append("&count=").append(std::to_string(count));
    return r;
}

std::vector<DealRow> DealRowsOf(CDataSet& set, const std::optional<CQuoteNumber>& prevClose, bool older,
                                const DealPalette& p) {
    std::vector<DealRow> rows;
    const int tm = set.FindColumn("tm");
    const int price = set.FindColumn("zjcj");
    const int volume = set.FindColumn("cjsl");
    const int direct = set.FindColumn("direct");
    const int n = set.GetRowCount();
    for (int i = 0; i < n; ++i) {
        set.MoveFirst();
        set.Move(older ? n - 1 - i : i);
        DealRow row;
        row[0] = {DealTimeText(set.GetFieldInt(tm)), p.plain};
        CQuoteNumber value;
        set.GetFieldNumber(value, price);
        if (value.IsInvalid()) {
            row[1] = {u"-", p.plain};
        } else if (!prevClose) {
            row[1] = {value.ToWideText().str(), p.flat};
        } else {
            const int index = CChartCanvas::GetCompareColorIndex(*prevClose, value);
            row[1] = {value.ToWideText().str(),
                      index == CChartCanvas::kRiseColor   ? p.rise
                      : index == CChartCanvas::kFallColor ? p.fall
                                                          : p.flat};
        }
        row[2] = {set.GetFieldText(volume).str(), p.volume};
        switch (set.GetFieldInt(direct)) {
        case 1:
            row[3] = {u"B", p.rise};
            break;
        case 2:
            row[3] = {u"S", p.fall};
            break;
        default:
            row[3] = {u"-", p.plain};
            break;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<DealRow> MergeDealRows(std::vector<DealRow> shown, std::vector<DealRow> page, bool older, int limit) {
    std::vector<DealRow> rows;
    if (older) {
        rows = page.empty() ? std::move(shown) : std::move(page);
    } else {
        rows = std::move(shown);
        rows.insert(rows.end(), std::make_move_iterator(page.begin()), std::make_move_iterator(page.end()));
    }
    if (limit >= 1 && static_cast<int>(rows.size()) > limit)
        rows.erase(rows.begin(), rows.begin() + (static_cast<int>(rows.size()) - limit));
    return rows;
}

std::u16string DealCaption(std::u16string_view name, std::u16string_view code) {
    std::u16string caption;
    if (!name.empty())
        caption.append(name).append(u" ");
    return caption.append(code).append(u" 成交明细");
}
