// The branch directory's reply rows, flow and request.
#include "trade/login/BranchDirectory.h"

#include "core/CDataSet.h"
#include "core/FunctionNumbers.h"

#include <string>

namespace {
bool EqualNoCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i];
        char16_t y = b[i];
        if (x >= u'A' && x <= u'Z')
            x = static_cast<char16_t>(x - u'A' + u'a');
        if (y >= u'A' && y <= u'Z')
            y = static_cast<char16_t>(y - u'A' + u'a');
        if (x != y)
            return false;
    }
    return true;
}
} // namespace

std::vector<BranchRegionRow> ReadRegionRows(CDataSet& set) {
    std::vector<BranchRegionRow> rows;
    if (set.GetColumnCount() < 3)
        return rows;
    for (bool more = set.MoveFirst(); more; more = set.MoveNext()) {
        BranchRegionRow row{set.GetFieldInt(0), std::u16string(set.GetFieldText(1).view()),
                            std::u16string(set.GetFieldText(2).view())};
        if (!row.region.empty() && !row.province.empty())
            rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<BranchRegionLabel> LayoutRegions(const std::vector<BranchRegionRow>& rows, int rightLimit,
                                             const TextMeasure& measure) {
    constexpr int kLeft = 40;
    constexpr int kTop = 40;
    std::vector<BranchRegionLabel> labels;
    int x = kLeft;
    int y = kTop;
    int lastHeight = 0;
    bool inGroup = false;
    std::u16string group;
    for (size_t i = 0; i < rows.size(); ++i) {
        const BranchRegionRow& row = rows[i];
        if (!inGroup || !EqualNoCase(row.region, group)) {
            x = kLeft;
            if (y != kTop)
                y += lastHeight + 10;
            group = row.region;
            inGroup = true;
            const CSize size = measure(row.region);
            labels.push_back({true, -1, row.region, CRect::FromSize(x, y, size.cx, size.cy)});
            x = kLeft;
            y += size.cy + 6;
            lastHeight = size.cy;
        }
        const CSize size = measure(row.province);
        // A name wider than the whole line still starts at the left edge.
        if (x + size.cx > rightLimit && x > kLeft) {
            x = kLeft;
            y += size.cy + 5;
        }
        labels.push_back({false, static_cast<int>(i), row.province, CRect::FromSize(x, y, size.cx, size.cy)});
        x += size.cx + 15;
        lastHeight = size.cy;
    }
    return labels;
}

std::string ProvinceBranchesRequest(int provinceId) {
    if (provinceId < 0)
        return {};
    return std::string(kRequestHead<kFuncBranches>) + "&provinceid=" + std::to_string(provinceId);
}

std::u16string ProvinceBranchesTitle(std::u16string_view province) {
    std::u16string title = u"澜屿证券";
    title += province;
    title += u"营业网点";
    return title;
}

std::vector<BranchInfoRow> ReadBranchRows(CDataSet& set) {
    std::vector<BranchInfoRow> rows;
    if (set.GetColumnCount() < 4)
        return rows;
    for (bool more = set.MoveFirst(); more; more = set.MoveNext()) {
        const CWString a = set.GetFieldText(1);
        const CWString b = set.GetFieldText(2);
        const CWString c = set.GetFieldText(3);
        if (a.IsEmpty() || b.IsEmpty() || c.IsEmpty())
            continue;
        std::u16string title(a.view());
        title += u' ';
        title += b.view();
        rows.push_back({std::move(title), std::u16string(c.view())});
    }
    return rows;
}
