// The phone-token application without a window: the 500/69 request text
// (built by appending, every value checked), what its reply holds, the
// rows it writes to the token store, the 100/5 texts, and the fund
// accounts the phone-token window lists.
#pragma once

#include "core/CDataSetList.h"
#include "core/FunctionNumbers.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CAppData;

inline constexpr const char* kDynCodeApplyRequest = kRequestHead<kFuncTokenApply>.c_str();
inline constexpr const char* kDynCodeTextRequest = kRequestHead<kFuncTokenTexts>.c_str();

// The items of a comma-separated list, in order; a text without ',' is one
// item ("" gives one empty item: the caller skips empty ids).
std::vector<std::string> SplitAccountList(std::string_view text);

struct CDynCodeApplyFields {
    std::string_view typeCode;  // "Z", "0".."3"
    std::string_view deptCode;  // "custorgid"
    std::string_view accountId; // normalised ("inputid")
    std::string_view password;  // "trdpwd"
    std::string_view mobile;    // the registered mobile number ("mobileno")
};

// Why no request text was made.
enum class DynCodeApplyRefusal {
    None,
    NoMobile,   // no registered mobile number, or one that is not digits
    BadValue,   // a value holds "&", "=", "%" or a control character, or is empty
};

// Appends "tc_mfuncno=500&tc_sfuncno=69&inputtype=..&custorgid=..&inputid=..
// &trdpwd=..&mobileno=.." to out; out is unchanged unless None is returned.
DynCodeApplyRefusal AppendDynCodeApplyRequest(const CDynCodeApplyFields& fields, std::string& out);

// A 500/69 reply read.
struct CDynCodeApplyReply {
    enum class Kind {
        Error,     // an "error" set: errorText
        BadFormat, // not exactly one set, or "seed", "fundidlist" or "secuidlist" missing, or no row
        BadSeed,   // a seed that is not 16 to 48 hexadecimal characters
        NoAccount, // both lists name no account
        Ok,
    };
    Kind kind = Kind::BadFormat;
    std::u16string errorText;
    std::string seed;
    std::vector<std::string> fundIds;  // empty items left out
    std::vector<std::string> secuIds;  // empty items left out
};
CDynCodeApplyReply ReadDynCodeApplyReply(CDataSetList& reply);

// Writes the application's rows in one transaction: for each account, the
// rows of that account get the sealed seed, this phone's number, counter 1
// and the time; an account without a row gets one (fund accounts marked
// 1, holder accounts 0). Creates the table when missing; sets
// DynCodeListChanged when a row was added. False, nothing written, when
// the seed does not seal or the database fails.
bool StoreDynCodeApplication(const CAppData& app, const CDynCodeApplyReply& reply, std::u16string_view mobile,
                             std::int64_t applyTime);

// The texts of a 100/5 reply's first set: column 0 (usage) and column 1
// (risk) of every row, each followed by "\r\n"; column 2 (tip) of the last
// row. False (nothing filled) for an error reply or no set of three columns.
struct CDynCodeTexts {
    std::u16string usage;
    std::u16string risk;
    std::u16string tip;
};
bool ReadDynCodeTexts(CDataSetList& reply, CDynCodeTexts& out);

// The fund accounts with a token on the registered number mobile, in table
// order; empty when the table is missing; false when the database fails.
bool LoadDynCodeFundAccounts(const CAppData& app, std::u16string_view mobile, std::vector<std::u16string>& out);

// The registered mobile number ("Focus" of the registration record).
std::u16string RegisteredMobile(const CAppData& app);
