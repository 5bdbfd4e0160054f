// The tour's order: steps registered from many files in no set order run
// by rank, and a clash of ranks or names is named before anything runs.
#include "tools/orbstock/Tour.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
CTourStep Step(const char* name, int rank) { return {name, rank, [](CTourContext&) { return true; }, false}; }

std::vector<std::string> Names(const std::vector<CTourStep>& steps) {
    std::vector<std::string> names;
    for (const CTourStep& step : steps)
        names.push_back(step.name);
    return names;
}
} // namespace

TEST(TourOrder, RunsTheStepsByRankWhateverFileRegisteredThemFirst) {
    std::vector<std::string> problems;
    const std::vector<CTourStep> steps =
        OrderTourSteps({Step("kline", 420), Step("startup", 10), Step("orders", 520), Step("menu", 20)}, &problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(Names(steps), (std::vector<std::string>{"startup", "menu", "kline", "orders"}));
}

TEST(TourOrder, NamesTwoStepsOfOneRankAndTwoOfOneName) {
    std::vector<std::string> problems;
    OrderTourSteps({Step("watch_list", 40), Step("funds", 540), Step("ranking_table", 40)}, &problems);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("watch_list"), std::string::npos);
    EXPECT_NE(problems[0].find("ranking_table"), std::string::npos);
    EXPECT_NE(problems[0].find("40"), std::string::npos);

    problems.clear();
    OrderTourSteps({Step("funds", 540), Step("main_menu", 20), Step("funds", 550)}, &problems);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("funds"), std::string::npos);
}

TEST(TourOrder, TheRegisteredTourHasNoClashAndBeginsWithTheStartUp) {
    std::vector<std::string> problems;
    const std::vector<CTourStep> steps = OrderTourSteps(RegisteredTourSteps(), &problems);
    EXPECT_EQ(problems, std::vector<std::string>{});
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.front().name, "startup_connecting");
    EXPECT_TRUE(steps.front().atStartUp);
}
