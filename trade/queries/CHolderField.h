// The warrant form's shareholder field: shown, never typed in; a tap on it
// posts the form the command of its drop button, so it opens the picker as
// that button does.
#pragma once

#include "platform/ui/UiEdit.h"

class CHolderField : public UiEdit {
public:
    CHolderField(UiWin& form, int dropCommandId) : m_form(form), m_dropCommandId(dropCommandId) {}
    const char* GetClassName() const override { return "CHolderField"; }
    void OnLButtonDown(UINT flags, CPoint pt) override;

private:
    UiWin& m_form;
    int m_dropCommandId;
};
