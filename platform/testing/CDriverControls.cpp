// Driving controls from tests.
#include "platform/testing/CDriverControls.h"

#include "platform/testing/CTestDriver.h"
#include "platform/ui/UiButtonBar.h"
#include "platform/ui/UiList.h"
#include "platform/win/UiMessageLoop.h"
#include "platform/win/UiWin.h"

namespace {

UiWin* FindShownIn(UiWin* root, int id) {
    if (!root->IsVisible())
        return nullptr;
    if (root->GetId() == id && root->IsShownOnScreen())
        return root;
    const std::vector<UiWin*>& children = root->GetChildren();
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        if (UiWin* found = FindShownIn(*it, id))
            return found;
    return nullptr;
}

CPoint Centre(const CRect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

} // namespace

UiWin* CDriverControls::FindShownControl(int id) {
    UiMessageLoop* loop = UiMessageLoop::Current();
    if (!loop)
        return nullptr;
    const std::vector<UiWin*> tops = loop->TopLevelWindows();
    for (auto it = tops.rbegin(); it != tops.rend(); ++it)
        if (UiWin* found = FindShownIn(*it, id))
            return found;
    return nullptr;
}

std::optional<CPoint> CDriverControls::BottomButtonPoint(CTestDriver& driver, int index) {
    return driver.RunOnGui([index]() -> std::optional<CPoint> {
        auto* bar = dynamic_cast<UiButtonBar*>(FindShownControl(101));
        if (!bar || !bar->IsButtonShown(index))
            return std::nullopt;
        const CRect screen = bar->GetScreenRect();
        return Centre(bar->GetButtonRect(index).Offset(screen.left, screen.top));
    });
}

bool CDriverControls::PressBottomButton(CTestDriver& driver, int index) {
    const std::optional<CPoint> point = BottomButtonPoint(driver, index);
    return point && driver.Tap(point->x, point->y);
}

bool CDriverControls::TapControl(CTestDriver& driver, int id) {
    const std::optional<CRect> r = ControlScreenRect(driver, id);
    if (!r)
        return false;
    const CPoint c = Centre(*r);
    return driver.Tap(c.x, c.y);
}

bool CDriverControls::TapListItem(CTestDriver& driver, int listId, int index) {
    const std::optional<CPoint> point = driver.RunOnGui([listId, index]() -> std::optional<CPoint> {
        auto* list = dynamic_cast<UiList*>(FindShownControl(listId));
        if (!list || index < 0 || index >= list->GetCount())
            return std::nullopt;
        list->StopScrolling();
        list->EnsureItemVisible(index);
        const CRect screen = list->GetScreenRect();
        const CRect item = list->GetItemRect(index).Intersect(list->GetClientRect());
        if (item.IsEmpty())
            return std::nullopt;
        return Centre(item.Offset(screen.left, screen.top));
    });
    return point && driver.Tap(point->x, point->y);
}

std::optional<CRect> CDriverControls::ControlScreenRect(CTestDriver& driver, int id) {
    return driver.RunOnGui([id]() -> std::optional<CRect> {
        UiWin* w = FindShownControl(id);
        if (!w)
            return std::nullopt;
        return w->GetScreenRect();
    });
}

std::optional<std::vector<std::u16string>> CDriverControls::ListItems(CTestDriver& driver, int listId) {
    return driver.RunOnGui([listId]() -> std::optional<std::vector<std::u16string>> {
        auto* list = dynamic_cast<UiList*>(FindShownControl(listId));
        if (!list)
            return std::nullopt;
        std::vector<std::u16string> texts;
        for (const UiListItem& item : list->Items())
            texts.push_back(item.text);
        return texts;
    });
}

std::optional<int> CDriverControls::ListSelection(CTestDriver& driver, int listId) {
    return driver.RunOnGui([listId]() -> std::optional<int> {
        auto* list = dynamic_cast<UiList*>(FindShownControl(listId));
        if (!list)
            return std::nullopt;
        return list->GetCurSel();
    });
}
