// The stored "Menus" data the menu tests build by hand: one set tagged
// "menus" with the columns the client reads (id, pid, title, keyword,
// param, request), one row per node in the order given.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CTestMenuRow {
    int id = 0;
    int pid = 0; // 0 for the children of the root
    std::u16string title;
    std::string keyword;
    std::string param;
    std::string request;
};

// The serialized body of rows, as the server hands it out.
std::vector<uint8_t> TestMenusBody(const std::vector<CTestMenuRow>& rows);
