// The sales-department window against the simulated server: the broker's
// list and the user's own, the add and delete rules, what "确定" writes
// and what it keeps when the database or the server fails.
#include "framework/ui/CNetWnd.h"
#include "framework/ui/WindowKeywords.h"
#include "platform/storage/CppSQLite3DB.h"
#include "platform/testing/CDriverControls.h"
#include "support/SimAppTest.h"
#include "trade/TradeWindows.h"
#include "trade/login/CSalesDeptSetWnd.h"
#include "trade/login/SalesDeptStore.h"

namespace {
// The window a person came from: opens the department window by its
// keyword, or runs the trade entry point, when told.
class CDeptHostWnd : public CNetWnd {
public:
    enum : UINT { kOpenDepts = WM_USER + 70, kTradeEntry };
    ~CDeptHostWnd() override { Destroy(); }
    const char* GetClassName() const override { return "CDeptHostWnd"; }
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == kOpenDepts) {
            GetWndManager().CreateWnd(kSalesDeptKeyword, -1, u"营业部设置", "", "", 0, this);
            return 0;
        }
        if (msg == kTradeEntry) {
            CAppData::Instance()->CheckTradeLogin(this, -1, false);
            return 0;
        }
        return CNetWnd::OnMessage(msg, wParam, lParam);
    }
};

const std::vector<SalesDept> kFirstNine = {
    {"0001", u"a"}, {"0002", u"b"}, {"0003", u"c"}, {"0004", u"d"}, {"0005", u"e"},
    {"0006", u"f"}, {"0007", u"g"}, {"0008", u"h"}, {"0009", u"i"},
};
constexpr char16_t kShenzhen[] = u"深圳深南中路证券营业部";
constexpr char16_t kPudong[] = u"上海浦东南路证券营业部";

class SalesDeptTest : public SimAppTest {
protected:
    SalesDeptTest() : SimAppTest("orb_depts") {}

    std::unique_ptr<CDeptHostWnd> host;

    void ReleaseWindows() override { host.reset(); }

    // Starts the program with the stored list (no table for nullopt) and
    // opens the department window as its menu node does (or runs the trade
    // entry point), with OK ready for the first oks message boxes.
    void Open(std::optional<std::vector<SalesDept>> stored, UINT how = CDeptHostWnd::kOpenDepts, int oks = 0) {
        ASSERT_TRUE(driver.Start([this, stored] {
            CAppData* app = CreateAppData();
            ASSERT_NE(app, nullptr);
            if (stored) {
                ASSERT_TRUE(SaveSalesDepts(*app, *stored));
            }
            RegisterTradeWindows();
            host = std::make_unique<CDeptHostWnd>();
            ASSERT_TRUE(host->CreateOver(nullptr));
            host->ShowWindow(true);
        }));
        for (int i = 0; i < oks; ++i)
            driver.AnswerNext(ModalKind::MessageBox, IDOK);
        driver.RunOnGui([this, how] { host->PostMessage(how, 0, 0); });
        ASSERT_TRUE(driver.WaitForRest());
    }
    std::vector<SalesDept> Stored() {
        return driver.RunOnGui([] { return LoadSalesDepts(*CAppData::Instance()).value_or(std::vector<SalesDept>{{"?", u"?"}}); });
    }
    std::string Setting(const char* key) {
        return driver.RunOnGui([key] { return CAppData::Instance()->GetSetting(key).str(); });
    }
    std::vector<std::u16string> Listed() {
        return CDriverControls::ListItems(driver, CSalesDeptSetWnd::kListId).value_or(std::vector<std::u16string>{u"?"});
    }
    std::u16string CodeBox() { return driver.ControlText(CSalesDeptSetWnd::kCodeBoxId).value_or(u"?"); }
    // Types a code into the code box as a person does: tap, erase, type.
    void TypeCode(std::u16string_view code) {
        ASSERT_TRUE(CDriverControls::TapControl(driver, CSalesDeptSetWnd::kCodeBoxId));
        for (size_t n = CodeBox().size(); n > 0; --n)
            driver.PressKey(VK_BACK);
        driver.TypeText(code);
        ASSERT_TRUE(driver.WaitForRest());
    }
    bool Press(int button) { return CDriverControls::PressBottomButton(driver, button); }
    bool DeptWindowShown() {
        for (const CWindowInfo& w : driver.OpenWindows())
            if (w.className == std::string("CSalesDeptSetWnd") && w.visible)
                return true;
        return false;
    }
    void ExecOnStore(std::u16string_view sql) {
        driver.RunOnGui([sql] {
            CppSQLite3DB db;
            db.open(CAppData::Instance()->MakeDataPath(kSalesDeptDbFile).view());
            db.execDML(sql);
        });
    }
};
} // namespace

