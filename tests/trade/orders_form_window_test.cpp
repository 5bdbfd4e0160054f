// The order form against the simulated broker: what it asks when opened
// from a quote screen, how its replies are read whatever races them, the
// holder it keeps, what a changed code clears, and what OK refuses.
#include "orders_confirm_Fixture.h"

#include "framework/ui/WndMessages.h"
#include <algorithm>
#include <cstring>
#include "framework/ui/widgets/CGridCtrl.h"
#include "platform/ui/UiDefs.h"
#include "tools/simulator/SimOrderFormRoutes.h"
#include "trade/orders/CTradeBuySaleWnd.h"

namespace {

// 张伟's holders as his login hands them, and variants of them.
const std::vector<HolderRow> kAllHolders = {
    {"0", "0100012345", u"深A"}, {"1", "A100012345", u"沪A"}, {"2", "2000012345", u"深B"}, {"3", "C100012345", u"沪B"}};

// A margin form as the margin subsystem makes one: it sets its kind and
// opens with its preset query.
class CMarginTestForm : public CTradeBuySaleWnd {
public:
    explicit CMarginTestForm(int kind) { SetTradeKind(kind); }
    const char* GetClassName() const override { return "CMarginTestForm"; }
};

class OrderFormTest : public ConfirmPageTest {
protected:
    // Opens the form with the request text a quote screen gives it and waits
    // for its first exchange.
    void OpenForm(const std::string& request, int marginKind = 0) {
        driver.RunOnGui([this, request, marginKind] {
            host->run = [this, request, marginKind] {
                std::unique_ptr<CTradeBuySaleWnd> form;
                if (marginKind)
                    form = std::make_unique<CMarginTestForm>(marginKind);
                else
                    form = std::make_unique<CTradeBuySaleWnd>();
                CBaseWnd::GetWndManager().RunWindow(std::move(form), -1, marginKind ? u"信用交易" : u"买入", "",
                                                    request.c_str(), host.get(), ANIM_NONE, ANIM_NONE);
            };
            host->PostMessage(CConfirmHostWnd::kRun);
        });
        ASSERT_TRUE(driver.WaitForRest());
        ASSERT_TRUE(driver.RunOnGui([] { return Form() != nullptr; }));
    }
    static CTradeBuySaleWnd* Form() {
        UiWin* code = CDriverControls::FindShownControl(CTradeBuySaleWnd::kCodeId);
        for (UiWin* w = code; w; w = w->GetParent())
            if (auto* form = dynamic_cast<CTradeBuySaleWnd*>(w))
                return form;
        return nullptr;
    }
    template <class F>
    auto OnForm(F fn) {
        return driver.RunOnGui([fn] { return fn(*Form()); });
    }
    std::vector<std::string> HolderValues() {
        return OnForm([](CTradeBuySaleWnd& f) {
            std::vector<std::string> out;
            for (const CChoiceItem& item : f.GetHolders())
                out.push_back(item.value.str());
            return out;
        });
    }
    void SetCode(const std::u16string& code) {
        driver.RunOnGui([code] {
            if (auto* edit = dynamic_cast<UiEdit*>(CDriverControls::FindShownControl(CTradeBuySaleWnd::kCodeId)))
                edit->SetText(code);
        });
        ASSERT_TRUE(driver.WaitForRest());
    }
    void Command(int id, int code, LPARAM value) {
        driver.RunOnGui([id, code, value] { Form()->PostMessage(WM_COMMAND, MakeWParam(id, code), value); });
        ASSERT_TRUE(driver.WaitForRest());
    }
};

TEST_F(OrderFormTest, ASellFromAChartAsksTheSellMaximumThenThePanelOfItsMarket) {
    StartWith(kAllHolders);
    OpenForm("code=600010.02&price=8.01&market=2&type=1&MMLB=1");
    const std::vector<SimRequest> max = Requests(500, 5);
    ASSERT_EQ(max.size(), 1u);
    EXPECT_EQ(OpenedText(max[0]), "tc_mfuncno=500&tc_sfuncno=5&" + std::string(kSession) +
                                      "&operway=i&trdpwd=123456&bsflag=S&stkcode=600010&fundid=000100012345");
    EXPECT_TRUE(Requests(500, 4).empty());
    const std::vector<SimRequest> quotes = Requests(31000, 4);
    ASSERT_EQ(quotes.size(), 1u);
    EXPECT_EQ(quotes[0].Get("code"), "600010.2");
    EXPECT_FALSE(quotes[0].sealed);
    EXPECT_EQ(HolderValues(), std::vector<std::string>{kShHolder});
    EXPECT_EQ(OnForm([](CTradeBuySaleWnd& f) { return f.GetFieldText(CTradeBuySaleWnd::kPriceId); }), u"8.01");
    EXPECT_EQ(OnForm([](CTradeBuySaleWnd& f) { return f.GetPriceTypes().size(); }), 3u); // Shanghai sell
    EXPECT_EQ(OnForm([](CTradeBuySaleWnd& f) { return f.GetPanel().GetRowCount(); }), 10);
    EXPECT_EQ(driver.ControlText(CTradeBuySaleWnd::kNameId), u"华岳银行");
}

TEST_F(OrderFormTest, MmlbOtherThanOneBuys) {
    StartWith(kAllHolders);
    for (const char* mmlb : {"5", "-1"}) {
        sim.ClearRequestLog();
        OpenForm(std::string("code=000016.01&MMLB=") + mmlb);
        ASSERT_EQ(Requests(500, 4).size(), 1u) << mmlb;
        EXPECT_EQ(Requests(500, 4)[0].Get("bsflag"), "B");
        EXPECT_EQ(OnForm([](CTradeBuySaleWnd& f) { return f.GetTradeKind(); }), 1);
        driver.RunOnGui([] { Form()->EndWindow(1); });
        ASSERT_TRUE(driver.WaitForRest());
    }
}

TEST_F(OrderFormTest, AQuoteTickRacingTheMaximumQueryNeverTakesItsPlace) {
    StartWith(kAllHolders);
    OpenForm("code=600010.02&MMLB=0");
    sim.ClearRequestLog();
    const int before = OnForm([](CTradeBuySaleWnd& f) { return f.GetReplyCount(); });
    // The maximum is posted, and a tick comes before the post is handled.
    driver.RunOnGui([] {
        Form()->PostQuery(CTradeBuySaleWnd::Query::MaxQuantity);
        Form()->OnRefreshTimer();
    });
    ASSERT_TRUE(driver.WaitForRest());
    EXPECT_EQ(Requests(500, 4).size(), 1u);
    EXPECT_EQ(OnForm([](CTradeBuySaleWnd& f) { return f.GetReplyCount(); }), before + 1);
    EXPECT_EQ(Requests(31000, 4).size(), 1u); // asked by the reply, not read as one
    EXPECT_EQ(OnForm([](CTradeBuySaleWnd& f) { return f.GetPanel().GetRowCount(); }), 10);
}

TEST_F(OrderFormTest, TheSecondHolderPickedIsKeptThroughARequery) {
    StartWith({{"1", "A100012345", u"沪A"}, {"1", "A100012399", u"沪A"}, {"0", "0100012345", u"深A"}});
    OpenForm("code=600010.02&MMLB=0");
    driver.RunOnGui([] { Form()->SelectHolder(1); });
    driver.RunOnGui([] { Form()->Refresh(); });
    ASSERT_TRUE(driver.WaitForRest());
    EXPECT_EQ(Requests(500, 4).size(), 2u);
    EXPECT_EQ(OnForm([](CTradeBuySaleWnd& f) { return f.GetHolderIndex(); }), 1);
    EXPECT_EQ(OnForm([](CTradeBuySaleWnd& f) { return f.GetFieldText(CTradeBuySaleWnd::kHolderDropId); }),
              u"沪AA100012399");
}

TEST_F(OrderFormTest, AChangedCodeClearsTheOldStockAndNeverMixesMarkets) {
    StartWith(kAllHolders);
    OpenForm("code=000016.01&MMLB=0");
    EXPECT_EQ(HolderValues(), std::vector<std::string>{kSzHolder});
    SetCode(u"60001");
    EXPECT_EQ(driver.ControlText(CTradeBuySaleWnd::kNameId), u"");
    EXPECT_TRUE(OnForm([](CTradeBuySaleWnd& f) { return f.GetPriceTypes().empty() && f.GetQuoteCode().empty(); }));
    EXPECT_EQ(HolderValues().size(), 4u);
    // OK on the half-typed code asks for six digits; nothing is handed on.
    AnswerBoxes();
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle));
    EXPECT_EQ(LastTold(), u"请输入6位证券代码！");
    EXPECT_FALSE(PageShown());
    SetCode(u"600010");
    EXPECT_EQ(HolderValues(), std::vector<std::string>{kShHolder});
    EXPECT_EQ(OnForm([](CTradeBuySaleWnd& f) { return f.GetQuoteCode(); }), "600010.2");
    EXPECT_EQ(OnForm([](CTradeBuySaleWnd& f) { return f.GetPriceTypes().size(); }), 3u);
    EXPECT_EQ(Requests(31000, 4).back().Get("code"), "600010.2");
}

