// The menu tree built from the stored "Menus" data (docs/wire-format.md):
// one record set, one row per node, with the columns "id", "pid", "title",
// "keyword", "param" and "request" looked up by name.
//
// The root is the tree's first node and has id 0: a row with id 0 gives the
// root its texts, otherwise an empty root is made. Rows with parent id 0 are
// the root's children, and every node's children follow the order of the
// rows. The data comes from the server, so it is not trusted: a row whose id
// was seen before is ignored, and a node whose chain of parents does not
// reach the root (a missing parent or a cycle) is kept for FindById but
// linked to nothing, so a walk over the tree always ends.
#pragma once

#include "framework/app/CMenuNode.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class CDataSet;

class CMenuTree {
public:
    // Builds the tree from a "Menus" body (the sets of one reply); null when
    // the body is unreadable, holds an error set or has no set.
    static std::unique_ptr<CMenuTree> FromBody(const uint8_t* body, size_t length);
    // Builds the tree from the rows of set (its cursor moves).
    static std::unique_ptr<CMenuTree> FromDataSet(CDataSet& set);

    CMenuNode* GetRoot() const { return m_nodes.empty() ? nullptr : m_nodes.front().get(); }
    // The node with id, or null.
    CMenuNode* FindById(int id) const;
    // Number of nodes, the root and unlinked ones included.
    int GetCount() const { return static_cast<int>(m_nodes.size()); }

private:
    void Link();

    std::vector<std::unique_ptr<CMenuNode>> m_nodes; // the root first, then the rows' order
};
