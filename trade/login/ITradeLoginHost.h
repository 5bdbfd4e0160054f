// What the history account list asks of the login form it fills: the form
// implements it, so the list needs only this and not the form.
#pragma once

#include <string_view>

class ITradeLoginHost {
public:
    // Fills the form from a history row: the department of that code (added
    // to the personal list when it is missing and the row names a real
    // department with a code), the type and the typed account. False when
    // the row's department could not be taken (the form keeps its own).
    virtual bool SelectSalesDept(std::u16string_view account, std::u16string_view typeCode,
                                 std::u16string_view deptName, std::u16string_view deptCode) = 0;

protected:
    ~ITradeLoginHost() = default;
};
