// The menu tree and the option groups that the simulated server hands out
// with the configuration fetch (100/2). The tree names every window keyword
// of the quote and trade screens with the parameter and request texts those
// windows expect; the request texts name the functions the simulator serves
// (docs/protocol.md lists them). Node ids 371 and 372 are fixed: the trade
// query windows pick their variant by them.
#pragma once

#include "core/CDataSetWriter.h"

#include <string>
#include <vector>

struct SimMenuNode {
    int id = 0;
    int pid = 0;               // 0 for the children of the root
    std::u16string title;
    std::string keyword;
    std::string param;
    std::string request;
};

class CSimMenuTree {
public:
    // The nodes in row order: every child after its parent, siblings in order.
    static const std::vector<SimMenuNode>& Nodes();
    // Appends the set tagged "menus" (columns id, pid, title, keyword, param, request).
    static void WriteMenus(CDataSetWriter& writer);
    // Appends one set tagged "config" per option group ("market", "type",
    // "sort", "tech"), each one row of a name (8-bit) and a wide value text.
    static void WriteConfig(CDataSetWriter& writer);
    // The value text of an option group, "name^value#name^value#"; empty
    // for an unknown group.
    static std::u16string GroupValue(const std::string& group);
};
