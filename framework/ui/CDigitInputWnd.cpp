// The keypad's keys and its link to the form's edit.
#include "framework/ui/CDigitInputWnd.h"

#include "platform/gdi/CDC.h"
#include "platform/ui/UiDefs.h"
#include "platform/ui/UiEdit.h"

namespace {
UiEdit* EditOf(HWND handle) {
    return dynamic_cast<UiEdit*>(UiWin::FromHandle(handle));
}
constexpr int kErase = 11;
constexpr int kPoint = 9;
} // namespace

CDigitInputWnd::CDigitInputWnd(UiEdit* edit, const char16_t* prompt)
    : m_edit(edit ? edit->GetHandle() : nullptr), m_prompt(prompt ? prompt : u"") {
    if (edit)
        m_original = edit->GetText();
    m_text = m_original;
}

CDigitInputWnd::~CDigitInputWnd() {
    Destroy();
}

std::u16string CDigitInputWnd::KeyText(int index) {
    if (index >= 0 && index < 9)
        return std::u16string(1, static_cast<char16_t>(u'1' + index));
    if (index == kPoint)
        return u".";
    if (index == 10)
        return u"0";
    if (index == kErase)
        return u"←";
    return {};
}

void CDigitInputWnd::ApplyKey(std::u16string& text, int index) {
    if (index == kErase) {
        if (!text.empty())
            text.pop_back();
    } else if (index == kPoint) {
        if (text.find(u'.') == std::u16string::npos)
            text += u'.';
    } else if (index >= 0 && index < kKeyCount) {
        text += KeyText(index);
    }
}

int CDigitInputWnd::OnInitDialog() {
    if (!CBaseWnd::OnInitDialog())
        return 0;
    RemoveClientArea();
    UseTextToolbar(u"取消", u"确定", u"清除");
    m_promptLabel.SetText(m_prompt);
    m_display.SetFontSize(32);
    m_display.SetFormat(DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    if (!m_promptLabel.Create(this, {}, kPromptId) || !m_display.Create(this, {}, kDisplayId))
        return 0;
    for (int i = 0; i < kKeyCount; ++i) {
        m_keys[i] = std::make_unique<UiButton>();
        m_keys[i]->SetStyle(UI_BTN_ROUND);
        m_keys[i]->SetFontSize(30);
        m_keys[i]->SetText(KeyText(i));
        if (!m_keys[i]->Create(this, {}, kFirstKeyId + i))
            return 0;
    }
    OnLayout();
    Update();
    return 1;
}

void CDigitInputWnd::OnLayout() {
    CBaseWnd::OnLayout();
    const CRect body = GetBodyRect().Deflate(20, 10);
    m_promptLabel.MoveWindow(CRect::FromSize(body.left, body.top, body.Width(), 40));
    m_display.MoveWindow(CRect::FromSize(body.left, body.top + 45, body.Width(), 60));
    const int top = body.top + 120;
    const int keyW = body.Width() / 3;
    const int keyH = std::max(40, (body.bottom - top) / 4);
    for (int i = 0; i < kKeyCount; ++i) {
        if (m_keys[i])
            m_keys[i]->MoveWindow(
                CRect::FromSize(body.left + (i % 3) * keyW, top + (i / 3) * keyH, keyW, keyH).Deflate(4, 4));
    }
}

void CDigitInputWnd::Update() {
    m_display.SetText(m_text);
    if (UiEdit* edit = EditOf(m_edit))
        edit->SetText(m_text);
}

bool CDigitInputWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LowWord(wParam);
    if (id >= kFirstKeyId && id < kFirstKeyId + kKeyCount && HighWord(wParam) == BN_CLICKED) {
        ApplyKey(m_text, id - kFirstKeyId);
        Update();
        return true;
    }
    return CBaseWnd::OnCommand(wParam, lParam);
}

void CDigitInputWnd::OnToolbarCommand(int index) {
    switch (index) {
    case kToolbarLeft: // "取消"
        m_text = m_original;
        Update();
        EndWindow(kDigitCancel);
        break;
    case kToolbarMiddle: // "确定"
        EndWindow(kDigitOk);
        break;
    case kToolbarRight: // "清除"
        m_text.clear();
        Update();
        break;
    default:
        break;
    }
}
