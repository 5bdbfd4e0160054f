// The sales-department window: the broker's list in a combo box, the
// user's own list below it, written back on "确定".
#include "trade/login/CSalesDeptSetWnd.h"

#include "core/TextConvert.h"
#include "framework/app/CAppData.h"
#include "framework/app/SalesDeptCheck.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/CModalScript.h"
#include "platform/ui/CUiMessageBox.h"
#include "platform/win/UiMessageLoop.h"

namespace {
constexpr int kMargin = 40;         // pixels left and right of the controls
constexpr int kRowTop = 60;         // pixels: the code box and the combo box
constexpr int kRowHeight = 60;      // pixels
constexpr int kCodeBoxWidth = 80;   // pixels
constexpr int kComboGap = 30;       // pixels between the code box and the combo box
constexpr int kDropHeight = 200;    // pixels of the combo box's open list
constexpr int kLabelTop = 120;      // pixels
constexpr int kListTop = 160;       // pixels
constexpr int kCorner = 20;         // the ellipse of a radius-10 corner

void Tell(UiWin* owner, const char16_t* text, const char16_t* caption) {
    UiMessageBox(owner, text, caption, MB_OK);
}
} // namespace

CSalesDeptSetWnd::CSalesDeptSetWnd() = default;

CSalesDeptSetWnd::~CSalesDeptSetWnd() {
    m_list.RemoveAll();
    Destroy();
}

bool CSalesDeptSetWnd::IsSalesDeptConfiged() {
    const CAppData* app = CAppData::Instance();
    return app && ::IsSalesDeptConfiged(*app);
}

int CSalesDeptSetWnd::OnInitDialog() {
    if (!CNetWnd::OnInitDialog())
        return 0;
    RemoveClientArea();
    UseTextToolbar(u"确定", u"添加", u"删除");
    // The combo box comes last, so its open list lies over the label and
    // the personal list.
    if (!m_codeBox.Create(this, {}, kCodeBoxId, true) || !m_label.Create(this, {}, kLabelId, true) ||
        !m_list.Create(this, {}, kListId, true) || !m_combo.CreateCombo(this, {0, 0, 200, kRowHeight}, kComboId))
        return 0;
    const CRect client = GetClientRect();
    m_codeBox.SetLimitText(kCodeLength);
    m_codeBox.SetTextColor(0);
    m_codeBox.SetSipMode(client.Width() == 720 ? 4 : 9, client.Width() == 720 ? 50 : 65);
    m_label.SetText(u"已添加的营业部：");
    m_label.SetFontSize(22);
    m_label.SetTextColor(0);
    m_list.SetSingleChoice(false);
    m_list.SetNotify(false);
    m_list.SetItemHeight(50);
    m_list.SetSeparators(true, false);
    m_list.ShowScrollBar(true);
    m_list.SetFontSize(22);
    m_list.SetTextColor(0);
    PlaceControls();
    // The table exists from here on, so the trade login finds it.
    if (CAppData* app = CAppData::Instance(); app && !EnsureSalesDeptTable(*app))
        Tell(this, u"DB Operation Failed in CSalesDeptSetWnd::OnInitDialog!", u"ERR");
    return 1;
}

void CSalesDeptSetWnd::OnLayout() {
    CNetWnd::OnLayout();
    PlaceControls();
    // The numeric keyboard where the screen takes it, the full one elsewhere.
    if (const UiMessageLoop* loop = UiMessageLoop::Current())
        OnEditNotify(this, &m_codeBox, loop->GetScreenMode(), 9, 4);
}

void CSalesDeptSetWnd::PlaceControls() {
    const CRect client = GetClientRect();
    const int w = client.Width();
    const int listHeight = (client.Height() - kCaptionHeight - GetBottomBarHeight()) * 6 / 10;
    m_codeBox.MoveWindow(CRect::FromSize(kMargin, kRowTop, kCodeBoxWidth, kRowHeight));
    const int comboLeft = kMargin + kCodeBoxWidth + kComboGap;
    m_combo.MoveWindow(comboLeft, kRowTop, w - kMargin - comboLeft, kDropHeight);
    m_label.MoveWindow(CRect::FromSize(kMargin, kLabelTop, 300, 50));
    m_list.MoveWindow(CRect::FromSize(kMargin, kListTop, w - 2 * kMargin, listHeight));
    Invalidate();
}

