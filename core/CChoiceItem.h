// A picker item: the text shown, the 8-bit value it stands for (a request
// parameter text) and its check mark. Kept in a CArrayT<CChoiceItem>.
#pragma once

#include "core/CAString.h"
#include "core/CWString.h"

struct CChoiceItem {
    CWString text;         // display text
    CAString value;        // value text sent with requests
    bool checked = false;  // check mark shown
};
