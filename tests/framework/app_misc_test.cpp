// The small services of the application state: the trade-to-quote market
// mapping, the sales-department check over "VM_DATA.db" and the information
// message box.
#include "app_Fixture.h"

#include "framework/app/SalesDeptCheck.h"
#include "framework/app/TradeMarket.h"
#include "platform/storage/CppSQLite3DB.h"
#include "platform/ui/CModalScript.h"

namespace {

TEST(TradeMarket, ShenzhenCodesGiveQuoteMarketOneAndShanghaiCodesTwo) {
    EXPECT_EQ(TradeMarketToQuoteMarket("0"), 1);
    EXPECT_EQ(TradeMarketToQuoteMarket("2"), 1);
    EXPECT_EQ(TradeMarketToQuoteMarket("1"), 2);
    EXPECT_EQ(TradeMarketToQuoteMarket("3"), 2);
}

TEST(TradeMarket, AnythingElseGivesNoMarket) {
    for (const char* code : {"", "4", "Z", "01", "10"}) {
        EXPECT_EQ(TradeMarketToQuoteMarket(code), 0) << code;
    }
    EXPECT_EQ(TradeMarketToQuoteMarket(nullptr), 0);
}

using SalesDept = AppDataTest;

TEST_F(SalesDept, NoDatabaseMeansNotConfiguredAndCreatesNoFile) {
    EXPECT_FALSE(IsSalesDeptConfiged(App()));
    EXPECT_FALSE(std::filesystem::exists(PathOf("VM_DATA.db")));
}

TEST_F(SalesDept, AMissingOrEmptyTableMeansNotConfiguredAndOneRowMeansConfigured) {
    CAppData& app = App();
    CppSQLite3DB db;
    db.open(app.MakeDataPath(u"VM_DATA.db").view());
    db.execDML(u"create table Table_Other (X text)");
    EXPECT_FALSE(IsSalesDeptConfiged(app));
    db.execDML(u"create table Table_SalesDept (SCCODE text, SCNAME text)");
    EXPECT_FALSE(IsSalesDeptConfiged(app));
    db.execDML(u"insert into Table_SalesDept values (?1, ?2)", {u"0001", u"总部"});
    EXPECT_TRUE(IsSalesDeptConfiged(app));
    db.close();
}

TEST_F(SalesDept, ADamagedDatabaseMeansNotConfigured) {
    WriteFile("VM_DATA.db", std::vector<uint8_t>(4096, 0x5A));
    EXPECT_FALSE(IsSalesDeptConfiged(App()));
}

using InfoMessage = AppDataTest;

TEST_F(InfoMessage, ATextIsShownWithTheInformationCaptionAndANullTextShowsNothing) {
    CModalScript::Instance().Clear();
    CModalScript::Instance().Push(ModalKind::MessageBox, IDOK);
    App().ShowInfoMessage(nullptr);
    App().ShowInfoMessage(u"错误(3)：发送请求失败，请重试");
    std::vector<CShownModal> shown = CModalScript::Instance().Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, u"信息");
    EXPECT_EQ(shown[0].text, u"错误(3)：发送请求失败，请重试");
    CModalScript::Instance().Clear();
}

} // namespace