TEST_F(OrderFormTest, AReplyForACodeNoLongerShownIsDropped) {
    StartWith(kAllHolders);
    SimFault slow(SimFaultKind::SlowReply);
    slow.delayMs = 400;
    sim.InjectFaultFor(500, 4, slow);
    OpenForm("code=600010.02&MMLB=0"); // rests only after the slow reply
    sim.ClearRequestLog();
    sim.InjectFaultFor(500, 4, slow);
    const int before = OnForm([](CTradeBuySaleWnd& f) { return f.GetReplyCount(); });
    Now([] { Form()->OnMessage(CTradeBuySaleWnd::kMsgSendQuery, 0, 0); }); // the maximum, sent now
    // While that query is out the code becomes a Shenzhen one.
    Now([] {
        if (auto* edit = dynamic_cast<UiEdit*>(CDriverControls::FindShownControl(CTradeBuySaleWnd::kCodeId)))
            edit->SetText(u"000016");
    });
    ASSERT_TRUE(driver.WaitForRest());
    EXPECT_EQ(HolderValues(), std::vector<std::string>{kSzHolder});
    EXPECT_EQ(OnForm([](CTradeBuySaleWnd& f) { return f.GetQuoteCode(); }), "000016.1");
    EXPECT_EQ(driver.ControlText(CTradeBuySaleWnd::kNameId), u"平川银行");
    // The Shanghai answer never asked a quote for the Shenzhen code.
    for (const SimRequest& r : Requests(31000, 4))
        EXPECT_EQ(r.Get("code"), "000016.1");
    EXPECT_EQ(Requests(500, 4).size(), 2u);
    EXPECT_EQ(OnForm([](CTradeBuySaleWnd& f) { return f.GetReplyCount(); }), before + 1); // the Shanghai one was not taken
}

