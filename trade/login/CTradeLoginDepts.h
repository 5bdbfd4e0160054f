// The departments the trade login form offers and the one it would send:
// the personal department list (at most kMaxDepts rows), the chosen row,
// and a history row's department taken into it.
#pragma once

#include "core/CWString.h"

#include <string>
#include <string_view>
#include <vector>

class CAppData;

class CTradeLoginDepts {
public:
    // The departments the form lists; more rows in the table are not shown.
    static constexpr int kMaxDepts = 12;
    static constexpr char16_t kNoDeptText[] = u"未设置营业部信息";

    struct CDept {
        CWString name;
        std::string code;
    };

    // Reads the personal list and chooses the department of the saved
    // setting. False, with an empty list, when the list could not be read.
    bool Load(const CAppData& app);
    // Chooses the row of code; the built-in code, or one no longer listed,
    // stands for the first row, so the form sends the code of the name it
    // shows.
    void SelectByCode(std::string_view code);
    // Chooses row index; false, choosing nothing new, when there is none.
    bool Select(int index);

    // What a history row's department came to.
    struct CTake {
        bool taken = true;        // the form now shows the row's department
        bool addFailed = false;   // the personal list could not be written
        bool reloadFailed = false; // nor read again after the row was added
    };
    // Chooses the department of a history row, adding it to the personal
    // list when it is missing there. A row that names no real department
    // (an empty code) or a full list leaves the choice as it is.
    CTake TakeHistoryDept(CAppData* app, std::u16string_view name, std::string_view code);

    const std::vector<CDept>& List() const { return m_depts; }
    int Index() const { return m_index; }
    bool HasChoice() const { return m_index >= 0 && m_index < static_cast<int>(m_depts.size()); }
    // The chosen department's code, or empty.
    std::string Code() const;
    // The chosen department's name, or kNoDeptText.
    std::u16string Text() const;

private:
    bool Lists(std::string_view code) const;

    std::vector<CDept> m_depts;
    int m_index = -1;
};
