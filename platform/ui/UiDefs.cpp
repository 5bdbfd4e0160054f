// Small helpers shared by the controls.
#include "platform/ui/UiDefs.h"

#include "platform/win/UiWin.h"

void ForwardMouseToParent(UiWin* self, UINT msg, UINT flags, CPoint pt) {
    UiWin* parent = self->GetParent();
    if (!parent)
        return;
    const CRect r = self->GetRect();
    parent->SendMessage(msg, flags, MakeLParam(pt.x + r.left, pt.y + r.top));
}
