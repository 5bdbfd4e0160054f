// The accounts this phone has logged in with "保存账号" checked: the table
// "Table_HisTradeAccount" of "VM_USER_DATA.db", one row per fund account
// (ACCOUNT). The login writes a row after each such login, the history list
// reads and deletes them. Every value is bound; every call opens the
// database, works and closes it, and throws CppSQLite3Exception when the
// database fails.
#pragma once

#include "core/CWString.h"

#include <string_view>
#include <vector>

class CAppData;

inline constexpr char16_t kUserDataFile[] = u"VM_USER_DATA.db";
inline constexpr char16_t kHistoryTable[] = u"Table_HisTradeAccount";

// One history row (wide texts as stored).
struct CHisAccountRecord {
    CWString account;       // ACCOUNT: the fund account, the row key
    CWString accountName;   // ACCOUNTNAME: the customer name
    CWString salesDept;     // SALESDEPT: the department text
    CWString salesDeptCode; // SALESDEPTCODE: the login reply's "orgid"
    CWString accountType;   // ACCOUNTTYPE: "Z", "0" .. "3"
    CWString inputAccount;  // INPUTEDACCOUNT: the account as typed
};

// Creates the table when it is missing.
void EnsureHistoryTable(const CAppData& app);
// Every row in table order; none when the table is missing.
std::vector<CHisAccountRecord> ReadHistoryAccounts(const CAppData& app);
// Inserts the row, or updates the row of its ACCOUNT when there is one.
// Nothing when the table is missing.
void SaveHistoryAccount(const CAppData& app, const CHisAccountRecord& record);
// Deletes the rows of the account; the number deleted (0 when the table is
// missing).
int DeleteHistoryAccount(const CAppData& app, std::u16string_view account);
