// The broker's invented branch network: provinces grouped by region, and
// for each province its departments in its main cities.
#include "tools/simulator/SimBranchRoutes.h"

#include <string>
#include <vector>

namespace {
struct SimCity {
    const char16_t* name;
    const char* areaCode;                // its own telephone area code
};

struct SimProvince {
    int id;
    const char16_t* region;
    const char16_t* name;
    std::vector<SimCity> cities;         // the first is where the branch office sits
};

const std::vector<SimProvince>& Provinces() {
    static const std::vector<SimProvince> provinces = {
        {11, u"华北地区", u"北京", {{u"北京", "010"}}},
        {12, u"华北地区", u"天津", {{u"天津", "022"}}},
        {13, u"华北地区", u"河北", {{u"石家庄", "0311"}, {u"唐山", "0315"}}},
        {14, u"华北地区", u"山西", {{u"太原", "0351"}}},
        {15, u"华北地区", u"内蒙古", {{u"呼和浩特", "0471"}}},
        {31, u"华东地区", u"上海", {{u"上海", "021"}}},
        {32, u"华东地区", u"江苏", {{u"南京", "025"}, {u"苏州", "0512"}, {u"无锡", "0510"}}},
        {33, u"华东地区", u"浙江", {{u"杭州", "0571"}, {u"宁波", "0574"}, {u"温州", "0577"}}},
        {34, u"华东地区", u"安徽", {{u"合肥", "0551"}}},
        {35, u"华东地区", u"福建", {{u"福州", "0591"}, {u"厦门", "0592"}}},
        {37, u"华东地区", u"山东", {{u"济南", "0531"}, {u"青岛", "0532"}}},
        {41, u"华中地区", u"河南", {{u"郑州", "0371"}}},
        {42, u"华中地区", u"湖北", {{u"武汉", "027"}, {u"宜昌", "0717"}}},
        {43, u"华中地区", u"湖南", {{u"长沙", "0731"}}},
        {36, u"华中地区", u"江西", {{u"南昌", "0791"}}},
        {44, u"华南地区", u"广东", {{u"广州", "020"}, {u"深圳", "0755"}, {u"佛山", "0757"}, {u"东莞", "0769"}}},
        {45, u"华南地区", u"广西", {{u"南宁", "0771"}}},
        {46, u"华南地区", u"海南", {{u"海口", "0898"}}},
        {50, u"西南地区", u"重庆", {{u"重庆", "023"}}},
        {51, u"西南地区", u"四川", {{u"成都", "028"}, {u"绵阳", "0816"}}},
        {52, u"西南地区", u"贵州", {{u"贵阳", "0851"}}},
        {53, u"西南地区", u"云南", {{u"昆明", "0871"}}},
        {61, u"西北地区", u"陕西", {{u"西安", "029"}}},
        {62, u"西北地区", u"甘肃", {{u"兰州", "0931"}}},
        {65, u"西北地区", u"新疆", {{u"乌鲁木齐", "0991"}}},
        {21, u"东北地区", u"辽宁", {{u"沈阳", "024"}, {u"大连", "0411"}}},
        {22, u"东北地区", u"吉林", {{u"长春", "0431"}}},
        {23, u"东北地区", u"黑龙江", {{u"哈尔滨", "0451"}}},
    };
    return provinces;
}

std::u16string Ascii(const std::string& text) { return std::u16string(text.begin(), text.end()); }

const char16_t* const kRoads[] = {u"人民路", u"中山路", u"解放路", u"建设大道", u"金融街", u"世纪大道"};

// 504/32: "provinceid" (int32), "region", "province".
SimReply Regions(const SimRequest&, SimContext&) {
    CDataSetWriter w;
    w.AddSet("regions");
    w.AddColumn(DataSetType::Int32, "provinceid", u"省份编号");
    w.AddColumn(DataSetType::WideText, "region", u"区域");
    w.AddColumn(DataSetType::WideText, "province", u"省份");
    for (const SimProvince& p : Provinces()) {
        w.AddRow();
        w.SetInt(0, p.id);
        w.SetText(1, p.region);
        w.SetText(2, p.name);
    }
    return SimReply::Ok(w);
}

// 504/13: one row per department of "provinceid": "deptid" (int32),
// "deptname", "address", "telephone"; an unknown province has none.
SimReply Branches(const SimRequest& r, SimContext&) {
    const int id = r.GetInt("provinceid", -1);
    CDataSetWriter w;
    w.AddSet("depts");
    w.AddColumn(DataSetType::Int32, "deptid", u"营业部编号");
    w.AddColumn(DataSetType::WideText, "deptname", u"营业部");
    w.AddColumn(DataSetType::WideText, "address", u"地址");
    w.AddColumn(DataSetType::WideText, "telephone", u"电话");
    for (const SimProvince& p : Provinces()) {
        if (p.id != id)
            continue;
        // The first city holds two departments, the others one each.
        int n = 0;
        for (size_t c = 0; c < p.cities.size(); ++c) {
            for (int k = 0; k < (c == 0 ? 2 : 1); ++k, ++n) {
                const char16_t* road = kRoads[static_cast<size_t>(p.id + n) % std::size(kRoads)];
                const std::u16string city = p.cities[c].name;
                const std::u16string name = u"澜屿证券" + city + road + u"营业部";
                const std::u16string address = city + u"市" + road + Ascii(std::to_string(18 + 7 * n)) + u"号";
                const std::string tel =
                    std::string(p.cities[c].areaCode) + "-" + std::to_string(86200000 + p.id * 131 + n * 17);
                w.AddRow();
                w.SetInt(0, p.id * 100 + n);
                w.SetText(1, name);
                w.SetText(2, address);
                w.SetText(3, Ascii(tel));
            }
        }
    }
    return SimReply::Ok(w);
}
} // namespace

void CSimBranchRoutes::AddRoutes(CSimRouteTable& table) {
    table.Add(kFuncBranchRegions, Regions);
    table.Add(kFuncBranches, Branches);
}