TEST_F(OrderFormTest, NoHolderForTheMarketIsToldAndNoPageOpens) {
    StartWith({{"0", "0100012345", u"深A"}});
    AnswerBoxes();
    OpenForm("code=600010.02&MMLB=0");
    EXPECT_EQ(LastTold(), u"您没有该市场的股东代码，不能委托！");
    driver.RunOnGui([] {
        if (auto* edit = dynamic_cast<UiEdit*>(CDriverControls::FindShownControl(CTradeBuySaleWnd::kQuantityId)))
            edit->SetText(u"100");
    });
    AnswerBoxes();
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle));
    EXPECT_EQ(LastTold(), u"您没有该市场的股东代码，不能委托！");
    EXPECT_FALSE(PageShown());
    EXPECT_EQ(TradeRequests(), 0u);
}

// A maximum-quantity answer that names no market.
class CNoMarketRoutes : public ISimRouteGroup {
public:
    void AddRoutes(CSimRouteTable& table) override {
        table.Add(500, 4, [](const SimRequest& r, SimContext&) {
            CDataSetWriter w;
            w.AddSet("maxqty");
            const int code = w.AddColumn(DataSetType::AnsiText, "stkcode");
            const int num = w.AddColumn(DataSetType::AnsiText, "num");
            w.AddRow();
            w.SetAnsiText(code, r.Get("stkcode"));
            w.SetAnsiText(num, "1000");
            return SimReply::Ok(w);
        });
    }
};

TEST_F(OrderFormTest, AReplyWithoutAMarketIsToldAndOkIsRefused) {
    StartWith(kAllHolders);
    sim.AddRoutes(std::make_unique<CNoMarketRoutes>());
    AnswerBoxes();
    OpenForm("code=600010.02&MMLB=0");
    EXPECT_EQ(LastTold(), u"无法确定证券所属市场，不能委托！");
    EXPECT_TRUE(OnForm([](CTradeBuySaleWnd& f) { return f.GetPriceTypes().empty() && f.GetPriceTypeIndex() < 0; }));
    EXPECT_TRUE(Requests(31000, 4).empty());
    driver.RunOnGui([] {
        if (auto* edit = dynamic_cast<UiEdit*>(CDriverControls::FindShownControl(CTradeBuySaleWnd::kQuantityId)))
            edit->SetText(u"100");
    });
    AnswerBoxes();
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle));
    EXPECT_EQ(LastTold(), u"无法确定证券所属市场，不能委托！");
    EXPECT_FALSE(PageShown());
}

