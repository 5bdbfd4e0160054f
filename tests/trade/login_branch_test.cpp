// The branch directory: which reply rows count, the region page's flow of
// headers and links, and against the simulated server a province's tap,
// the kept region list and a department list that a refresh replaces.
#include "core/CDataSet.h"
#include "core/CDataSetList.h"
#include "core/CDataSetWriter.h"
#include "framework/app/CAppData.h"
#include "framework/app/CMenuTree.h"
#include "framework/shell/CWndManager.h"
#include "framework/ui/widgets/CTextCtrl.h"
#include "platform/testing/CDriverControls.h"
#include "platform/testing/ShownWindow.h"
#include "platform/win/UiMessageLoop.h"
#include "support/SimAppTest.h"
#include "tools/simulator/CSimMenuTree.h"
#include "trade/TradeWindows.h"
#include "trade/login/BranchDirectory.h"
#include "trade/login/CSalesDeptInfoWnd.h"
#include "trade/login/CSalesDeptRegionWnd.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

// Each character 20 pixels wide, every text 22 high.
CSize FixedMeasure(std::u16string_view text) { return {static_cast<int>(text.size()) * 20, 22}; }

TEST(BranchDirectoryRules, RegionsGroupTheirRunsAndLongLinesWrapAtTheLeftEdge) {
    const std::vector<BranchRegionRow> rows = {
        {1, u"华东地区", u"上海"}, {2, u"华东地区", u"江苏"}, {3, u"华东地区", u"浙江"},
        {4, u"South", u"广东"},    {5, u"south", u"广西"},    {6, u"华东地区", u"安徽"},
    };
    // Right limit 200: "上海" at 40..80, "江苏" at 95..135, "浙江" would end at 190, fits;
    // nothing else fits on that line.
    const std::vector<BranchRegionLabel> labels = LayoutRegions(rows, 200, FixedMeasure);
    struct Expected {
        bool header;
        int row;
        const char16_t* text;
        int x, y;
    };
    const Expected expected[] = {
        {true, -1, u"华东地区", 40, 40},  {false, 0, u"上海", 40, 68},  {false, 1, u"江苏", 95, 68},
        {false, 2, u"浙江", 150, 68},     {true, -1, u"South", 40, 100}, {false, 3, u"广东", 40, 128},
        {false, 4, u"广西", 95, 128},     {true, -1, u"华东地区", 40, 160}, {false, 5, u"安徽", 40, 188},
    };
    ASSERT_EQ(labels.size(), std::size(expected));
    for (size_t i = 0; i < labels.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(labels[i].header, expected[i].header);
        EXPECT_EQ(labels[i].row, expected[i].row);
        EXPECT_EQ(labels[i].text, expected[i].text);
        EXPECT_EQ(labels[i].rect.left, expected[i].x);
        EXPECT_EQ(labels[i].rect.top, expected[i].y);
    }

    const std::u16string longName = u"很长很长很长的省份名字"; // 220 pixels, wider than the line
    const std::vector<BranchRegionLabel> narrow = LayoutRegions({{1, u"华北地区", u"北京"},
                                                                 {2, u"华北地区", u"内蒙古"},
                                                                 {3, u"华北地区", u"黑龙江"},
                                                                 {4, u"华北地区", longName},
                                                                 {5, u"西部", longName}},
                                                                160, FixedMeasure);
    const CPoint places[] = {{40, 40}, {40, 68}, {95, 68}, {40, 95}, {40, 122}, {40, 154}, {40, 182}};
    ASSERT_EQ(narrow.size(), std::size(places));
    for (size_t i = 0; i < narrow.size(); ++i) {
        EXPECT_EQ(narrow[i].rect.left, places[i].x) << i;
        EXPECT_EQ(narrow[i].rect.top, places[i].y) << i << ": a line is 22 high and 5 apart";
    }
}

TEST(BranchDirectoryRules, RowsWithAMissingFieldAreSkipped) {
    CDataSetWriter w;
    w.AddSet("regions");
    w.AddColumn(DataSetType::Int32, "provinceid");
    w.AddColumn(DataSetType::WideText, "region");
    w.AddColumn(DataSetType::WideText, "province");
    w.AddColumn(DataSetType::WideText, "telephone");
    const struct {
        int id;
        const char16_t *a, *b, *c;
    } rows[] = {{1, u"华东地区", u"上海", u"021-1"}, {2, u"", u"江苏", u"025-1"}, {3, u"华东地区", u"", u"0571-1"},
                {4, u"华东地区", u"安徽", u""}};
    for (const auto& r : rows) {
        w.AddRow();
        w.SetInt(0, r.id);
        w.SetText(1, r.a);
        w.SetText(2, r.b);
        w.SetText(3, r.c);
    }
    const std::vector<uint8_t> body = w.Serialize();
    CDataSetList list(body.data(), static_cast<int>(body.size()));
    CDataSet& set = **list.GetAt(0);
    const std::vector<BranchRegionRow> regions = ReadRegionRows(set);
    ASSERT_EQ(regions.size(), 2u);
    EXPECT_EQ(regions[0].provinceId, 1);
    EXPECT_EQ(regions[1].provinceId, 4);
    const std::vector<BranchInfoRow> branches = ReadBranchRows(set);
    ASSERT_EQ(branches.size(), 1u);
    EXPECT_EQ(branches[0].title, u"华东地区 上海");
    EXPECT_EQ(branches[0].text, u"021-1");
    EXPECT_EQ(ProvinceBranchesRequest(32), "tc_mfuncno=504&tc_sfuncno=13&provinceid=32");
    EXPECT_EQ(ProvinceBranchesRequest(-1), "");
}