void CSalesDeptSetWnd::OnPaint(CDC& dc) {
    CNetWnd::OnPaint(dc);
    if (!m_list.IsCreated())
        return;
    const CRect list = m_list.GetRect();
    const CRect box{list.left - 3, list.top - 3, list.right + 3, list.bottom + 3};
    const CDCStateSaver saved(dc);
    dc.SelectPen({PS_SOLID, 1, 0xD2D2D2});
    dc.SelectBrush(CBrush::Solid(0xD2D2D2));
    dc.RoundRect({box.left + 2, box.top + 2, box.right + 5, box.bottom + 5}, kCorner, kCorner);
    dc.SelectPen({PS_SOLID, 1, 0x646464});
    dc.SelectBrush(CBrush::Solid(0xF3F3F3));
    dc.RoundRect(box, kCorner, kCorner);
}

// ---- The request ----

int CSalesDeptSetWnd::BuildRequest(CAString& out) {
    out.Assign(kSalesDeptRequest);
    return 1;
}

void CSalesDeptSetWnd::OnNetData(const std::uint8_t* data, int length, bool /*networkFailure*/) {
    m_server.clear();
    if (data && length > 0) {
        CDataSetList reply(data, length);
        // An error is shown; the user's own list still loads below, named
        // as it was stored.
        if (!ShowReplyError(reply))
            m_server = ParseSalesDeptReply(reply);
    }
    m_combo.RemoveAll();
    for (const SalesDept& dept : m_server)
        m_combo.AddItem(dept.name, AnsiToWide(dept.code));
    AddToDisplay();
    // An empty list leaves the code box empty.
    m_combo.SetCurSel(m_server.empty() ? -1 : 0);
    ShowSelectedCode();
    Invalidate();
}

void CSalesDeptSetWnd::OnRequestNotSent(NotSent /*why*/) {
    OnNetData(nullptr, 0, true);
}

void CSalesDeptSetWnd::AddToDisplay() {
    CAppData* app = CAppData::Instance();
    const std::optional<std::vector<SalesDept>> stored =
        app ? LoadSalesDepts(*app) : std::optional<std::vector<SalesDept>>();
    m_list.RemoveAll();
    m_modified = false;
    m_resetLoginDept = false;
    if (!stored) {
        Tell(this, u"DB Operation Failed in CSalesDeptSetWnd::AddToDisplay!", u"ERR");
        return;
    }
    for (const SalesDept& dept : NameStoredDepts(*stored, m_server))
        AppendDept(dept);
    m_list.Invalidate();
}

void CSalesDeptSetWnd::AppendDept(const SalesDept& dept) {
    m_list.AddCheckItem(dept.name, dept.code.c_str(), false);
}

void CSalesDeptSetWnd::ShowSelectedCode() {
    const CWString* code = m_combo.GetItemData(m_combo.GetCount());
    m_codeBox.SetText(code ? code->view() : std::u16string_view());
}

// ---- Typing and touching ----

LRESULT CSalesDeptSetWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == UIM_EDIT_NOTIFY && CNotifyEdit::NotifyEditId(wParam) == kCodeBoxId) {
        const int how = CNotifyEdit::NotifyEditCode(lParam);
        if ((how == UI_EDIT_CHANGE_TYPED || how == UI_EDIT_CHANGE_DELETED) && m_codeBox.GetLength() == kCodeLength) {
            const int index = m_combo.FindItem(m_codeBox.GetText());
            if (index >= 0) {
                m_combo.SetCurSel(index);
                SetFocus();
                Invalidate();
            }
        }
    }
    return CNetWnd::OnMessage(msg, wParam, lParam);
}