TEST_F(OrderFormTest, PanelTapsOnlyTakeThePriceOfARowTheyHit) {
    StartWith(kAllHolders);
    OpenForm("code=&MMLB=0"); // no stock yet: ten empty rows
    for (int row : {0, 4, 9, 10, 57, -1})
        Command(CTradeBuySaleWnd::kPanelId, GRID_ROW_TAPPED, row);
    Command(CTradeBuySaleWnd::kPanelId, GRID_TAPPED_AT, MakeLParam(5, 900));
    EXPECT_EQ(OnForm([](CTradeBuySaleWnd& f) { return f.GetFieldText(CTradeBuySaleWnd::kPriceId); }), u"");
    SetCode(u"600010");
    Command(CTradeBuySaleWnd::kPanelId, GRID_ROW_TAPPED, 4);
    const std::u16string ask1 = OnForm([](CTradeBuySaleWnd& f) { return f.GetPanel().GetCell(4, 1)->text.str(); });
    EXPECT_EQ(OnForm([](CTradeBuySaleWnd& f) { return f.GetFieldText(CTradeBuySaleWnd::kPriceId); }), ask1);
    // Under a market-price type a tap changes nothing.
    driver.RunOnGui([] { Form()->SelectPriceType(1); });
    Command(CTradeBuySaleWnd::kPanelId, GRID_ROW_TAPPED, 5);
    EXPECT_EQ(OnForm([](CTradeBuySaleWnd& f) { return f.GetFieldText(CTradeBuySaleWnd::kPriceId); }), ask1);
}

TEST_F(OrderFormTest, AQuoteFailureIsToldOnceNotOnEveryTick) {
    StartWith(kAllHolders);
    OpenForm("code=600010.02&MMLB=0");
    SimFault error(SimFaultKind::ErrorSet);
    error.errorText = u"行情服务暂停";
    error.errorCode = 1;
    sim.InjectFaultFor(31000, 4, error, 3);
    AnswerBoxes();
    for (int tick = 0; tick < 3; ++tick) {
        driver.RunOnGui([] { Form()->OnRefreshTimer(); });
        ASSERT_TRUE(driver.WaitForRest());
    }
    EXPECT_EQ(Requests(31000, 4).size(), 4u);
    const std::vector<std::u16string> told = ShownTexts();
    EXPECT_EQ(std::count(told.begin(), told.end(), u"取买卖盘信息错误！"), 1);
    EXPECT_EQ(OnForm([](CTradeBuySaleWnd& f) { return f.GetPanel().GetRowCount(); }), 10); // the rows stay
}

TEST_F(OrderFormTest, AnOddLotSellKeepsItsSharesThroughTheSlider) {
    StartWith(kAllHolders);
    OpenForm("code=600023.02&MMLB=1");
    EXPECT_EQ(driver.ControlText(CTradeBuySaleWnd::kQuantityId), u"50");
    EXPECT_EQ(OnForm([](CTradeBuySaleWnd& f) { return f.GetSlider().GetRangeMax(); }), 50);
    Command(CTradeBuySaleWnd::kSliderId, UI_SLIDER_RELEASED, 50);
    EXPECT_EQ(driver.ControlText(CTradeBuySaleWnd::kQuantityId), u"50");
}

TEST_F(OrderFormTest, OkHandsTheOrderToTheConfirmationPage) {
    StartWith(kAllHolders);
    OpenForm("code=600010.02&MMLB=0");
    driver.RunOnGui([] {
        if (auto* edit = dynamic_cast<UiEdit*>(CDriverControls::FindShownControl(CTradeBuySaleWnd::kQuantityId)))
            edit->SetText(u"200");
    });
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle));
    ASSERT_TRUE(PageShown());
    const std::vector<std::u16string> lines = driver.RunOnGui([] { return Page()->GetLines(); });
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[0], u"委托： 买入");
    EXPECT_EQ(lines[1], u"代码： 600010");
    EXPECT_EQ(lines[4], u"数量： 200");
    EXPECT_EQ(lines[5], u"报价方式： 限价委托");
    EXPECT_EQ(TradeRequests(), 0u); // the page sends, on its own press
}

