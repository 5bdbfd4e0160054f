// The text page of the phone-token window: the usage text (mode 0) or the
// risk notice (mode 1), from the texts the token window already has or
// from the server (100/5). On the application road the risk notice's
// "下一步" and the usage text's "确定" (after "我已阅读此使用说明" is
// ticked) end the page with code −1 and an outcome the token window reads
// once the page's run has returned, so the next page opens only then and
// only one page is ever shown. An empty text keeps both buttons disabled.
#pragma once

#include "framework/ui/CTextWnd.h"
#include "platform/ui/UiButton.h"
#include "platform/ui/UiStatic.h"

#include <string>

class MobileDynCodeTxtWnd : public CTextWnd {
public:
    enum : int { kModeUsage = 0, kModeRisk = 1 };
    enum : int { kHintId = 302, kCheckId = 245 };
    static constexpr int kHintInset = 20;              // pixels from the panel's sides
    static constexpr COLORREF kHintColor = 0x1E1ED2;   // red, 5:1 on white
    // The outcomes of the application road.
    enum : int { kOutcomeNone = 0, kOutcomeUsageConfirmed = 17, kOutcomeRiskRead = 18 };
    static constexpr char16_t kNoInfoText[] = u"暂无相关信息！";

    MobileDynCodeTxtWnd(std::u16string_view title, int mode, bool confirm);
    ~MobileDynCodeTxtWnd() override;
    const char* GetClassName() const override { return "MobileDynCodeTxtWnd"; }

    // Shows text without asking the server; a non-empty text enables the
    // road's button (mode 1) or the check button (mode 0 with confirm).
    void SetPageText(std::u16string_view text);
    bool HasPageText() const { return m_hasText; }
    int GetMode() const { return m_mode; }
    bool IsConfirm() const { return m_confirm; }
    int GetOutcome() const { return m_outcome; }

    // ---- Virtual operations ----
    int OnInitDialog() override;
    void OnLayout() override;
    void OnPaint(CDC& dc) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnToolbarCommand(int index) override;
    int BuildRequest(CAString& out) override;
    void OnNetData(const std::uint8_t* data, int length, bool networkFailure) override;

private:
    // The usage page on the road: hint, check button and its label.
    bool HasConfirmArea() const { return m_mode == kModeUsage && m_confirm; }
    // The middle button ends the page on the road.
    bool IsRoadPage() const { return m_mode == kModeRisk || HasConfirmArea(); }
    void PlaceConfirmArea();
    void EnableMiddle(bool on);
    CRect ConfirmPanel() const;

    int m_mode;
    bool m_confirm;
    bool m_hasText = false;
    int m_outcome = kOutcomeNone;
    UiStatic m_hint;
    UiButton m_check;
    UiStatic m_checkLabel;
};
