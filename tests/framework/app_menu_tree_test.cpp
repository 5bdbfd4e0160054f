// The menu tree from stored "Menus" data: children in row order, lookup by
// id, and server data that would otherwise loop (orphans, cycles, a node
// that is its own parent, repeated ids).
#include "app_Fixture.h"

#include "core/CDataSetWriter.h"
#include "framework/app/CMenuTree.h"
#include "support/TestMenus.h"

namespace {

struct Row {
    int id;
    int pid;
    const char16_t* title;
};

// Each node's keyword is "k<id>", its param "p<id>", its request names its id.
void StoreMenus(CAppData& app, const std::vector<Row>& rows) {
    std::vector<SimMenuNode> menus;
    for (const Row& row : rows) {
        const std::string id = std::to_string(row.id);
        menus.push_back({row.id, row.pid, row.title, "k" + id, "p" + id, "tc_mfuncno=31000&n=" + id});
    }
    const std::vector<uint8_t> body = TestMenusBody(menus);
    ASSERT_TRUE(app.WriteDatFile("Menus", body.data(), body.size()));
}

std::vector<int> ChildIds(const CMenuNode* node) {
    std::vector<int> ids;
    for (const CMenuNode* child = node ? node->firstChild : nullptr; child && ids.size() <= 100;
         child = child->nextSibling)
        ids.push_back(child->id); // bounded: a loop would never end
    return ids;
}

// Counts every node reachable from node; stops at a bound so that a fault
// shows as a wrong count instead of a hang.
int CountReachable(const CMenuNode* node, int& budget) {
    int count = 0;
    for (; node != nullptr && budget > 0; node = node->nextSibling, --budget)
        count += 1 + CountReachable(node->firstChild, budget);
    return count;
}

using MenuTree = AppDataTest;

TEST_F(MenuTree, ChildrenFollowTheOrderOfTheRowsAndWritingNewMenusRebuildsTheTree) {
    EXPECT_EQ(App().GetMenuTree(), nullptr) << "no stored menus";
    StoreMenus(App(), {{10, 0, u"行情"}, {20, 0, u"交易"}, {11, 10, u"分时走势"}, {30, 0, u"资讯"}, {12, 10, u"K线分析"}});
    CMenuTree* tree = App().GetMenuTree();
    ASSERT_NE(tree, nullptr);
    ASSERT_NE(tree->GetRoot(), nullptr);
    EXPECT_EQ(tree->GetRoot()->id, 0);
    EXPECT_EQ(ChildIds(tree->GetRoot()), (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(ChildIds(tree->FindById(10)), (std::vector<int>{11, 12}));
    const CMenuNode* chart = tree->FindById(12);
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->parentId, 10);
    EXPECT_EQ(chart->title, u"K线分析");
    EXPECT_EQ(chart->keyword, "k12");
    EXPECT_EQ(chart->param, "p12");
    EXPECT_EQ(chart->request, "tc_mfuncno=31000&n=12");
    EXPECT_EQ(tree->FindById(99), nullptr);

    // A row with id 0 gives the root its texts.
    StoreMenus(App(), {{0, 0, u"首页"}, {2, 0, u"b"}, {3, 0, u"c"}});
    tree = App().GetMenuTree();
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->GetRoot()->title, u"首页");
    EXPECT_EQ(ChildIds(tree->GetRoot()), (std::vector<int>{2, 3}));
    EXPECT_EQ(tree->GetCount(), 3);
}

TEST_F(MenuTree, OrphansCyclesAndSelfParentsStayOutOfTheTree) {
    StoreMenus(App(), {
                          {1, 0, u"a"},
                          {2, 77, u"orphan"}, // parent missing
                          {3, 4, u"cycle a"}, // 3 -> 4 -> 3
                          {4, 3, u"cycle b"},
                          {5, 5, u"self"}, // its own parent
                          {6, 3, u"under a cycle"},
                          {7, 1, u"b"},
                          {1, 0, u"repeated"}, // id seen before: ignored
                      });
    CMenuTree* tree = App().GetMenuTree();
    ASSERT_NE(tree, nullptr);
    int budget = 1000;
    EXPECT_EQ(CountReachable(tree->GetRoot(), budget), 3); // root, 1, 7
    EXPECT_EQ(ChildIds(tree->GetRoot()), (std::vector<int>{1}));
    EXPECT_EQ(ChildIds(tree->FindById(1)), (std::vector<int>{7}));
    EXPECT_EQ(tree->FindById(1)->title, u"a");
    for (int id : {2, 3, 4, 5, 6}) {
        const CMenuNode* node = tree->FindById(id);
        ASSERT_NE(node, nullptr) << id;
        EXPECT_EQ(node->firstChild, nullptr) << id;
        EXPECT_EQ(node->nextSibling, nullptr) << id;
    }
}

TEST_F(MenuTree, UnreadableOrErrorDataGivesNoTree) {
    ASSERT_TRUE(App().WriteDatFile("Menus", "\x01\x00\x00\x00garbage", 11));
    EXPECT_EQ(App().GetMenuTree(), nullptr);
    const std::vector<uint8_t> error = CDataSetWriter::ErrorBody(u"无菜单");
    ASSERT_TRUE(App().WriteDatFile("Menus", error.data(), error.size()));
    EXPECT_EQ(App().GetMenuTree(), nullptr);
}

} // namespace