TEST_F(SalesDeptTest, TheBrokersListFillsTheComboAndNamesTheStoredDepartmentsKeepingNamesItLacks) {
    Open(std::vector<SalesDept>{{"0003", u"旧名"}, {"9999", u"已撤并的营业部"}});
    EXPECT_EQ(Requests(501, 17).size(), 1u);
    EXPECT_EQ(Listed(), (std::vector<std::u16string>{kPudong, u"已撤并的营业部"}));
    EXPECT_EQ(CodeBox(), u"0001") << "the first department is selected";
    TypeCode(u"0003");
    EXPECT_EQ(driver.ControlText(CComboBoxWnd::kEditId), kPudong);
    TypeCode(u"000");
    EXPECT_EQ(driver.ControlText(CComboBoxWnd::kEditId), kPudong) << "three characters select nothing";
    TypeCode(u"7777");
    EXPECT_EQ(driver.ControlText(CComboBoxWnd::kEditId), kPudong) << "an unknown code keeps the selection";
    ASSERT_TRUE(CDriverControls::TapControl(driver, CComboBoxWnd::kDropId));
    ASSERT_TRUE(CDriverControls::TapListItem(driver, CComboBoxWnd::kListId, 4));
    EXPECT_EQ(CodeBox(), u"0005") << "a department picked from the list shows its code";
    EXPECT_TRUE(Press(CSalesDeptSetWnd::kBarSave));
    EXPECT_FALSE(DeptWindowShown());
    EXPECT_EQ(Stored(), (std::vector<SalesDept>{{"0003", u"旧名"}, {"9999", u"已撤并的营业部"}}))
        << "nothing changed, nothing written";
}

TEST_F(SalesDeptTest, TheTenthDepartmentIsAddedTheEleventhAndAListedOneAreRefused) {
    Open(kFirstNine);
    TypeCode(u"0001");
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(Press(CSalesDeptSetWnd::kBarAdd));
    TypeCode(u"0010");
    ASSERT_TRUE(Press(CSalesDeptSetWnd::kBarAdd));
    TypeCode(u"0011");
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(Press(CSalesDeptSetWnd::kBarAdd));
    EXPECT_EQ(ShownTexts(), (std::vector<std::u16string>{u"该营业部已存在！", u"添加营业部数已达到最大数！"}));
    ASSERT_EQ(Listed().size(), 10u);
    EXPECT_EQ(Listed()[9], u"南京中山东路证券营业部");
    ASSERT_TRUE(Press(CSalesDeptSetWnd::kBarSave));
    const std::vector<SalesDept> stored = Stored();
    ASSERT_EQ(stored.size(), 10u);
    EXPECT_EQ(stored[0], (SalesDept{"0001", kShenzhen})) << "rewritten under the server's names";
    EXPECT_EQ(stored[9], (SalesDept{"0010", u"南京中山东路证券营业部"}));
    EXPECT_TRUE(driver.RunOnGui([] { return CSalesDeptSetWnd::IsSalesDeptConfiged(); }));
}

