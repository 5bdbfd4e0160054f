// The watch-list editor against the simulated server: block moves at the
// edges, delete, save, adding found stocks, and the add rule's messages.
#include "tables_watch_Fixture.h"

#include "framework/ui/CWorkerRequestSender.h"

namespace {

// A worker that holds the one request it takes until the test releases it
// to the program's worker (and so to the simulated server); a second send
// while it holds one is refused, as a busy worker refuses it.
class CHoldingSender : public IRequestSender {
public:
    bool Send(HWND window, const std::string& text, unsigned flags, unsigned tag) override {
        if (m_held)
            return false;
        m_held = Held{window, text, flags, tag};
        return true;
    }
    bool WaitIdle(int) override { return !m_held; }
    int AbortAndWait(int) override {
        m_held.reset();
        return 0;
    }
    // GUI thread: the windows send through their workers again, and the
    // held request goes out now.
    void Release() {
        CNetWnd::SetDefaultSender(nullptr);
        if (!m_held)
            return;
        const Held held = *m_held;
        m_held.reset();
        CWorkerRequestSender().Send(held.window, held.text, held.flags, held.tag);
    }

private:
    struct Held {
        HWND window;
        std::string text;
        unsigned flags;
        unsigned tag;
    };
    std::optional<Held> m_held;
};

constexpr int kList = CEditMyStockWnd::kListId;
enum : int { kOk = 0, kSwitch = 1, kUp = 2, kDown = 3, kDelete = 4, kBack = 5 };

class WatchEditor : public WatchListTest {
protected:
    void OpenEditor(const std::string& stored) {
        Start(stored);
        HostDoes(CWatchHostWnd::kOpenEditor);
        ASSERT_EQ(TopWindow(), "CEditMyStockWnd");
    }
    // Taps the items to toggle their check marks.
    void Check(std::initializer_list<int> items) {
        for (int i : items)
            ASSERT_TRUE(CDriverControls::TapListItem(driver, kList, i));
    }
    std::vector<std::u16string> Items() { return ListTexts(kList); }
    bool Press(int button) { return CDriverControls::PressBottomButton(driver, button); }
    // Runs AddToMyStocks over the host with an OK ready for its message.
    int Add(const char* item) {
        driver.AnswerNext(ModalKind::MessageBox, IDOK);
        return driver.RunOnGui([this, item] { return CEditMyStockWnd::AddToMyStocks(item, host.get()); });
    }
};

TEST_F(WatchEditor, TheWatchListIsRequestedWholeAndShownInStoreOrder) {
    OpenEditor("399001.01,600010.02,123456.01");
    const auto sent = Requests(31000, 4);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].Get("code"), "399001.01|600010.02|123456.01");
    EXPECT_EQ(sent[0].Get("field"), "4|3|1");
    // A stock the server does not know stays in the list under its key.
    EXPECT_EQ(Items(), (std::vector<std::u16string>{u"深证成指 (399001.1)", u"华岳银行 (600010.2)", u"123456.01"}));
}

TEST_F(WatchEditor, ABlockMovesAsOneAndStopsAtTheTopAndBottomThenSaves) {
    OpenEditor("600010.02,600023.02,600047.02,399001.01");
    const std::vector<std::u16string> before = Items();
    Check({0, 1});
    ASSERT_TRUE(Press(kUp));
    EXPECT_EQ(Items(), before) << "the first item is checked: nothing moves up";
    ASSERT_TRUE(Press(kDown));
    ASSERT_TRUE(Press(kDown));
    EXPECT_EQ(Items(), (std::vector<std::u16string>{before[2], before[3], before[0], before[1]}));
    ASSERT_TRUE(Press(kDown));
    EXPECT_EQ(Items()[3], before[1]) << "the last item is checked: nothing moves down";
    EXPECT_EQ(CDriverControls::ListSelection(driver, kList), 3);
    EXPECT_EQ(Stored(), "600010.02,600023.02,600047.02,399001.01") << "nothing is written before 确定";
    ASSERT_TRUE(Press(kOk));
    EXPECT_EQ(StoreFile(), std::string("600047.02,399001.01,600010.02,600023.02") + '\0');
    EXPECT_EQ(TopWindow(), "CWatchHostWnd");
}