TEST_F(OrderFormTest, TheHolderOfTheOpenersMarketAsksTheFirstMaximumWithItsFundId) {
    // Each market's holder under a fund id of its own; the server answers
    // only the session's own (000100012345).
    StartWith({{"1", "A100012345", u"沪A", "000199999999"}, {"0", "0100012345", u"深A"}});
    AnswerBoxes();
    OpenForm("code=000016.01&price=&market=1&type=1&MMLB=0");
    ASSERT_EQ(Requests(500, 4).size(), 1u);
    EXPECT_EQ(Requests(500, 4)[0].Get("fundid"), "000100012345");
    EXPECT_EQ(HolderValues(), std::vector<std::string>{kSzHolder});
    EXPECT_EQ(driver.ControlText(CTradeBuySaleWnd::kNameId), u"平川银行");
    EXPECT_TRUE(ShownTexts().empty());
}

TEST_F(OrderFormTest, TheShanghaiHolderAsksAShanghaiSellWithItsFundId) {
    StartWith({{"0", "0100012345", u"深A", "000199999999"}, {"1", "A100012345", u"沪A"}});
    AnswerBoxes();
    OpenForm("code=600010.02&market=2&type=1&MMLB=1");
    ASSERT_EQ(Requests(500, 5).size(), 1u);
    EXPECT_EQ(Requests(500, 5)[0].Get("fundid"), "000100012345");
    EXPECT_EQ(HolderValues(), std::vector<std::string>{kShHolder});
    EXPECT_EQ(Requests(31000, 4).size(), 1u);
    EXPECT_TRUE(ShownTexts().empty());
}

constexpr char kMarginBuyPreset[] = "tc_mfuncno=500&tc_sfuncno=4&creditflag=1";
constexpr char kMarginSellPreset[] = "tc_mfuncno=500&tc_sfuncno=5&creditflag=1";

TEST_F(OrderFormTest, MarginKindsAskThroughTheirPresetAndCaptionTheirWord) {
    StartWith(kAllHolders);
    const std::pair<int, std::u16string> kinds[] = {
        {3, u"买券还券 华岳银行"}, {5, u"融资买入 华岳银行"}, {6, u"融券卖出 华岳银行"}, {7, u"信用交易"}};
    for (const auto& [kind, caption] : kinds) {
        sim.ClearRequestLog();
        const std::string preset = kind % 2 ? kMarginBuyPreset : kMarginSellPreset;
        OpenForm(preset, kind);
        EXPECT_TRUE(Requests(500, 4).empty() && Requests(500, 5).empty()) << kind; // no code yet
        SetCode(u"600010");
        const std::vector<SimRequest> max = Requests(500, kind % 2 ? 4 : 5);
        ASSERT_EQ(max.size(), 1u) << kind;
        EXPECT_EQ(OpenedText(max[0]), preset + "&" + kSession +
                                          "&operway=i&trdpwd=123456&stkcode=600010&fundid=000100012345");
        EXPECT_TRUE(Requests(500, 75).empty());
        EXPECT_EQ(OnForm([](CTradeBuySaleWnd& f) { return f.GetTradeKind(); }), kind);
        EXPECT_EQ(OnForm([](CTradeBuySaleWnd& f) { return f.GetCaptionBar().GetTitle().str(); }), caption);
        EXPECT_EQ(driver.ControlText(CTradeBuySaleWnd::kNameId), u"华岳银行");
        EXPECT_EQ(Requests(31000, 4).size(), 1u) << kind;
        const std::vector<std::string> codes = OnForm([](CTradeBuySaleWnd& f) {
            std::vector<std::string> out;
            for (const CPriceTypeItem& t : f.GetPriceTypes())
                out.push_back(t.GetCode());
            return out;
        });
        if (kind == 6)
            EXPECT_EQ(codes, std::vector<std::string>{"0B"}); // a short sell is a limit order
        else
            EXPECT_EQ(codes.size(), 3u) << kind;
        EXPECT_FALSE(driver.RunOnGui([] {
            return CDriverControls::FindShownControl(CTradeBuySaleWnd::kRepayId) != nullptr;
        }));
        driver.RunOnGui([] { Form()->EndWindow(1); });
        ASSERT_TRUE(driver.WaitForRest());
    }
}