TEST_F(SalesDeptTest, DeletingTheLoginsDepartmentResetsTheSettingOnlyWhenSaved) {
    Open(std::vector<SalesDept>{{"0001", kShenzhen}, {"0003", kPudong}});
    driver.RunOnGui([] { CAppData::Instance()->SetSetting(kSalesDeptSetting, "0003", true); });
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(Press(CSalesDeptSetWnd::kBarDelete));
    ASSERT_TRUE(CDriverControls::TapListItem(driver, CSalesDeptSetWnd::kListId, 1));
    driver.AnswerNext(ModalKind::MessageBox, IDNO);
    ASSERT_TRUE(Press(CSalesDeptSetWnd::kBarDelete));
    EXPECT_EQ(Listed().size(), 2u);
    driver.AnswerNext(ModalKind::MessageBox, IDYES);
    ASSERT_TRUE(Press(CSalesDeptSetWnd::kBarDelete));
    EXPECT_EQ(ShownTexts(), (std::vector<std::u16string>{u"未选中任何营业部信息！", u"确定删除选中的营业部？",
                                                         u"确定删除选中的营业部？"}));
    EXPECT_EQ(Listed(), std::vector<std::u16string>{kShenzhen});
    EXPECT_EQ(Setting(kSalesDeptSetting), "0003") << "nothing is written before 确定";
    EXPECT_EQ(Stored().size(), 2u);
    ASSERT_TRUE(Press(CSalesDeptSetWnd::kBarSave));
    EXPECT_EQ(Stored(), (std::vector<SalesDept>{{"0001", kShenzhen}}));
    EXPECT_EQ(Setting(kSalesDeptSetting), "0001");
}

TEST_F(SalesDeptTest, AFailedSaveKeepsTheOldListAndTheLoginsDepartment) {
    Open(std::vector<SalesDept>{{"0001", kShenzhen}, {"0003", kPudong}});
    driver.RunOnGui([] { CAppData::Instance()->SetSetting(kSalesDeptSetting, "0003", true); });
    ExecOnStore(u"create trigger refuse before insert on Table_SalesDept begin select raise(abort, 'full'); end;");
    ASSERT_TRUE(CDriverControls::TapListItem(driver, CSalesDeptSetWnd::kListId, 1));
    driver.AnswerNext(ModalKind::MessageBox, IDYES);
    ASSERT_TRUE(Press(CSalesDeptSetWnd::kBarDelete));
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(Press(CSalesDeptSetWnd::kBarSave));
    EXPECT_EQ(ShownTexts().back(), u"DB Operation Failed in CSalesDeptSetWnd::SaveData!");
    EXPECT_EQ(Stored(), (std::vector<SalesDept>{{"0001", kShenzhen}, {"0003", kPudong}}));
    EXPECT_EQ(Setting(kSalesDeptSetting), "0003");
}

namespace {
SimReply NoRows() {
    CDataSetWriter w;
    w.AddSet("yyb");
    w.AddColumn(DataSetType::WideText, "yybmc");
    w.AddColumn(DataSetType::AnsiText, "yybdm");
    return SimReply::Ok(w);
}
SimReply NoSet() { return SimReply::Ok(CDataSetWriter()); }
SimReply ErrorSet() { return SimReply::Error(u"营业部列表暂不可用"); }

struct EmptyListCase {
    const char* name;
    SimReply (*reply)();
    bool error; // the reply's text is shown first
};
class SalesDeptEmptyList : public SalesDeptTest, public ::testing::WithParamInterface<EmptyListCase> {};
} // namespace

TEST_P(SalesDeptEmptyList, LeavesTheCodeBoxEmptyAndTheOwnListLoads) {
    sim.SetRoute(501, 17, [](const SimRequest&, CSimMarket&) { return GetParam().reply(); });
    Open(std::vector<SalesDept>{{"0003", u"浦东"}}, CDeptHostWnd::kOpenDepts, GetParam().error ? 1 : 0);
    EXPECT_EQ(CodeBox(), u"");
    EXPECT_EQ(Listed(), std::vector<std::u16string>{u"浦东"});
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(Press(CSalesDeptSetWnd::kBarAdd));
    std::vector<std::u16string> shown{u"数据获取错误，无法添加营业部！"};
    if (GetParam().error)
        shown.insert(shown.begin(), u"营业部列表暂不可用");
    EXPECT_EQ(ShownTexts(), shown);
}

