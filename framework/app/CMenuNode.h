// A node of the menu tree that the server sends: what a menu row shows and
// which window it opens with which texts. Nodes belong to their CMenuTree;
// the links point into it.
#pragma once

#include "core/CAString.h"
#include "core/CWString.h"

struct CMenuNode {
    int id = 0;                         // unique in the tree
    int parentId = 0;                   // 0 for the children of the root
    CWString title;                     // the text shown
    CAString keyword;                   // window keyword ("fschart", "buysale", ...)
    CAString param;                     // parameter text handed to the window
    CAString request;                   // request text handed to the window
    CMenuNode* firstChild = nullptr;    // children in the order of the rows
    CMenuNode* nextSibling = nullptr;
};
