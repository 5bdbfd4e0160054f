// The phone-token window; see the header.
#include "trade/dyncode/CMobileDynCodeCtrWnd.h"

#include "core/CDataSetList.h"
#include "framework/app/CAppData.h"
#include "platform/gdi/CDC.h"
#include "framework/ui/IWindowOpener.h"
#include "framework/ui/widgets/CPopMenuWnd.h"
#include "platform/ui/CUiMessageBox.h"
#include "trade/dyncode/CMobileDynCodeApplyWnd.h"
#include "trade/dyncode/DynCodeApply.h"
#include "trade/dyncode/DynCodeStore.h"
#include "trade/dyncode/MobileDynCodeTxtWnd.h"

namespace {
constexpr int kMargin = 40; // pixels left and right
constexpr int kTop = 20;    // pixels below the caption bar
constexpr char16_t kNoAccountText[] = u"您尚未在本手机申请手机令牌，请申请之后再使用。";
} // namespace

CMobileDynCodeCtrWnd::CMobileDynCodeCtrWnd(std::u16string_view title) {
    SetCaption(title);
    SetSealRequest(false);
    SetRefreshOnShow(false);
    SetAutoRefresh(false);
}

CMobileDynCodeCtrWnd::~CMobileDynCodeCtrWnd() {
    m_list.RemoveAll();
    Destroy();
}

void CMobileDynCodeCtrWnd::BuildForm() {
    RemoveClientArea();
    UseTextToolbar(u"选项", u"申请令牌", u"返回");
    if (!m_heading.Create(this, {}, kLabelId, true) || !m_list.Create(this, {}, kListId, true) ||
        !m_tip.Create(this, {}, kLabelId, true))
        return;
    m_heading.SetFormat(DT_LEFT | DT_WORDBREAK);
    m_heading.SetFontSize(26);
    m_heading.SetTextColor(0x000000);
    m_list.SetSingleChoice(true);
    m_list.SetNotify(false);
    m_list.SetItemHeight(60);
    m_list.SetFontSize(24);
    m_list.SetTextColor(0x000000);
    m_list.SetSeparators(true, true);
    m_list.ShowScrollBar(true);
    m_tip.SetFormat(DT_LEFT | DT_WORDBREAK);
    m_tip.SetFontSize(26);
    m_tip.SetTextColor(0x0000FF);
    LoadAccounts();
    ApplyAccountLayout(m_hasAccounts);
}

void CMobileDynCodeCtrWnd::LoadAccounts() {
    m_list.RemoveAll();
    m_hasAccounts = false;
    CAppData* app = CAppData::Instance();
    if (!app)
        return;
    m_mobile = RegisteredMobile(*app);
    std::vector<std::u16string> accounts;
    if (!LoadDynCodeFundAccounts(*app, m_mobile, accounts))
        UiMessageBox(this, u"DataBase Operation Failed!", u"ERR", MB_OK);
    for (size_t i = 0; i < accounts.size(); ++i)
        m_list.AddCheckItem(accounts[i], "", i == 0);
    m_hasAccounts = !accounts.empty();
    if (m_hasAccounts && m_list.GetCurSel() < 0)
        m_list.SetCurSel(0);
}

void CMobileDynCodeCtrWnd::ApplyAccountLayout(bool hasAccounts) {
    m_hasAccounts = hasAccounts;
    if (hasAccounts) {
        std::u16string heading = u"当前已申请手机令牌的账号：\n(手机号码:  ";
        heading += m_mobile;
        heading += u" )";
        m_heading.SetText(heading);
        m_heading.SetFontSize(26);
    } else {
        m_heading.SetText(kNoAccountText);
        m_heading.SetFontSize(28);
    }
    m_heading.SetTextColor(0x000000);
    m_list.ShowWindow(hasAccounts);
    PlaceControls();
    Invalidate();
}

void CMobileDynCodeCtrWnd::PlaceControls() {
    if (!m_tip.IsCreated())
        return;
    const CRect client = GetClientRect();
    const int w = client.Width();
    const int top = kCaptionHeight + kTop;
    const int bodyBottom = client.bottom - GetBottomBarHeight();
    if (m_hasAccounts) {
        m_heading.MoveWindow(CRect::FromSize(kMargin, top, w - 2 * kMargin, 60));
        const int listHeight = std::max(60, bodyBottom - (top + 70) - 150);
        const CRect list = CRect::FromSize(kMargin, top + 70, w - 2 * kMargin, listHeight);
        m_list.MoveWindow(list);
        m_tip.MoveWindow(CRect::FromSize(kMargin, list.bottom + 30, w - 2 * kMargin, 80));
    } else {
        // Turned, the heading needs a third line.
        const int height = client.Width() > client.Height() ? 120 : 80;
        m_heading.MoveWindow(CRect::FromSize(kMargin, top, w - 2 * kMargin, height));
        m_tip.MoveWindow(CRect::FromSize(kMargin, top + std::max(90, height + 10), w - 2 * kMargin, 80));
    }
}

