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
    const char* keyword;
};

// Each node's param is "p<id>" and its request names its id.
std::vector<uint8_t> MenusBody(const std::vector<Row>& rows) {
    std::vector<SimMenuNode> menus;
    for (const Row& row : rows)
        menus.push_back({row.id, row.pid, row.title, row.keyword, "p" + std::to_string(row.id),
                         "tc_mfuncno=31000&n=" + std::to_string(row.id)});
    return TestMenusBody(menus);
}

std::vector<int> ChildIds(const CMenuNode* node) {
    std::vector<int> ids;
    for (const CMenuNode* child = node ? node->firstChild : nullptr; child; child = child->nextSibling) {
        ids.push_back(child->id);
        if (ids.size() > 100) {
            break; // a loop would never end
        }
    }
    return ids;
}

// Counts every node reachable from the root; stops at a bound so that a
// fault shows as a wrong count instead of a hang.
int CountReachable(const CMenuNode* node, int& budget) {
    int count = 0;
    for (; node != nullptr && budget > 0; node = node->nextSibling, --budget) {
        count += 1 + CountReachable(node->firstChild, budget);
    }
    return count;
}

using MenuTree = AppDataTest;

TEST_F(MenuTree, NoStoredMenusGiveNoTree) {
    EXPECT_EQ(App().GetMenuTree(), nullptr);
}

TEST_F(MenuTree, ChildrenFollowTheOrderOfTheRowsUnderTheRoot) {
    std::vector<uint8_t> body = MenusBody({
        {10, 0, u"行情", "menu"},
        {20, 0, u"交易", "trademenu"},
        {11, 10, u"分时走势", "fschart"},
        {30, 0, u"资讯", "menu"},
        {12, 10, u"K线分析", "kxchart"},
    });
    ASSERT_TRUE(App().WriteDatFile("Menus", body.data(), body.size()));
    CMenuTree* tree = App().GetMenuTree();
    ASSERT_NE(tree, nullptr);
    CMenuNode* root = tree->GetRoot();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->id, 0);
    EXPECT_EQ(ChildIds(root), (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(ChildIds(tree->FindById(10)), (std::vector<int>{11, 12}));

    CMenuNode* chart = tree->FindById(12);
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->parentId, 10);
    EXPECT_EQ(chart->title, u"K线分析");
    EXPECT_EQ(chart->keyword, "kxchart");
    EXPECT_EQ(chart->param, "p12");
    EXPECT_EQ(chart->request, "tc_mfuncno=31000&n=12");
    EXPECT_EQ(tree->FindById(99), nullptr);
}

TEST_F(MenuTree, ARowWithIdZeroGivesTheRootItsTexts) {
    std::vector<uint8_t> body = MenusBody({{0, 0, u"首页", "main"}, {1, 0, u"行情", "menu"}});
    ASSERT_TRUE(App().WriteDatFile("Menus", body.data(), body.size()));
    CMenuTree* tree = App().GetMenuTree();
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->GetRoot()->title, u"首页");
    EXPECT_EQ(ChildIds(tree->GetRoot()), (std::vector<int>{1}));
    EXPECT_EQ(tree->GetCount(), 2);
}

TEST_F(MenuTree, OrphansCyclesAndSelfParentsStayOutOfTheTree) {
    std::vector<uint8_t> body = MenusBody({
        {1, 0, u"a", "menu"},
        {2, 77, u"orphan", "menu"},  // parent missing
        {3, 4, u"cycle a", "menu"},  // 3 -> 4 -> 3
        {4, 3, u"cycle b", "menu"},
        {5, 5, u"self", "menu"},     // its own parent
        {6, 3, u"under a cycle", "menu"},
        {7, 1, u"b", "menu"},
        {1, 0, u"repeated", "menu"}, // id seen before: ignored
    });
    ASSERT_TRUE(App().WriteDatFile("Menus", body.data(), body.size()));
    CMenuTree* tree = App().GetMenuTree();
    ASSERT_NE(tree, nullptr);
    int budget = 1000;
    EXPECT_EQ(CountReachable(tree->GetRoot(), budget), 3); // root, 1, 7
    EXPECT_EQ(ChildIds(tree->GetRoot()), (std::vector<int>{1}));
    EXPECT_EQ(ChildIds(tree->FindById(1)), (std::vector<int>{7}));
    EXPECT_EQ(tree->FindById(1)->title, u"a");
    for (int id : {2, 3, 4, 5, 6}) {
        CMenuNode* node = tree->FindById(id);
        ASSERT_NE(node, nullptr) << id;
        EXPECT_EQ(node->firstChild, nullptr) << id;
        EXPECT_EQ(node->nextSibling, nullptr) << id;
    }
}

TEST_F(MenuTree, UnreadableOrErrorDataGivesNoTree) {
    ASSERT_TRUE(App().WriteDatFile("Menus", "\x01\x00\x00\x00garbage", 11));
    EXPECT_EQ(App().GetMenuTree(), nullptr);
    std::vector<uint8_t> error = CDataSetWriter::ErrorBody(u"无菜单");
    ASSERT_TRUE(App().WriteDatFile("Menus", error.data(), error.size()));
    EXPECT_EQ(App().GetMenuTree(), nullptr);
}

TEST_F(MenuTree, WritingNewMenusRebuildsTheTree) {
    std::vector<uint8_t> first = MenusBody({{1, 0, u"a", "menu"}});
    ASSERT_TRUE(App().WriteDatFile("Menus", first.data(), first.size()));
    ASSERT_NE(App().GetMenuTree(), nullptr);
    std::vector<uint8_t> second = MenusBody({{2, 0, u"b", "menu"}, {3, 0, u"c", "menu"}});
    ASSERT_TRUE(App().WriteDatFile("Menus", second.data(), second.size()));
    EXPECT_EQ(ChildIds(App().GetMenuTree()->GetRoot()), (std::vector<int>{2, 3}));
}

} // namespace
