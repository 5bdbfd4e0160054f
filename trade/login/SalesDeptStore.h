// The user's own list of sales departments: table "Table_SalesDept" of
// "VM_DATA.db" in the data directory, rows in the order the user added
// them, at most kMaxSalesDepts. The department window rewrites it, the
// trade login reads it and adds the department of a history account.
// Also the broker's full list, the 501/17 reply, read into the same rows.
//
// Every value is bound into the SQL, so a name holding quotes is stored as
// it stands. Each call opens the database, works and closes it; GUI thread.
#pragma once

#include "core/CDataSetList.h"
#include "core/FunctionNumbers.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CAppData;

inline constexpr char16_t kSalesDeptDbFile[] = u"VM_DATA.db";
inline constexpr char16_t kSalesDeptTable[] = u"Table_SalesDept";
inline constexpr char16_t kSalesDeptCreateSql[] =
    u"create table Table_SalesDept(SALESDEPTCODE varchar(10), SALESDEPTNAME varchar(128));";
// The broker's department list.
inline constexpr const char* kSalesDeptRequest = kRequestHead<kFuncSalesDepartments>.c_str();
inline constexpr int kSalesDeptMain = kFuncSalesDepartments.main;
inline constexpr int kSalesDeptSub = kFuncSalesDepartments.sub;
// The personal list's limit.
inline constexpr int kMaxSalesDepts = 10;
// The longest code the table holds (varchar(10)); codes are 4 in practice.
inline constexpr int kMaxSalesDeptCodeLength = 10;
// The setting that keeps the department of the last login, and its
// built-in value, which the login reads as "the first row".
inline constexpr char kSalesDeptSetting[] = "Trade_SCCode";
inline constexpr char kDefaultSalesDeptCode[] = "0001";
// The department text of an account whose fund id did not start with the
// department's code; never a department of the list.
inline constexpr char16_t kUnknownSalesDeptName[] = u"登录时未正确设置营业部";

struct SalesDept {
    std::string code;   // ASCII letters and digits, 1 to kMaxSalesDeptCodeLength
    std::u16string name;

    friend bool operator==(const SalesDept&, const SalesDept&) = default;
};

// True for a code that may travel in a request: 1 to
// kMaxSalesDeptCodeLength ASCII letters or digits.
bool IsSalesDeptCode(std::string_view code);

// The rows of set 0 of a 501/17 reply: field 0 the name, field 1 the code.
// Rows whose code is no department code (IsSalesDeptCode) are left out;
// empty for an error reply, a reply without sets or a set of fewer than
// two columns.
std::vector<SalesDept> ParseSalesDeptReply(CDataSetList& reply);

// The stored list, in table order; empty when the file or table is
// missing; nullopt when the database cannot be read (damaged, locked). A
// store the user may not write is read all the same.
std::optional<std::vector<SalesDept>> LoadSalesDepts(const CAppData& app);

// Makes the table when it is missing; true when it is there afterwards.
// A store that holds it already is only read.
bool EnsureSalesDeptTable(const CAppData& app);

// Replaces the stored list by depts, in one transaction (the table made
// when missing): false when anything fails, and then the old rows stand.
bool SaveSalesDepts(const CAppData& app, const std::vector<SalesDept>& depts);

// What AddSalesDeptIfMissing did.
enum class SalesDeptAdd {
    Added,   // appended
    Present, // a row has the code already
    Refused, // no department code, an empty name or kUnknownSalesDeptName
    Full,    // the list holds kMaxSalesDepts already
    Failed,  // the database failed; nothing written
};
// The trade login's add of a history account's department: appends
// (code, name) when the table exists, has no row with the code and is not
// full.
SalesDeptAdd AddSalesDeptIfMissing(const CAppData& app, std::u16string_view name, std::string_view code);

// The names of the stored list as the department window shows them: the
// server list's name for each stored code, the stored name when the server
// list lacks the code.
std::vector<SalesDept> NameStoredDepts(const std::vector<SalesDept>& stored, const std::vector<SalesDept>& server);