TEST_F(WatchEditor, DeletedItemsLeaveTheStoreOnSave) {
    OpenEditor("600010.02,600023.02,123456.01,399001.01");
    Check({1, 2});
    driver.AnswerNext(ModalKind::MessageBox, IDYES);
    ASSERT_TRUE(Press(kDelete));
    EXPECT_EQ(ShownTexts(), std::vector<std::u16string>{u"确定删除所选股票？"});
    EXPECT_EQ(Items().size(), 2u);
    ASSERT_TRUE(Press(kOk));
    EXPECT_EQ(Stored(), "600010.02,399001.01");
}

TEST_F(WatchEditor, LeavingWithChangesAsksAndNoKeepsTheEditorOpen) {
    OpenEditor("600010.02,600023.02");
    Check({1});
    ASSERT_TRUE(Press(kUp));
    driver.AnswerNext(ModalKind::MessageBox, IDNO);
    ASSERT_TRUE(Press(kBack));
    EXPECT_EQ(ShownTexts(), std::vector<std::u16string>{u"放弃修改并返回？"});
    EXPECT_EQ(TopWindow(), "CEditMyStockWnd");
    driver.AnswerNext(ModalKind::MessageBox, IDYES);
    ASSERT_TRUE(Press(kBack));
    EXPECT_EQ(TopWindow(), "CWatchHostWnd");
    EXPECT_EQ(Stored(), "600010.02,600023.02");
}

TEST_F(WatchEditor, FoundStocksAreAddedToTheEndOfTheWatchList) {
    OpenEditor("600010.02");
    ASSERT_TRUE(Press(kSwitch));
    EXPECT_EQ(driver.ControlText(CEditMyStockWnd::kTitleId), u"可添加的股票列表：");
    EXPECT_TRUE(Items().empty());
    driver.TypeText(u"hy");
    ASSERT_TRUE(CDriverControls::TapControl(driver, CEditMyStockWnd::kButtonId));
    ASSERT_EQ(Items(), (std::vector<std::u16string>{u"华岳银行(600010.02)", u"鸿运家电(000123.01)"}));
    Check({0, 1});
    driver.AnswerNext(ModalKind::MessageBox, IDYES);
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(Press(kOk));
    EXPECT_EQ(ShownTexts(), (std::vector<std::u16string>{u"确定添加这2只股票？", u"股票600010.02已在自选股",
                                                         u"自选股添加成功!"}));
    EXPECT_EQ(Stored(), "600010.02,000123.01");
    EXPECT_EQ(TopWindow(), "CWatchHostWnd");
}

TEST_F(WatchEditor, ASearchAnsweredAfterTheViewWentBackIsNotShownAsTheWatchListWhichIsAskedForAgain) {
    OpenEditor("600010.02,399001.01");
    ASSERT_TRUE(Press(kSwitch));
    driver.TypeText(u"hy");
    CHoldingSender hold;
    driver.RunOnGui([&hold] { CNetWnd::SetDefaultSender(&hold); });
    ASSERT_TRUE(CDriverControls::TapControl(driver, CEditMyStockWnd::kButtonId));
    EXPECT_EQ(driver.ControlEnabled(CEditMyStockWnd::kEditId), false) << "disabled while the search is out";
    ASSERT_TRUE(Press(kSwitch)); // its watch-list request is refused: the search is still out
    driver.RunOnGui([&hold] { hold.Release(); });
    EXPECT_EQ(Requests(31000, 10).size(), 1u);
    EXPECT_EQ(Requests(31000, 4).size(), 2u) << "the watch list is asked for again";
    EXPECT_EQ(Items(), (std::vector<std::u16string>{u"华岳银行 (600010.2)", u"深证成指 (399001.1)"}));
    // Saving now writes the watch list, not what the search found.
    Check({1});
    ASSERT_TRUE(Press(kUp));
    ASSERT_TRUE(Press(kOk));
    EXPECT_EQ(Stored(), "399001.01,600010.02");
}

