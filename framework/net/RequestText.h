// Building the request text on the GUI thread, as pure functions over 8-bit
// (GBK) text: the function prefix, the common tail, the sealing of a
// window's parameters into "TC_REQDATA", and the questions the worker asks
// of a text (must it never be sent twice, does it carry a password).
// Texts grow as needed; nothing here has a length cap.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The values of the common tail (docs/protocol.md).
struct CCommonTail {
    std::string imei;    // device identity
    std::string mobile;  // registered mobile number
    std::string sysVer;  // system version
    int reqNo = 0;       // request counter
    std::string session; // session string; empty before the service logon
};

// "TC_MFUNCNO=<main>&TC_SFUNCNO=<sub>&" + windowText, or windowText alone
// for main −1 (a text that names its function itself).
std::string BuildRequestText(int mainFunc, int subFunc, std::string_view windowText);

// "&imei=...&mobile=...&softName=VuvEr&sysVer=...&reqNo=...&supportCompress=18&session=..."
// Each value keeps its letters, digits, ".", "-" and "_"; any other byte
// (a blank, "&", "=", "%", 8-bit text) becomes "_", so that a reader that
// stops at a blank or splits at "&" sees the whole value ("Linux 6.1" is
// sent as "Linux_6.1").
std::string CommonTailText(const CCommonTail& tail);
// True when value is non-empty and holds only what CommonTailText keeps;
// a session the server hands out must pass to be used.
bool IsPlainTailValue(std::string_view value);
// Appends the common tail; no doubled "&" when text ends with one.
void AppendCommonTail(std::string& text, const CCommonTail& tail);

// The tail values found in a clear request text (the last of each name;
// empty or 0 when absent), for a request the worker makes in its stead.
CCommonTail ReadCommonTail(std::string_view clearText);

// Seals every parameter whose name does not begin with "tc_" (any case),
// in order, into "TC_REQDATA=<hex>&TC_REQLENGTH=<n>&TC_ENCRYPT=36" after
// the remaining "tc_" parameters. A text with nothing to seal stays as it
// is. Returns false, leaving text unchanged, when the session key is
// missing or too short or the sealed plain text is shorter than the
// envelope's 16-byte minimum: the request must then not be sent at all.
bool SealRequestText(std::string& text, const std::string& sessionKey);

// The whole request of a window: the function prefix, the window's text,
// the common tail and, with seal set, the sealing. False when sealing
// failed (nothing is to be sent); *out is then left empty.
bool ComposeRequest(int mainFunc, int subFunc, std::string_view windowText, const CCommonTail& tail,
                    bool seal, const std::string& sessionKey, std::string* out);

// True when the text carries "TC_REQDATA".
bool IsSealedRequest(std::string_view text);
// The sealed parameters of a sealed text, opened with the key; nullopt
// when the text is not sealed or does not open.
std::optional<std::string> OpenSealedRequest(std::string_view text, const std::string& sessionKey);

// The same request for a new logon: the session value replaced by session
// (the last "session" parameter, appended when absent), and a sealed text
// opened with oldKey and sealed again with newKey. nullopt when a sealed
// text does not open or cannot be sealed again.
std::optional<std::string> RenewRequestSession(std::string_view text, const std::string& oldKey,
                                               const std::string& newKey, const std::string& session);

// True for the functions that must never reach the server twice: orders
// (500/6), cancellations (500/7), the password change (500/13), the trade
// login (500/1), batch orders (100/20) and the warrant exercise (100/29),
// named by any TC_MFUNCNO with any TC_SFUNCNO of the text (any letter
// case): a text naming its function twice cannot tell which one the
// server takes.
bool IsNeverResendRequest(std::string_view text);
// True for a request that acts: every never-twice function above and the
// phone-token application (500/69), which makes the server hand out a new
// seed. Only the press that passed its checks sends one; a refresh, a show,
// a timer or a child's close never does.
bool IsActingRequest(std::string_view text);

// Why a finished request text may not be sent.
enum class RequestRefusal {
    None,              // it may be sent
    BadFunctionNumber, // a TC_MFUNCNO or TC_SFUNCNO that is not plain decimal digits
    ClearPassword,     // a password parameter outside "TC_REQDATA"
};
// The check every text passes before it is offered to the network.
RequestRefusal CheckRequestText(std::string_view text);

// True when a parameter is named "trdpwd", "oldpwd", "newpwd", "pwd" or
// "authdata" (the one-time code or pass phrase), in any case and with any
// blanks around the name.
bool CarriesPassword(std::string_view text);
// The text with the values of those parameters replaced by "***".
std::string RedactPasswords(std::string_view text);
