// The broker's invented branch network: provinces grouped by region, and
// for each province its departments in its main cities.
#include "tools/simulator/SimBranchRoutes.h"

#include <string>
#include <vector>

namespace {
struct SimProvince {
    int id;
    const char16_t* region;
    const char16_t* name;
    const char* areaCode;                // the telephone area code of the main city
    std::vector<const char16_t*> cities; // the first is where the branch office sits
};

const std::vector<SimProvince>& Provinces() {
    static const std::vector<SimProvince> provinces = {
        {11, u"华北地区", u"北京", "010", {u"北京"}},
        {12, u"华北地区", u"天津", "022", {u"天津"}},
        {13, u"华北地区", u"河北", "0311", {u"石家庄", u"唐山"}},
        {14, u"华北地区", u"山西", "0351", {u"太原"}},
        {15, u"华北地区", u"内蒙古", "0471", {u"呼和浩特"}},
        {31, u"华东地区", u"上海", "021", {u"上海"}},
        {32, u"华东地区", u"江苏", "025", {u"南京", u"苏州", u"无锡"}},
        {33, u"华东地区", u"浙江", "0571", {u"杭州", u"宁波", u"温州"}},
        {34, u"华东地区", u"安徽", "0551", {u"合肥"}},
        {35, u"华东地区", u"福建", "0591", {u"福州", u"厦门"}},
        {37, u"华东地区", u"山东", "0531", {u"济南", u"青岛"}},
        {41, u"华中地区", u"河南", "0371", {u"郑州"}},
        {42, u"华中地区", u"湖北", "027", {u"武汉", u"宜昌"}},
        {43, u"华中地区", u"湖南", "0731", {u"长沙"}},
        {36, u"华中地区", u"江西", "0791", {u"南昌"}},
        {44, u"华南地区", u"广东", "020", {u"广州", u"深圳", u"佛山", u"东莞"}},
        {45, u"华南地区", u"广西", "0771", {u"南宁"}},
        {46, u"华南地区", u"海南", "0898", {u"海口"}},
        {50, u"西南地区", u"重庆", "023", {u"重庆"}},
        {51, u"西南地区", u"四川", "028", {u"成都", u"绵阳"}},
        {52, u"西南地区", u"贵州", "0851", {u"贵阳"}},
        {53, u"西南地区", u"云南", "0871", {u"昆明"}},
        {61, u"西北地区", u"陕西", "029", {u"西安"}},
        {62, u"西北地区", u"甘肃", "0931", {u"兰州"}},
        {65, u"西北地区", u"新疆", "0991", {u"乌鲁木齐"}},
        {21, u"东北地区", u"辽宁", "024", {u"沈阳", u"大连"}},
        {22, u"东北地区", u"吉林", "0431", {u"长春"}},
        {23, u"东北地区", u"黑龙江", "0451", {u"哈尔滨"}},
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
                const std::u16string city = p.cities[c];
                const std::u16string name = u"澜屿证券" + city + road + u"营业部";
                const std::u16string address = city + u"市" + road + Ascii(std::to_string(18 + 7 * n)) + u"号";
                const std::string tel =
                    std::string(p.areaCode) + "-" + std::to_string(86200000 + p.id * 131 + n * 17);
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
    table.Add(504, 32, Regions);
    table.Add(504, 13, Branches);
}
