// The small services of the application state: the trade-to-quote market
// mapping, the sales-department check over "VM_DATA.db" and the information
// message box.
#include "app_Fixture.h"

#include "framework/app/SalesDeptCheck.h"
#include "framework/app/TradeMarket.h"
#include "platform/storage/CppSQLite3DB.h"
#include "platform/ui/CModalScript.h"

namespace {

TEST(TradeMarket, ShenzhenCodesGiveQuoteMarketOneShanghaiCodesTwoAndAnythingElseNone) {
    const std::pair<const char*, int> cases[] = {{"0", 1}, {"2", 1}, {"1", 2}, {"3", 2}, {"", 0},
                                                 {"4", 0}, {"Z", 0}, {"01", 0}, {"10", 0}, {nullptr, 0}};
    for (auto [code, market] : cases)
        EXPECT_EQ(TradeMarketToQuoteMarket(code), market) << (code ? code : "null");
}

using SalesDept = AppDataTest;

TEST_F(SalesDept, OnlyADatabaseWithARowInTheDepartmentTableMeansConfigured) {
    CAppData& app = App();
    EXPECT_FALSE(IsSalesDeptConfiged(app));
    EXPECT_FALSE(std::filesystem::exists(m_dir / "VM_DATA.db")) << "asking creates no file";
    WriteFile("VM_DATA.db", std::vector<uint8_t>(4096, 0x5A));
    EXPECT_FALSE(IsSalesDeptConfiged(app)) << "damaged";
    std::filesystem::remove(m_dir / "VM_DATA.db");
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

using InfoMessage = AppDataTest;

TEST_F(InfoMessage, ATextIsShownWithTheInformationCaptionAndANullTextShowsNothing) {
    CModalScript::Instance().Clear();
    CModalScript::Instance().Push(ModalKind::MessageBox, IDOK);
    App().ShowInfoMessage(nullptr);
    App().ShowInfoMessage(u"错误(3)：发送请求失败，请重试");
    const std::vector<CShownModal> shown = CModalScript::Instance().Shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, u"信息");
    EXPECT_EQ(shown[0].text, u"错误(3)：发送请求失败，请重试");
    CModalScript::Instance().Clear();
}

} // namespace