TEST_F(WatchEditor, APinyinReplyIsReadAsOneWhenAPressWasRefusedWhileItWasOut) {
    OpenEditor("600010.02");
    ASSERT_TRUE(Press(kSwitch));
    driver.TypeText(u"hy");
    CHoldingSender hold;
    driver.RunOnGui([&hold] { CNetWnd::SetDefaultSender(&hold); });
    ASSERT_TRUE(CDriverControls::TapControl(driver, CEditMyStockWnd::kButtonId));
    ASSERT_TRUE(CDriverControls::TapControl(driver, CEditMyStockWnd::kButtonId)); // refused: busy
    driver.RunOnGui([&hold] { hold.Release(); });
    EXPECT_EQ(Items(), (std::vector<std::u16string>{u"华岳银行(600010.02)", u"鸿运家电(000123.01)"}));
    // The keys are the found stocks', so adding one stores a real key.
    Check({1});
    driver.AnswerNext(ModalKind::MessageBox, IDYES);
    driver.AnswerNext(ModalKind::MessageBox, IDOK);
    ASSERT_TRUE(Press(kOk));
    EXPECT_EQ(Stored(), "600010.02,000123.01");
}

TEST_F(WatchEditor, AnEmptyStoreSendsNothingAndShowsAnEmptyList) {
    OpenEditor("");
    EXPECT_TRUE(Requests(31000, 4).empty());
    EXPECT_TRUE(Items().empty());
}

struct AddCase {
    const char* what;
    std::optional<std::string> stored; // nullopt: no store file
    const char* item;
    int result;
    std::u16string message;
    std::optional<std::string> after;   // the store file's bytes; nullopt: none
    bool blocked = false;               // a directory where the store file belongs
};

void PrintTo(const AddCase& c, std::ostream* os) { *os << c.what; }

class WatchAdd : public WatchEditor, public ::testing::WithParamInterface<AddCase> {};

TEST_P(WatchAdd, TheAddRuleStoresOnlyANewWidenedKeyWithAMarketAndSaysWhatItDid) {
    const AddCase& c = GetParam();
    SCOPED_TRACE(c.what);
    Start(c.stored);
    if (c.blocked)
        std::filesystem::create_directory(dir / "MyQuotes.dat");
    EXPECT_EQ(Add(c.item), c.result);
    EXPECT_EQ(ShownTexts(), std::vector<std::u16string>{c.message});
    if (!c.blocked) {
        EXPECT_EQ(StoreFile(), c.after);
    }
}

const std::string kNul(1, '\0');
INSTANTIATE_TEST_SUITE_P(Items, WatchAdd, ::testing::Values(
    AddCase{"appended widened", "000001.02,399001.01", "600010.2", 1, u"自选股添加成功!",
            "000001.02,399001.01,600010.02" + kNul},
    AddCase{"a missing store gets the item alone", std::nullopt, "600010.2", 1, u"自选股添加成功!", "600010.02" + kNul},
    AddCase{"an empty store gets no leading comma", "", "000016.1", 1, u"自选股添加成功!", "000016.01" + kNul},
    AddCase{"a duplicate is named widened", "000001.02,600010.02", "000001.2", 0, u"股票000001.02已在自选股",
            "000001.02,600010.02" + kNul},
    AddCase{"a stored item not yet widened counts", "600010.2", "600010.02", 0, u"股票600010.02已在自选股",
            "600010.2" + kNul},
    AddCase{"no market", "600010.02", "000001", 0, u"数据错误，无市场代码！", "600010.02" + kNul},
    AddCase{"no market, not even into a missing store", std::nullopt, "600010", 0, u"数据错误，无市场代码！",
            std::nullopt},
    AddCase{"too long for a key", std::nullopt, "1234567890.01", 0, u"数据错误，无市场代码！", std::nullopt},
    AddCase{"a failed write is no success", std::nullopt, "600010.02", 0, u"自选股添加失败!", std::nullopt, true}));

} // namespace
