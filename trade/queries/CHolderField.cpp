// The shareholder field's tap.
#include "trade/queries/CHolderField.h"

#include "platform/win/Message.h"

void CHolderField::OnLButtonDown(UINT, CPoint) {
    m_form.PostMessage(WM_COMMAND, MakeWParam(m_dropCommandId, 0), 0);
}
