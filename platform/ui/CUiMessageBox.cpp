// The message box and its scripted shortcut.
#include "platform/ui/CUiMessageBox.h"

#include "platform/gdi/CDC.h"
#include "platform/ui/CModalScript.h"
#include "platform/ui/UiTheme.h"

#include <algorithm>
#include <utility>

int UiMessageBox(UiWin* owner, std::u16string_view text, std::u16string_view caption, int buttons) {
    CShownModal shown;
    shown.kind = ModalKind::MessageBox;
    shown.caption = caption;
    shown.text = text;
    for (int id : CUiMessageBox::ButtonIds(buttons))
        shown.items.push_back(CUiMessageBox::ButtonLabel(id));
    const int negative = CUiMessageBox::NegativeAnswer(buttons);
    return RunModalChoice(std::move(shown), negative, [&](const CRect& workRect) {
        CUiMessageBox box(text, caption, buttons);
        if (!box.CreateForm(owner, workRect))
            return negative;
        int answer = negative;
        const int code = box.DoModal();
        const std::vector<int> ids = CUiMessageBox::ButtonIds(buttons);
        if (std::find(ids.begin(), ids.end(), code) != ids.end())
            answer = code;
        box.Destroy();
        return answer;
    });
}

CUiMessageBox::CUiMessageBox(std::u16string_view text, std::u16string_view caption, int buttons)
    : m_text(text), m_caption(caption), m_buttons(buttons) {}

CUiMessageBox::~CUiMessageBox() {
    // The buttons go before the window that parents them.
    for (auto& b : m_buttonCtrls)
        b->Destroy();
}

std::vector<int> CUiMessageBox::ButtonIds(int buttons) {
    switch (buttons) {
    case MB_OKCANCEL:
        return {IDOK, IDCANCEL};
    case MB_YESNO:
        return {IDYES, IDNO};
    default:
        return {IDOK};
    }
}

std::u16string CUiMessageBox::ButtonLabel(int id) {
    switch (id) {
    case IDOK:
        return u"确定";
    case IDCANCEL:
        return u"取消";
    case IDYES:
        return u"是";
    case IDNO:
        return u"否";
    default:
        return {};
    }
}

int CUiMessageBox::NegativeAnswer(int buttons) {
    switch (buttons) {
    case MB_OKCANCEL:
        return IDCANCEL;
    case MB_YESNO:
        return IDNO;
    default:
        return IDOK;
    }
}

UiButton* CUiMessageBox::GetButton(int id) const {
    for (const auto& b : m_buttonCtrls)
        if (b->GetId() == id)
            return b.get();
    return nullptr;
}

int CUiMessageBox::OnCreate() {
    const CRect client = GetClientRect();
    const int width = std::min(client.Width() - 40, 440);
    // Measure the text wrapped to the panel's inner width.
    const int inner = width - 40;
    int textHeight = 30;
    if (auto probe = CDC::CreateMemoryDC(1, 1)) {
        probe->SelectFont({UiTheme::kFontSize, 400});
        CRect calc{0, 0, inner, 0};
        textHeight = std::max(30, probe->DrawText(m_text, calc, DT_WORDBREAK | DT_CALCRECT));
    }
    const int maxText = std::max(30, client.Height() - kCaptionHeight - kButtonHeight - 80);
    textHeight = std::min(textHeight, maxText);
    const int height = kCaptionHeight + 20 + textHeight + 20 + kButtonHeight + 15;
    m_panel = CRect::FromSize((client.Width() - width) / 2, (client.Height() - height) / 2, width, height);
    m_textRect = CRect::FromSize(m_panel.left + 20, m_panel.top + kCaptionHeight + 20, inner, textHeight);

    const std::vector<int> ids = ButtonIds(m_buttons);
    const int n = static_cast<int>(ids.size());
    const int gap = 20;
    const int bw = (width - gap * (n + 1)) / n;
    const int top = m_panel.bottom - 15 - kButtonHeight;
    for (int i = 0; i < n; ++i) {
        auto button = std::make_unique<UiButton>();
        button->SetStyle(UI_BTN_ROUND);
        button->SetText(ButtonLabel(ids[i]));
        button->Create(this, CRect::FromSize(m_panel.left + gap + i * (bw + gap), top, bw, kButtonHeight), ids[i]);
        m_buttonCtrls.push_back(std::move(button));
    }
    return CUiWnd::OnCreate();
}

void CUiMessageBox::OnPaint(CDC& dc) {
    // No background: the window below shows around the panel.
    UiTheme::DrawPanel(dc, m_panel);
    const CRect title{m_panel.left + 1, m_panel.top + 1, m_panel.right - 1, m_panel.top + kCaptionHeight};
    dc.FillRect(title.Deflate(8, 0), UiTheme::kPanelTitle);
    UiTheme::DrawCentredText(dc, m_caption, title, UiTheme::kBarText, 24, true);
    const CDCStateSaver saved(dc);
    dc.SelectFont({UiTheme::kFontSize, 400});
    dc.SetTextColor(UiTheme::kText);
    dc.SetBkMode(TRANSPARENT);
    dc.DrawText(m_text, m_textRect, DT_WORDBREAK | DT_CENTER);
}

bool CUiMessageBox::OnCommand(WPARAM wParam, LPARAM) {
    const int id = LowWord(wParam);
    if (HighWord(wParam) != BN_CLICKED || !GetButton(id))
        return false;
    EndModal(id);
    return true;
}

void CUiMessageBox::OnKeyDown(int key) {
    const std::vector<int> ids = ButtonIds(m_buttons);
    if (key == VK_RETURN)
        EndModal(ids.front());
    else if (key == VK_ESCAPE)
        EndModal(NegativeAnswer(m_buttons));
}
