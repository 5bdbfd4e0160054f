// The record a check list item carries: an 8-bit value text the screen
// sends with its requests, and the item's check mark.
#pragma once

#include "core/CAString.h"

class CCheckItem {
public:
    // Copies the value (null gives an empty one).
    explicit CCheckItem(const char* value = nullptr, bool checked = true);

    const CAString& GetValue() const { return m_value; }
    void SetValue(const char* value);
    bool IsChecked() const { return m_checked; }
    void SetChecked(bool checked) { m_checked = checked; }

private:
    CAString m_value; // GBK text
    bool m_checked = true;
};