bool CSalesDeptSetWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LowWord(wParam) == kComboId) {
        if (HighWord(wParam) == CBN_SELCHANGE)
            ShowSelectedCode();
        return true;
    }
    return CNetWnd::OnCommand(wParam, lParam);
}

void CSalesDeptSetWnd::OnLButtonUp(UINT flags, CPoint pt) {
    if (m_codeBox.HasFocus() && !m_codeBox.GetRect().Contains(pt)) {
        SetFocus();
        ShowSelectedCode();
    }
    CNetWnd::OnLButtonUp(flags, pt);
}

// ---- The bottom bar ----

void CSalesDeptSetWnd::OnToolbarCommand(int index) {
    switch (index) {
    case kBarSave:
        if (SaveData() == 1)
            EndWindow(1);
        break;
    case kBarAdd:
        AddDept();
        break;
    case kBarDelete:
        DeleteChecked();
        break;
    default:
        break;
    }
}

int CSalesDeptSetWnd::IsDeptAdded(const char* code) const {
    if (!code || !*code)
        return 1;
    for (int i = 0; i < m_list.GetCount(); ++i) {
        const CCheckItem* item = m_list.GetCheckItem(i);
        if (item && item->GetValue().view() == code)
            return 1;
    }
    return 0;
}

void CSalesDeptSetWnd::AddDept() {
    if (m_list.GetCount() >= kMaxSalesDepts) {
        Tell(this, u"添加营业部数已达到最大数！", u"提示");
        return;
    }
    const int selected = m_combo.GetCount();
    const CWString* code = m_combo.GetItemData(selected);
    if (!code) {
        Tell(this, u"数据获取错误，无法添加营业部！", u"ERR");
        return;
    }
    const std::string ansiCode = code->ToAnsi();
    if (IsDeptAdded(ansiCode.c_str())) {
        if (CAppData* app = CAppData::Instance())
            app->ShowInfoMessage(u"该营业部已存在！", this);
    } else {
        AppendDept({ansiCode, m_combo.GetItemText(selected).str()});
        m_modified = true;
    }
    m_list.Invalidate();
}

void CSalesDeptSetWnd::DeleteChecked() {
    if (m_list.CountChecked() == 0) {
        Tell(this, u"未选中任何营业部信息！", u"提示");
        return;
    }
    if (UiMessageBox(this, u"确定删除选中的营业部？", u"ERR", MB_YESNO) != IDYES)
        return;
    const CAppData* app = CAppData::Instance();
    const std::string loginDept = app ? app->GetSetting(kSalesDeptSetting).str() : std::string();
    for (int i = m_list.GetCount() - 1; i >= 0; --i) {
        const CCheckItem* item = m_list.GetCheckItem(i);
        if (!item || !item->IsChecked())
            continue;
        if (item->GetValue().view() == loginDept)
            m_resetLoginDept = true;
        m_list.RemoveItem(i);
    }
    m_modified = true;
    m_list.Invalidate();
}

std::vector<SalesDept> CSalesDeptSetWnd::GetListedDepts() const {
    std::vector<SalesDept> out;
    out.reserve(m_list.GetCount());
    for (int i = 0; i < m_list.GetCount(); ++i) {
        const CCheckItem* item = m_list.GetCheckItem(i);
        out.push_back({item ? item->GetValue().str() : std::string(), m_list.GetItemText(i)});
    }
    return out;
}

int CSalesDeptSetWnd::SaveData() {
    if (!m_modified)
        return 1;
    if (m_list.GetCount() > kMaxSalesDepts) {
        Tell(this, u"添加营业部数请勿超过10个！", u"提示");
        return 0;
    }
    CAppData* app = CAppData::Instance();
    if (!app || !SaveSalesDepts(*app, GetListedDepts())) {
        // The old list stands, and so does the login's department.
        Tell(this, u"DB Operation Failed in CSalesDeptSetWnd::SaveData!", u"ERR");
        return 1;
    }
    m_modified = false;
    if (m_resetLoginDept) {
        m_resetLoginDept = false;
        app->SetSetting(kSalesDeptSetting, kDefaultSalesDeptCode, true);
    }
    return 1;
}
