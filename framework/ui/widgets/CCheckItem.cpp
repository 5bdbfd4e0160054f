// The record of a check list item.
#include "framework/ui/widgets/CCheckItem.h"

CCheckItem::CCheckItem(const char* value, bool checked) : m_value(value), m_checked(checked) {}

void CCheckItem::SetValue(const char* value) { m_value.Assign(value); }