void CMobileDynCodeCtrWnd::OnLayout() {
    CLayoutBaseWnd::OnLayout();
    PlaceControls();
}

CRect CMobileDynCodeCtrWnd::GetFormRect() const {
    return m_hasAccounts ? m_list.GetRect() : CRect();
}

void CMobileDynCodeCtrWnd::OnWindowShown() {
    if (DynCodeListChanged) {
        LoadAccounts();
        ApplyAccountLayout(m_hasAccounts);
        DynCodeListChanged = 0;
    }
    CLayoutBaseWnd::OnWindowShown();
}

// ---- The texts ----

void CMobileDynCodeCtrWnd::SendRefresh(RefreshCause cause) {
    if (cause == RefreshCause::ChildClosed) {
        LoadAccounts();
        ApplyAccountLayout(m_hasAccounts);
        return;
    }
    CLayoutBaseWnd::SendRefresh(cause);
}

int CMobileDynCodeCtrWnd::BuildRequest(CAString& out) {
    out.Assign(kDynCodeTextRequest);
    return 1;
}

void CMobileDynCodeCtrWnd::OnNetData(const std::uint8_t* data, int length, bool /*networkFailure*/) {
    if (!data || length <= 0)
        return;
    CDataSetList reply(data, length);
    if (ShowReplyError(reply))
        return;
    CDynCodeTexts texts;
    if (!ReadDynCodeTexts(reply, texts))
        return;
    CDataSet* set = *reply.GetAt(0);
    if (set && set->GetRowCount() > 0) {
        m_tip.SetText(texts.tip);
        m_tip.Invalidate();
    }
    if (!texts.usage.empty())
        m_usage = texts.usage;
    if (!texts.risk.empty())
        m_risk = texts.risk;
}

// ---- Commands and the road ----

void CMobileDynCodeCtrWnd::OnToolbarCommand(int index) {
    switch (index) {
    case kBarOptions: {
        const int id = CPopMenuWnd::Run(this, {
            {u"取消", kMenuCancel},
            {u"返回首页", kMenuHome},
            {u"使用说明", kMenuUsage},
            {u"申请令牌", kMenuApply},
        });
        OnMenuCommand(id);
        break;
    }
    case kBarApply:
        OnOk();
        break;
    case kBarBack:
        EndWindow(1);
        break;
    default:
        break;
    }
}

void CMobileDynCodeCtrWnd::OnMenuCommand(int id) {
    switch (id) {
    case kMenuUsage:
        OpenTextPage(MobileDynCodeTxtWnd::kModeUsage, false);
        break;
    case kMenuApply:
        // The risk notice read from the menu leads on like the button's.
        RunApplicationRoad();
        break;
    case kMenuHome:
        EndWindow(0);
        break;
    default:
        break;
    }
}

void CMobileDynCodeCtrWnd::OnOk() {
    RunApplicationRoad();
}

int CMobileDynCodeCtrWnd::OpenTextPage(int mode, bool confirm) {
    const bool usage = mode == MobileDynCodeTxtWnd::kModeUsage;
    MobileDynCodeTxtWnd page(usage ? u"手机令牌使用说明" : u"手机令牌风险提示", mode, confirm);
    if (!page.CreateOver(this, GetWndManager().GetWorkRect()))
        return MobileDynCodeTxtWnd::kOutcomeNone;
    const std::u16string& cached = usage ? m_usage : m_risk;
    if (!cached.empty())
        page.SetPageText(cached);
    page.ShowModal(-1, nullptr, kDynCodeTextRequest);
    return page.GetOutcome();
}

void CMobileDynCodeCtrWnd::RunApplicationRoad() {
    if (OpenTextPage(MobileDynCodeTxtWnd::kModeRisk, true) != MobileDynCodeTxtWnd::kOutcomeRiskRead)
        return;
    if (OpenTextPage(MobileDynCodeTxtWnd::kModeUsage, true) != MobileDynCodeTxtWnd::kOutcomeUsageConfirmed)
        return;
    int code = -1;
    {
        CMobileDynCodeApplyWnd form(u"手机令牌申请");
        if (!form.CreateOver(this, GetWndManager().GetWorkRect()))
            return;
        code = form.ShowModal(-1, nullptr, nullptr);
    }
    if (code == 1) {
        LoadAccounts();
        ApplyAccountLayout(m_hasAccounts);
        DynCodeListChanged = 0;
    }
}
