// The branch directory's rules apart from its windows: which reply rows
// count, how the region page flows its headers and province links, and
// the info page's request and rows.
#pragma once

#include "platform/Geometry.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CDataSet;

// One usable row of the region reply.
struct BranchRegionRow {
    int provinceId = 0;
    std::u16string region;
    std::u16string province;
};
// The rows of the region set (field 0 id, 1 region, 2 province) whose
// region and province are both there; the others are skipped.
std::vector<BranchRegionRow> ReadRegionRows(CDataSet& set);

// One placed text of the region page: a region header, or a province link
// naming its row of the rows given.
struct BranchRegionLabel {
    bool header = false;
    int row = -1;          // the province's row; −1 for a header
    std::u16string text;
    CRect rect;            // in the page's scrolling coordinates
};
// The size a text takes (the page measures with its font).
using TextMeasure = std::function<CSize(std::u16string_view)>;
// The flow from (40, 40): a header whenever the region changes (ignoring
// case), 10 pixels below the last text, and the provinces after it left to
// right, 15 apart, a province that passes rightLimit starting a new line 5
// below.
std::vector<BranchRegionLabel> LayoutRegions(const std::vector<BranchRegionRow>& rows, int rightLimit,
                                             const TextMeasure& measure);

// "tc_mfuncno=504&tc_sfuncno=13&provinceid=" id; empty for a negative id.
std::string ProvinceBranchesRequest(int provinceId);
// "澜屿证券" province "营业网点".
std::u16string ProvinceBranchesTitle(std::u16string_view province);

// One department of the info page.
struct BranchInfoRow {
    std::u16string title; // field 1, " ", field 2
    std::u16string text;  // field 3
};
// The rows of the info set whose fields 1 to 3 are all there.
std::vector<BranchInfoRow> ReadBranchRows(CDataSet& set);
