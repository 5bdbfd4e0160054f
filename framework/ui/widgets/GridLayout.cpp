// The table grid's geometry.
#include "framework/ui/widgets/GridLayout.h"

#include "platform/gdi/Color.h"

#include <algorithm>
#include <cmath>

namespace GridLayout {

std::vector<int> ShownColumns(const std::vector<bool>& hidden) {
    std::vector<int> shown;
    for (size_t i = 0; i < hidden.size(); ++i)
        if (!hidden[i])
            shown.push_back(static_cast<int>(i));
    return shown;
}

int MaxFirstScrolled(const std::vector<bool>& hidden, int fixed, int onScreen) {
    const int shown = static_cast<int>(ShownColumns(hidden).size());
    const int slots = std::min(std::max(1, onScreen), shown);
    if (std::max(0, fixed) >= slots)
        return 0; // every slot is fixed: nothing scrolls
    return shown - slots;
}

std::vector<CGridColumnSpan> LayoutColumns(int clientWidth, const std::vector<bool>& hidden, int fixed,
                                           int onScreen, int firstScrolled) {
    const std::vector<int> shown = ShownColumns(hidden);
    const int shownCount = static_cast<int>(shown.size());
    std::vector<CGridColumnSpan> spans;
    if (shownCount == 0 || clientWidth <= 0)
        return spans;
    onScreen = std::max(1, onScreen);
    const int slots = std::min(onScreen, shownCount);
    fixed = std::clamp(fixed, 0, slots);
    firstScrolled = std::clamp(firstScrolled, 0, MaxFirstScrolled(hidden, fixed, onScreen));
    const int width = clientWidth / slots;

    std::vector<int> order;
    for (int i = 0; i < fixed; ++i)
        order.push_back(shown[i]);
    for (int i = fixed + firstScrolled; i < shownCount && static_cast<int>(order.size()) < slots; ++i)
        order.push_back(shown[i]);

    int x = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        const bool last = i + 1 == order.size();
        const int right = last ? std::max(x + width, clientWidth) : x + width;
        spans.push_back({order[i], x, right});
        x = right;
    }
    return spans;
}

int FirstScrolledAfterDrag(int startFirst, int dx, int columnWidth, int maxFirst) {
    if (columnWidth <= 0)
        return std::clamp(startFirst, 0, std::max(0, maxFirst));
    // A finger moving left pulls later columns in.
    const int columns = static_cast<int>(std::lround(static_cast<double>(-dx) / columnWidth));
    return std::clamp(startFirst + columns, 0, std::max(0, maxFirst));
}

int RowAt(int y, int headerHeight, int rowHeight, int scrollPos, int rowCount) {
    if (y < headerHeight || rowHeight <= 0)
        return -1;
    const int content = y - headerHeight + scrollPos;
    if (content < 0)
        return -1;
    const int row = content / rowHeight;
    return row < rowCount ? row : -1;
}

int MaxScroll(int clientHeight, int headerHeight, int rowHeight, int rowCount) {
    const long long total = static_cast<long long>(std::max(0, rowHeight)) * std::max(0, rowCount);
    const long long room = std::max(0, clientHeight - headerHeight);
    return static_cast<int>(std::max<long long>(0, total - room));
}

std::uint32_t SelectedTextColor(std::uint32_t color) {
    auto scaled = [color](int k) {
        return MakeRgb(GetRValue(color) * k / 255, GetGValue(color) * k / 255, GetBValue(color) * k / 255);
    };
    auto readable = [](COLORREF c) {
        return ContrastRatio(c, kSelectionBandTop) >= kSelectedContrast &&
               ContrastRatio(c, kSelectionBandBottom) >= kSelectedContrast;
    };
    if (readable(color))
        return color;
    // The lightness falls as the channels shrink: the brightest readable
    // shade lies where the test turns.
    int lo = 0, hi = 255; // scaled(lo) reads, scaled(hi) does not
    while (hi - lo > 1) {
        const int mid = (lo + hi) / 2;
        (readable(scaled(mid)) ? lo : hi) = mid;
    }
    return scaled(lo);
}

} // namespace GridLayout
