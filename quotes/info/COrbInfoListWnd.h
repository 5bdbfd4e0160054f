// The news list (keyword "newslist"): the titles of the articles the menu
// node's request asks for; a picked title opens its article
// ("newscontent"). The window keeps its last good reply to map a pick to
// the article's id; an error reply leaves it and the titles as they were.
#pragma once

#include "core/CDataSetList.h"
#include "framework/ui/CListWnd.h"
#include "framework/ui/widgets/CMenuListCtrl.h"

#include <memory>

class COrbInfoListWnd : public CListWnd {
public:
    static constexpr int kListId = 160;
    static constexpr int kItemHeight = 80; // pixels
    // WND_MSG_OPEN_MENU_CHILD's wParam of an article pick.
    static constexpr WPARAM kOpenArticle = 12;

    COrbInfoListWnd();
    ~COrbInfoListWnd() override;
    const char* GetClassName() const override { return "COrbInfoListWnd"; }

    CMenuListCtrl& GetList() { return m_list; }
    bool HasReply() const { return m_reply != nullptr; }

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    int OnInitDialog() override;
    void OnLayout() override;
    // The texts, then the titles of the menu node's children as rows.
    void SetMenuParams(int menuId, const char* param, const char* request) override;
    void OnNetData(const std::uint8_t* data, int length, bool networkFailure) override;
    // The article of row index of the kept reply: 1 when a window ran, 0
    // when none, −1 without such a record or an article request.
    int OpenMenuChild(int index) override;
    // Posts the pick to the window itself, so the list's tap ends first.
    void OnItemChosen(int index) override;

private:
    void FillFromMenuNode();

    CMenuListCtrl m_list;
    std::unique_ptr<CDataSetList> m_reply; // the last good reply
};