TEST_F(OrderFormTest, KindFourAsksWhatToRepayOnceThenItsMaximum) {
    StartWith(kAllHolders);
    OpenForm(kMarginSellPreset, 4);
    EXPECT_EQ(OnForm([](CTradeBuySaleWnd& f) {
                  return f.GetPanel().GetRowHeight() == LayoutOrderForm(f.GetClientRect().Width(), 4).panelRowHeight;
              }),
              true);
    SetCode(u"600010");
    const std::vector<SimRequest> repay = Requests(500, 75);
    ASSERT_EQ(repay.size(), 1u);
    EXPECT_EQ(OpenedText(repay[0]), "tc_mfuncno=500&tc_sfuncno=75&" + std::string(kSession) +
                                        "&operway=i&creditid=0&fundid=000100012345&moneytype=0");
    EXPECT_EQ(repay[0].Get("trdpwd"), ""); // no password for an amount
    EXPECT_TRUE(driver.RunOnGui([] { return CDriverControls::FindShownControl(CTradeBuySaleWnd::kRepayId) != nullptr; }));
    const std::string amount = CSimOrderFormRoutes::RepayAmount("000100012345");
    EXPECT_EQ(OnForm([](CTradeBuySaleWnd& f) { return f.GetFieldText(CTradeBuySaleWnd::kRepayId); }),
              std::u16string(amount.begin(), amount.end()));
    ASSERT_EQ(Requests(500, 5).size(), 1u);
    EXPECT_EQ(Requests(500, 5)[0].Get("creditflag"), "1");
    EXPECT_EQ(OnForm([](CTradeBuySaleWnd& f) { return f.GetCaptionBar().GetTitle().str(); }), u"卖券还款 华岳银行");
    EXPECT_EQ(OnForm([](CTradeBuySaleWnd& f) { return f.GetFieldText(CTradeBuySaleWnd::kAllId); }), u"1000");
    // The amount is the account's: a new code asks only its maximum.
    SetCode(u"000016");
    EXPECT_EQ(Requests(500, 75).size(), 1u);
    EXPECT_EQ(Requests(500, 5).size(), 2u);
    EXPECT_EQ(driver.ControlText(CTradeBuySaleWnd::kNameId), u"平川银行");
}

// An amount-to-repay answer with nothing in it.
class CEmptyRepayRoutes : public ISimRouteGroup {
public:
    void AddRoutes(CSimRouteTable& table) override {
        table.Add(500, 75, [](const SimRequest&, SimContext&) {
            CDataSetWriter w;
            w.AddSet("repay");
            const int repay = w.AddColumn(DataSetType::AnsiText, "repay");
            w.AddRow();
            w.SetAnsiText(repay, "");
            return SimReply::Ok(w);
        });
    }
};

TEST_F(OrderFormTest, AnEmptyRepaymentIsToldNotAskedOverAndOver) {
    StartWith(kAllHolders);
    sim.AddRoutes(std::make_unique<CEmptyRepayRoutes>());
    AnswerBoxes();
    OpenForm(kMarginSellPreset, 4);
    SetCode(u"600010");
    EXPECT_EQ(Requests(500, 75).size(), 1u);
    EXPECT_TRUE(Requests(500, 5).empty());
    EXPECT_EQ(LastTold(), u"未能取得需还款额！");
    // OK has no stock to hand over; the user's next press asks again.
    driver.RunOnGui([] { Form()->Refresh(); });
    ASSERT_TRUE(driver.WaitForRest());
    EXPECT_EQ(Requests(500, 75).size(), 2u);
}

TEST_F(OrderFormTest, AMarginOrderIsNeverHandedOnAsAPlainOne) {
    StartWith(kAllHolders);
    OpenForm(kMarginBuyPreset, 5);
    SetCode(u"600010");
    driver.RunOnGui([] {
        if (auto* edit = dynamic_cast<UiEdit*>(CDriverControls::FindShownControl(CTradeBuySaleWnd::kQuantityId)))
            edit->SetText(u"100");
    });
    AnswerBoxes();
    ASSERT_TRUE(CDriverControls::PressBottomButton(driver, CBaseWnd::kToolbarMiddle));
    EXPECT_EQ(LastTold(), u"该委托类别不能在此提交！");
    EXPECT_FALSE(PageShown());
    EXPECT_EQ(TradeRequests(), 0u);
}

} // namespace
