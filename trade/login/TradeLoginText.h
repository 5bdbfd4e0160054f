// The trade login's texts without a window: what may travel in the login
// request, the request itself (built by appending), what a reply means, and
// the texts the account lists show. The login window and the account window
// only move these values between controls, the application state and the
// database.
#pragma once

#include "core/CDataSet.h"
#include "core/CDataSetList.h"
#include "core/CWString.h"

#include <memory>
#include <string>
#include <string_view>

// The customer name of a reply without one.
inline constexpr char16_t kUnnamedCustomer[] = u"未具名";

// True when a typed value (account, password, pass phrase) can go into the
// login request as it stands: no "&", "=" or "%", which would add or hide
// a parameter, and no control character.
bool IsLoginValueSafe(std::string_view text);

// How the login proves the user: authtype 0 (nothing), 2 (pass phrase),
// 5 (one-time code of the phone token).
enum class LoginAuth { None = 0, PassPhrase = 2, TokenCode = 5 };

struct CTradeLoginFields {
    std::string_view typeCode;  // "Z", "0", "1", "2" or "3"
    std::string_view deptCode;  // the department code sent as "custorgid"
    std::string_view accountId; // the normalised account ("inputid")
    std::string_view password;  // six digits
    LoginAuth auth = LoginAuth::None;
    std::string_view authData;  // the code or the pass phrase; ignored for None
};

// Appends the login request "tc_mfuncno=500&tc_sfuncno=1&inputtype=...&
// custorgid=...&inputid=...&trdpwd=...&operway=i&authtype=N&authdata=..."
// to out. False, with out unchanged, when a value is not safe
// (IsLoginValueSafe) or the type, department or account is empty.
bool AppendTradeLoginRequest(const CTradeLoginFields& fields, std::string& out);

// True when a session text from the login reply is a list of key=value
// pairs joined with "&" whose keys and values hold only letters, digits,
// ".", "-", "_" (and values may be empty but keys not): it leads every
// later trade request, so nothing in it may add a parameter of its own.
bool IsTradeSessionText(std::string_view text);

// What a login reply came to.
struct CTradeLoginReply {
    enum class Kind {
        Error,     // an "error" set (or an unreadable body): errorText
        BadFormat, // no session, no holder set, or no holder with a fund account
        Success,
    };
    Kind kind = Kind::BadFormat;
    CWString errorText;
    std::string session;        // set 0, row 0, field 0
    std::string fundId;         // the first holder row's non-empty "fundid"
    CWString customerName;      // "custname" of that row, kUnnamedCustomer when empty
    std::string orgId;          // "orgid" of that row
    std::unique_ptr<CDataSet> holders; // set 1, taken out of the reply (Success only)
};

// What a refused login's text says of the phone token: nothing, that its
// code was refused (the token on this phone is of no more use), or that
// the account never applied for one.
enum class TokenRefusal { None, Refused, NotApplied };
TokenRefusal ReadTokenRefusal(std::u16string_view errorText);

// Reads a login reply; on success the holder set is detached from reply,
// which keeps (and deletes) every other set.
CTradeLoginReply ReadTradeLoginReply(CDataSetList& reply);

// The department text kept with a logged-in account: the form's department
// name when fundId begins with the 4-character department code, else
// kUnknownSalesDeptName (trade/login/SalesDeptStore.h).
CWString LoginDeptText(std::string_view fundId, std::string_view deptCode, std::u16string_view deptName);

// An account number as the history list shows it: characters 4 to 7
// (from 0) that exist replaced by '*'.
std::u16string MaskAccountId(std::u16string_view account);

// The title of a logged-in account row: id, a blank, the customer name.
CWString AccountRowTitle(std::string_view accountId, std::u16string_view customerName);
