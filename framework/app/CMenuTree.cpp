// Menu tree building with checks against orphans and cycles.
#include "framework/app/CMenuTree.h"

#include "core/CDataSet.h"
#include "core/CDataSetList.h"
#include "framework/app/DataSetText.h"

#include <unordered_map>

std::unique_ptr<CMenuTree> CMenuTree::FromBody(const uint8_t* body, size_t length) {
    if (body == nullptr || length == 0 || length > INT32_MAX) {
        return nullptr;
    }
    CDataSetList list(body, static_cast<int>(length));
    if (list.IsError() || list.GetCount() == 0 || *list.GetAt(0) == nullptr) {
        return nullptr;
    }
    return FromDataSet(**list.GetAt(0));
}

std::unique_ptr<CMenuTree> CMenuTree::FromDataSet(CDataSet& set) {
    auto tree = std::unique_ptr<CMenuTree>(new CMenuTree());
    tree->m_nodes.push_back(std::make_unique<CMenuNode>()); // the root, id 0

    const int idCol = set.FindColumn("id");
    const int pidCol = set.FindColumn("pid");
    const int titleCol = set.FindColumn("title");
    const int keywordCol = set.FindColumn("keyword");
    const int paramCol = set.FindColumn("param");
    const int requestCol = set.FindColumn("request");

    std::unordered_map<int, bool> seen;
    set.Move(-1 - set.GetCursor());
    while (set.MoveNext()) {
        const int id = set.GetFieldInt(idCol);
        if (seen.count(id) != 0) {
            continue;
        }
        seen[id] = true;
        CMenuNode* node = nullptr;
        if (id == 0) {
            node = tree->m_nodes.front().get();
        } else {
            tree->m_nodes.push_back(std::make_unique<CMenuNode>());
            node = tree->m_nodes.back().get();
        }
        node->id = id;
        node->parentId = id == 0 ? 0 : set.GetFieldInt(pidCol);
        node->title = set.GetFieldText(titleCol);
        node->keyword = CAString(GetFieldAnsiText(set, keywordCol));
        node->param = CAString(GetFieldAnsiText(set, paramCol));
        node->request = CAString(GetFieldAnsiText(set, requestCol));
    }
    tree->Link();
    return tree;
}

CMenuNode* CMenuTree::FindById(int id) const {
    for (const auto& node : m_nodes) {
        if (node->id == id) {
            return node.get();
        }
    }
    return nullptr;
}

// Links each node under its parent when its chain of parents reaches the
// root. A chain is followed at most (node count) steps, so a cycle is seen
// as not reaching the root.
void CMenuTree::Link() {
    std::unordered_map<int, CMenuNode*> byId;
    for (const auto& node : m_nodes) {
        byId.emplace(node->id, node.get());
    }
    enum class Reach { Unknown, Yes, No };
    std::unordered_map<const CMenuNode*, Reach> reach;
    reach[GetRoot()] = Reach::Yes;

    auto reachesRoot = [&](CMenuNode* start) {
        std::vector<CMenuNode*> chain;
        CMenuNode* node = start;
        Reach result = Reach::No;
        for (size_t steps = 0; node != nullptr && steps <= m_nodes.size(); ++steps) {
            Reach known = reach.count(node) ? reach[node] : Reach::Unknown;
            if (known != Reach::Unknown) {
                result = known;
                break;
            }
            chain.push_back(node);
            auto parent = byId.find(node->parentId);
            node = parent == byId.end() ? nullptr : parent->second;
        }
        for (CMenuNode* visited : chain) {
            reach[visited] = result;
        }
        return result == Reach::Yes;
    };

    std::unordered_map<CMenuNode*, CMenuNode*> lastChild;
    for (size_t i = 1; i < m_nodes.size(); ++i) {
        CMenuNode* node = m_nodes[i].get();
        if (!reachesRoot(node)) {
            continue;
        }
        CMenuNode* parent = byId[node->parentId];
        CMenuNode*& last = lastChild[parent];
        if (last == nullptr) {
            parent->firstChild = node;
        } else {
            last->nextSibling = node;
        }
        last = node;
    }
}
