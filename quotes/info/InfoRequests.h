// The information pages' request texts and titles as functions of what
// they carry, tested without a window. A value from a reply or a menu node
// travels only when it may (IsRequestValue: letters, digits, "."); else
// the result is empty and nothing is opened.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// "tc_mfuncno=" the preset's "tc_mfuncno", "&tc_sfuncno=" its "cont_sfunc",
// "&newsid=" id; empty when either is missing or may not travel.
std::string ArticleRequest(std::string_view preset, int id);

// What a child of a stock's information menu opens with.
struct InfoChildOpen {
    std::string request;
    std::u16string title;
};
// The child's request and title as they stand, or, with addStock, the
// request followed by "&stkcode=" and the code and the title by "_" and the
// stock's name. Nothing with addStock when the code may not travel.
std::optional<InfoChildOpen> StockInfoChild(std::string_view childRequest, std::u16string_view childTitle,
                                            bool addStock, std::string_view code,
                                            std::u16string_view stockName);
