// The phone-token window ("手机令牌"): the fund accounts that hold a token
// on this phone (the registered mobile number), the server's tip, and the
// road to an application: the risk notice ("下一步"), the usage text with
// its read confirmation ("确定"), then the application form. Each page of
// the road opens from the result of the page before it, after that page's
// run has returned, so one page is shown at a time and it is the one that
// takes the taps. The texts (100/5) are asked for once, on the first show;
// the list reloads when an application or a login changed the store, and
// whenever the application form closes with code 1.
#pragma once

#include "framework/ui/CLayoutBaseWnd.h"
#include "framework/ui/widgets/CCheckList.h"
#include "platform/ui/UiStatic.h"

#include <string>
#include <vector>

class CMobileDynCodeCtrWnd : public CLayoutBaseWnd {
public:
    enum : int { kLabelId = 302, kListId = 184 };
    // The option menu's commands.
    enum : int { kMenuUsage = 118, kMenuApply = 119, kMenuHome = 120, kMenuCancel = 121 };
    // The bottom bar's buttons.
    enum : int { kBarOptions = 0, kBarApply = 1, kBarBack = 2 };

    explicit CMobileDynCodeCtrWnd(std::u16string_view title = u"手机令牌");
    ~CMobileDynCodeCtrWnd() override;
    const char* GetClassName() const override { return "CMobileDynCodeCtrWnd"; }

    // Fills the list from the store (this phone's fund accounts).
    void LoadAccounts();
    // Heading and placement for the account state.
    void ApplyAccountLayout(bool hasAccounts);
    // Runs a text page (mode 0 usage, 1 risk notice); its outcome.
    int OpenTextPage(int mode, bool confirm);
    // The road from the risk notice to the application form.
    void RunApplicationRoad();
    void OnMenuCommand(int id);

    bool HasAccounts() const { return m_hasAccounts; }
    const std::u16string& GetUsageText() const { return m_usage; }
    const std::u16string& GetRiskText() const { return m_risk; }
    CCheckList& GetList() { return m_list; }

    // ---- Virtual operations ----
    void BuildForm() override;
    void OnOk() override;
    CRect GetFormRect() const override;
    void OnLayout() override;
    void OnWindowShown() override;
    void OnToolbarCommand(int index) override;
    // The texts are asked for by the first show and the user's refresh;
    // a child's close reloads the list instead.
    void SendRefresh(RefreshCause cause) override;
    int BuildRequest(CAString& out) override;
    void OnNetData(const std::uint8_t* data, int length, bool networkFailure) override;

private:
    void PlaceControls();

    UiStatic m_heading;
    UiStatic m_tip;
    CCheckList m_list;
    bool m_hasAccounts = false;
    std::u16string m_mobile; // the registered number the list was loaded for
    std::u16string m_usage;
    std::u16string m_risk;
};
