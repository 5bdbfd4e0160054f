// The keyword table and the modal run of the windows it opens.
#include "framework/shell/CWndManager.h"

#include "framework/app/CAppData.h"
#include "framework/shell/TradeEntry.h"
#include "framework/ui/CBaseWnd.h"
#include "framework/ui/CDigitInputWnd.h"
#include "platform/win/UiMessageLoop.h"

#include <cctype>

CWndManager::CWndManager() {
    SetWindowOpener(this);
    CAppData::SetTradeLoginRoute(RunTradeEntry);
}

CWndManager& CWndManager::Instance() {
    static CWndManager manager;
    return manager;
}

void CWndManager::RegisterAction(std::string_view keyword, std::function<void()> action) {
    if (action)
        m_actions[Lower(keyword)] = std::move(action);
    else
        m_actions.erase(Lower(keyword));
}

std::string CWndManager::Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

void CWndManager::RegisterWindow(std::string_view keyword, Factory factory) {
    if (factory)
        m_factories[Lower(keyword)] = std::move(factory);
    else
        m_factories.erase(Lower(keyword));
}

bool CWndManager::IsRegistered(std::string_view keyword) const {
    return m_factories.count(Lower(keyword)) != 0;
}

std::unique_ptr<CBaseWnd> CWndManager::MakeWindow(std::string_view keyword, const CWndCreateInfo& info) {
    auto it = m_factories.find(Lower(keyword));
    if (it == m_factories.end())
        return nullptr;
    CWndCreateInfo given = info;
    given.keyword = it->first;
    return it->second(given);
}

COpenResult CWndManager::CreateWnd(const char* keyword, int menuId, const char16_t* title, const char* param,
                                   const char* request, int flag, UiWin* parent) {
    if (!keyword)
        return {};
    const std::string key = Lower(keyword);
    if (auto action = m_actions.find(key); action != m_actions.end()) {
        action->second();
        return {};
    }
    CWndCreateInfo info;
    info.flag = flag;
    info.owner = parent;
    std::unique_ptr<CBaseWnd> window = MakeWindow(key, info);
    if (!window)
        return {};
    return RunWindow(std::move(window), menuId, title, param, request, parent);
}

COpenResult CWndManager::RunWindow(std::unique_ptr<CBaseWnd> window, int menuId, const char16_t* title,
                                   const char* param, const char* request, UiWin* parent, int showAnimation,
                                   int hideAnimation) {
    if (!window)
        return {};
    if (title)
        window->SetCaption(title);
    if (!window->CreateOver(parent, GetWorkRect()))
        return {};
    window->SetHideAnimation(hideAnimation);
    COpenResult result;
    result.opened = true;
    result.closeCode = window->ShowModal(menuId, param, request, showAnimation);
    // The run is over: this call owns the window and ends it here.
    window.reset();
    return result;
}

CRect CWndManager::GetWorkRect() const {
    UiMessageLoop* loop = UiMessageLoop::Current();
    if (loop)
        return loop->GetWorkRect();
    return {0, UiMessageLoop::kTaskBarHeight, 480, 720};
}

int CWndManager::ShowDigitInput(UiEdit* edit, const char16_t* prompt, UiWin* parent) {
    CDigitInputWnd keypad(edit, prompt);
    if (!keypad.CreateOver(parent, GetWorkRect()))
        return -1;
    return keypad.ShowModal(-1, nullptr, nullptr);
}

void CWndManager::Reset() {
    m_factories.clear();
    m_actions.clear();
    m_chartMode = 0;
}
