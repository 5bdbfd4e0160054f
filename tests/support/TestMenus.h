// The stored "Menus" data the menu tests build by hand: one set tagged
// "menus" with the columns the client reads (id, pid, title, keyword,
// param, request), one row per node in the order given. Rows are the
// simulator's node type, so hand-made and served menus read alike.
#pragma once

#include "tools/simulator/CSimMenuTree.h"

#include <cstdint>
#include <vector>

// The serialized body of rows, as the server hands it out.
std::vector<uint8_t> TestMenusBody(const std::vector<SimMenuNode>& rows);
