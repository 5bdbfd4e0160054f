// The shown top-level window of a class, as tests and the tour look for
// the screen a person sees.
#pragma once

#include "platform/win/UiMessageLoop.h"
#include "platform/win/UiWin.h"

#include <vector>

// GUI thread: the shown top-level window of class T, the topmost first;
// null when none is shown or no loop runs.
template <class T>
T* ShownTopWindow() {
    UiMessageLoop* loop = UiMessageLoop::Current();
    if (!loop)
        return nullptr;
    const std::vector<UiWin*> tops = loop->TopLevelWindows();
    for (auto it = tops.rbegin(); it != tops.rend(); ++it)
        if (auto* found = dynamic_cast<T*>(*it); found && found->IsVisible())
            return found;
    return nullptr;
}