INSTANTIATE_TEST_SUITE_P(Replies, SalesDeptEmptyList,
                         ::testing::Values(EmptyListCase{"NoRows", NoRows, false}, EmptyListCase{"NoSet", NoSet, false},
                                           EmptyListCase{"ErrorSet", ErrorSet, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SalesDeptTest, AFailedExchangeIsToldAndTheOwnListLoads) {
    sim.InjectFaultFor(501, 17, SimFaultKind::CorruptBody, 5);
    Open(std::vector<SalesDept>{{"0003", u"浦东"}}, CDeptHostWnd::kOpenDepts, 1);
    EXPECT_EQ(ShownTexts().size(), 1u);
    EXPECT_EQ(CodeBox(), u"");
    EXPECT_EQ(Listed(), std::vector<std::u16string>{u"浦东"});
}

TEST_F(SalesDeptTest, NamesWithQuotesAreStoredIntactAndCodesThatCouldNotTravelAreLeftOut) {
    sim.SetRoute(501, 17, [](const SimRequest&, CSimMarket&) {
        CDataSetWriter w;
        w.AddSet("yyb");
        w.AddColumn(DataSetType::WideText, "yybmc");
        w.AddColumn(DataSetType::AnsiText, "yybdm");
        const std::pair<const char16_t*, const char*> rows[] = {
            {u"坏代码", "00'1"}, {u"O'Neil \"路\"营业部'); drop table Table_SalesDept;--", "0099"}, {u"空", ""},
            {u"注入", "1&a=b"}};
        for (const auto& [name, code] : rows) {
            w.AddRow();
            w.SetText(0, name);
            w.SetAnsiText(1, code);
        }
        return SimReply::Ok(w);
    });
    Open(std::vector<SalesDept>{});
    EXPECT_EQ(CodeBox(), u"0099");
    ASSERT_TRUE(Press(CSalesDeptSetWnd::kBarAdd));
    ASSERT_TRUE(Press(CSalesDeptSetWnd::kBarSave));
    EXPECT_EQ(Stored(), (std::vector<SalesDept>{{"0099", u"O'Neil \"路\"营业部'); drop table Table_SalesDept;--"}}));
}

TEST_F(SalesDeptTest, TheTradeEntryLeadsAUserWithoutADepartmentHereAndAGarbageStoreNeverCrashes) {
    temp.WriteBytes("VM_DATA.db", std::vector<uint8_t>(2048, 0x5A));
    Open(std::nullopt, CDeptHostWnd::kTradeEntry, 3);
    EXPECT_EQ(ShownTexts(), (std::vector<std::u16string>{u"请先设置好营业部（之后也可以在“软件设置”中添加和删除营业部）",
                                                         u"DB Operation Failed in CSalesDeptSetWnd::OnInitDialog!",
                                                         u"DB Operation Failed in CSalesDeptSetWnd::AddToDisplay!"}));
    ASSERT_TRUE(DeptWindowShown());
    EXPECT_EQ(CodeBox(), u"0001");
    ASSERT_TRUE(Press(CSalesDeptSetWnd::kBarAdd));
    EXPECT_EQ(Listed(), std::vector<std::u16string>{kShenzhen});
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(Press(CSalesDeptSetWnd::kBarSave));
    EXPECT_EQ(ShownTexts().back(), u"DB Operation Failed in CSalesDeptSetWnd::SaveData!");
    EXPECT_FALSE(driver.RunOnGui([] { return CSalesDeptSetWnd::IsSalesDeptConfiged(); }));
}