// The host plays the menu the region page's node sits in.
class CBranchHostWnd : public CNetWnd {
public:
    ~CBranchHostWnd() override { Destroy(); }
    const char* GetClassName() const override { return "CBranchHostWnd"; }
};

class BranchDirectoryTest : public SimAppTest {
protected:
    BranchDirectoryTest() : SimAppTest("orb_branches") {}
    std::unique_ptr<CBranchHostWnd> host;

    void ReleaseWindows() override { host.reset(); }

    void Start() {
        ASSERT_TRUE(driver.Start([this] {
            CAppData* app = CreateAppData();
            ASSERT_NE(app, nullptr);
            CDataSetWriter menus;
            CSimMenuTree::WriteMenus(menus);
            const std::vector<uint8_t> body = menus.Serialize();
            ASSERT_TRUE(app->WriteDatFile("Menus", body.data(), body.size()));
            RegisterTradeWindows();
            host = std::make_unique<CBranchHostWnd>();
            ASSERT_TRUE(host->CreateOver(nullptr));
            host->ShowWindow(true);
        }));
        // The node of the simulator's menu, opened as a tap on it would.
        driver.RunOnGui([this] {
            UiMessageLoop::Current()->PostTask([this] {
                CMenuNode* node = nullptr;
                for (CMenuNode* n = CAppData::Instance()->GetMenuTree()->FindById(6)->firstChild; n; n = n->nextSibling)
                    if (n->keyword.EqualsNoCaseStr("yywd"))
                        node = n;
                if (node)
                    CWndManager::Instance().CreateWnd(node->keyword.c_str(), node->id, node->title.c_str(), "",
                                                      node->request.c_str(), 0, host.get());
            });
        });
        driver.WaitForRest();
    }
    template <class T>
    static T* Shown() {
        return ShownTopWindow<T>();
    }
    // Taps the region page's text that reads text.
    bool TapText(std::u16string_view text) {
        const std::optional<CRect> r = driver.RunOnGui([text]() -> std::optional<CRect> {
            CSalesDeptRegionWnd* page = Shown<CSalesDeptRegionWnd>();
            for (int i = 0; page && page->GetText(i); ++i)
                if (page->GetText(i)->GetText() == text)
                    return page->GetText(i)->GetScreenRect();
            return std::nullopt;
        });
        return r && driver.Tap((r->left + r->right) / 2, (r->top + r->bottom) / 2);
    }
    std::vector<std::u16string> Departments() {
        return CDriverControls::ListItems(driver, CSalesDeptInfoWnd::kListId).value_or(std::vector<std::u16string>{});
    }
};

TEST_F(BranchDirectoryTest, AProvinceOpensItsDepartmentsOnceEachAndARefreshReplacesThem) {
    Start();
    ASSERT_EQ(Requests(504, 32).size(), 1u);
    ASSERT_TRUE(TapText(u"江苏"));
    const std::vector<SimRequest> sent = Requests(504, 13);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].Get("provinceid"), "32");
    EXPECT_EQ(driver.RunOnGui([] { return std::u16string(Shown<CSalesDeptInfoWnd>()->GetTitle().view()); }),
              u"澜屿证券江苏营业网点");
    const size_t count = Departments().size();
    EXPECT_EQ(count, 4u);
    driver.RunOnGui([] { Shown<CSalesDeptInfoWnd>()->Refresh(); });
    driver.WaitForRest();
    EXPECT_EQ(Requests(504, 13).size(), 2u);
    EXPECT_EQ(Departments().size(), count) << "no row twice";

    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, 2));
    ASSERT_TRUE(TapText(u"华东地区")) << "a header is shown";
    EXPECT_EQ(Requests(504, 13).size(), 2u) << "a header opens nothing";
    driver.RunOnGui([] { Shown<CSalesDeptRegionWnd>()->Refresh(); });
    driver.WaitForRest();
    EXPECT_EQ(Requests(504, 32).size(), 1u) << "the held list sends nothing";
}

TEST_F(BranchDirectoryTest, ATapMapsToItsOwnRowWhenTwoProvincesShareAName) {
    sim.SetRoute(504, 32, [](const SimRequest&, CSimMarket&) {
        CDataSetWriter w;
        w.AddSet("regions");
        w.AddColumn(DataSetType::Int32, "provinceid");
        w.AddColumn(DataSetType::WideText, "region");
        w.AddColumn(DataSetType::WideText, "province");
        const struct {
            int id;
            const char16_t *region, *province;
        } rows[] = {{7, u"华北地区", u"开发区"}, {8, u"", u"无区域"}, {9, u"华南地区", u"开发区"}};
        for (const auto& r : rows) {
            w.AddRow();
            w.SetInt(0, r.id);
            w.SetText(1, r.region);
            w.SetText(2, r.province);
        }
        return SimReply::Ok(w);
    });
    Start();
    const std::vector<std::u16string> texts = driver.RunOnGui([] {
        std::vector<std::u16string> out;
        CSalesDeptRegionWnd* page = Shown<CSalesDeptRegionWnd>();
        for (int i = 0; page && page->GetText(i); ++i)
            out.push_back(page->GetText(i)->GetText());
        return out;
    });
    EXPECT_EQ(texts, (std::vector<std::u16string>{u"华北地区", u"开发区", u"华南地区", u"开发区"}));
    // The second "开发区" is the fourth text.
    const std::optional<CRect> r =
        driver.RunOnGui([] { return std::optional<CRect>(Shown<CSalesDeptRegionWnd>()->GetText(3)->GetScreenRect()); });
    ASSERT_TRUE(r);
    ASSERT_TRUE(driver.Tap((r->left + r->right) / 2, (r->top + r->bottom) / 2));
    const std::vector<SimRequest> sent = Requests(504, 13);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].Get("provinceid"), "9");
}

} // namespace
