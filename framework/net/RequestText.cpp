// Request text building and sealing; see the header.
#include "framework/net/RequestText.h"

#include "core/FunctionNumbers.h"
#include "core/SealEnvelope.h"
#include "core/StrUtil.h"

#include <charconv>
#include <climits>
#include <cstdint>
#include <vector>

namespace {
constexpr size_t kMinPlain = 16; // the seal envelope's smallest plain text
constexpr size_t kMinKey = 6;    // the seal envelope's shortest key

struct Param {
    std::string_view text; // "name=value" or "name"
    std::string_view Name() const { return text.substr(0, text.find('=')); }
    std::string_view Value() const {
        size_t eq = text.find('=');
        return eq == std::string_view::npos ? std::string_view() : text.substr(eq + 1);
    }
};

// The non-empty "&"-separated parameters of text, in order.
std::vector<Param> Split(std::string_view text) {
    std::vector<Param> params;
    while (!text.empty()) {
        size_t amp = text.find('&');
        std::string_view part = text.substr(0, amp);
        if (!part.empty())
            params.push_back({part});
        if (amp == std::string_view::npos)
            break;
        text.remove_prefix(amp + 1);
    }
    return params;
}

bool IsTcName(std::string_view name) { return name.size() >= 3 && EqualsNoCase(name.substr(0, 3), "tc_"); }

std::string Join(const std::vector<std::string_view>& parts) {
    std::string out;
    for (std::string_view part : parts) {
        if (!out.empty())
            out += '&';
        out.append(part);
    }
    return out;
}

std::string ToHex(const std::vector<uint8_t>& bytes) {
    std::string hex(bytes.size() * 2 + 1, '\0');
    HexEncode(bytes.data(), static_cast<int>(bytes.size()), hex.data(), 1);
    hex.pop_back();
    return hex;
}

bool FromHex(std::string_view hex, std::vector<uint8_t>& out) {
    if (hex.size() % 2 != 0)
        return false;
    out.resize(hex.size() / 2);
    for (size_t i = 0; i < out.size(); ++i) {
        auto [end, ec] = std::from_chars(hex.data() + 2 * i, hex.data() + 2 * i + 2, out[i], 16);
        if (ec != std::errc() || end != hex.data() + 2 * i + 2)
            return false;
    }
    return true;
}

// Seals plain into the three sealing parameters appended to clear.
bool SealInto(std::string& clear, const std::string& plain, const std::string& key) {
    if (key.size() < kMinKey || plain.size() < kMinPlain || plain.size() > INT_MAX - 16)
        return false;
    std::vector<uint8_t> envelope(static_cast<size_t>(SealedSize(static_cast<int>(plain.size()))));
    int n = SealData(key.c_str(), reinterpret_cast<const uint8_t*>(plain.data()), static_cast<int>(plain.size()),
                     envelope.data());
    if (n < 0)
        return false;
    envelope.resize(static_cast<size_t>(n));
    if (!clear.empty())
        clear += '&';
    clear += "TC_REQDATA=" + ToHex(envelope) + "&TC_REQLENGTH=" + std::to_string(plain.size()) + "&TC_ENCRYPT=36";
    return true;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

bool IsPlainTailByte(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '.' || c == '-' ||
           c == '_';
}

std::string TailValue(std::string_view value) {
    std::string out(value);
    for (char& c : out)
        if (!IsPlainTailByte(c))
            c = '_';
    return out;
}

// One round of "%hh" escapes decoded; anything else kept as it is.
std::string DecodeEscapes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexDigitValue(text[i + 1]) >= 0 &&
            HexDigitValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexDigitValue(text[i + 1]) * 16 + HexDigitValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Judged on the name as a server reads it once decoded, so an escaped
// letter ("trd%70wd") hides nothing; decoded until it no longer changes,
// since an escaped "%" may hide another escape. A name still changing after
// a few rounds is a peer's game and counts as a password name.
bool IsPasswordName(std::string_view name) {
    constexpr int kMaxRounds = 4;
    std::string decoded(TrimBlanks(name));
    for (int round = 0;; ++round) {
        std::string next = DecodeEscapes(decoded);
        if (next == decoded)
            break;
        if (round == kMaxRounds)
            return true;
        decoded = std::move(next);
    }
    std::string_view plain = TrimBlanks(decoded);
    return EqualsNoCase(plain, "trdpwd") || EqualsNoCase(plain, "oldpwd") || EqualsNoCase(plain, "newpwd") ||
           EqualsNoCase(plain, "pwd") || EqualsNoCase(plain, "authdata");
}

// The text with the last "session" parameter's value replaced (or appended).
std::string ReplaceSession(std::string_view text, const std::string& session) {
    std::vector<Param> params = Split(text);
    for (size_t i = params.size(); i-- > 0;) {
        if (EqualsNoCase(params[i].Name(), "session")) {
            size_t at = static_cast<size_t>(params[i].text.data() - text.data());
            std::string out(text.substr(0, at));
            out += "session=" + session;
            out.append(text.substr(at + params[i].text.size()));
            return out;
        }
    }
    std::string out(text);
    if (!out.empty() && out.back() != '&')
        out += '&';
    return out + "session=" + session;
}
} // namespace

std::string BuildRequestText(int mainFunc, int subFunc, std::string_view windowText) {
    if (mainFunc == -1)
        return std::string(windowText);
    std::string text = "TC_MFUNCNO=" + std::to_string(mainFunc) + "&TC_SFUNCNO=" + std::to_string(subFunc) + "&";
    text.append(windowText);
    return text;
}

std::string CommonTailText(const CCommonTail& tail) {
    std::string text = "&imei=";
    text += TailValue(tail.imei);
    text += "&mobile=";
    text += TailValue(tail.mobile);
    text += "&softName=VuvEr&sysVer=";
    text += TailValue(tail.sysVer);
    text += "&reqNo=";
    text += std::to_string(tail.reqNo);
    text += "&supportCompress=18&session=";
    text += TailValue(tail.session);
    return text;
}

bool IsPlainTailValue(std::string_view value) {
    if (value.empty())
        return false;
    for (char c : value)
        if (!IsPlainTailByte(c))
            return false;
    return true;
}

void AppendCommonTail(std::string& text, const CCommonTail& tail) {
    std::string tailText = CommonTailText(tail);
    if (text.empty() || text.back() == '&')
        text.append(tailText, 1);
    else
        text += tailText;
}

CCommonTail ReadCommonTail(std::string_view clearText) {
    CCommonTail tail;
    for (const Param& p : Split(clearText)) {
        std::string_view name = p.Name();
        if (EqualsNoCase(name, "imei"))
            tail.imei = p.Value();
        else if (EqualsNoCase(name, "mobile"))
            tail.mobile = p.Value();
        else if (EqualsNoCase(name, "sysVer"))
            tail.sysVer = p.Value();
        else if (EqualsNoCase(name, "session"))
            tail.session = p.Value();
        else if (EqualsNoCase(name, "reqNo")) {
            std::string_view v = p.Value();
            tail.reqNo = 0;
            std::from_chars(v.data(), v.data() + v.size(), tail.reqNo);
        }
    }
    return tail;
}

bool SealRequestText(std::string& text, const std::string& sessionKey) {
    if (sessionKey.size() < kMinKey)
        return false;
    std::vector<std::string_view> clear, sealed;
    for (const Param& p : Split(text))
        (IsTcName(p.Name()) ? clear : sealed).push_back(p.text);
    if (sealed.empty())
        return true;
    std::string out = Join(clear);
    if (!SealInto(out, Join(sealed), sessionKey))
        return false;
    text.swap(out);
    return true;
}

bool ComposeRequest(int mainFunc, int subFunc, std::string_view windowText, const CCommonTail& tail, bool seal,
                    const std::string& sessionKey, std::string* out) {
    std::string text = BuildRequestText(mainFunc, subFunc, windowText);
    AppendCommonTail(text, tail);
    out->clear();
    if (seal && !SealRequestText(text, sessionKey))
        return false;
    out->swap(text);
    return true;
}

bool IsSealedRequest(std::string_view text) {
    for (const Param& p : Split(text))
        if (EqualsNoCase(p.Name(), "TC_REQDATA"))
            return true;
    return false;
}

std::optional<std::string> OpenSealedRequest(std::string_view text, const std::string& sessionKey) {
    for (const Param& p : Split(text)) {
        if (!EqualsNoCase(p.Name(), "TC_REQDATA"))
            continue;
        std::vector<uint8_t> envelope;
        if (!FromHex(p.Value(), envelope) || envelope.size() < 16 || envelope.size() > INT_MAX)
            return std::nullopt;
        std::vector<uint8_t> plain(envelope.size() - 8);
        int n = OpenSealedData(sessionKey.c_str(), envelope.data(), static_cast<int>(envelope.size()),
                               plain.data());
        if (n < 0)
            return std::nullopt;
        return std::string(plain.begin(), plain.begin() + n);
    }
    return std::nullopt;
}

std::optional<std::string> RenewRequestSession(std::string_view text, const std::string& oldKey,
                                               const std::string& newKey, const std::string& session) {
    if (!IsSealedRequest(text))
        return ReplaceSession(text, session);
    std::optional<std::string> plain = OpenSealedRequest(text, oldKey);
    if (!plain)
        return std::nullopt;
    std::vector<std::string_view> clear;
    for (const Param& p : Split(text)) {
        std::string_view name = p.Name();
        if (!EqualsNoCase(name, "TC_REQDATA") && !EqualsNoCase(name, "TC_REQLENGTH") &&
            !EqualsNoCase(name, "TC_ENCRYPT"))
            clear.push_back(p.text);
    }
    std::string out = Join(clear);
    if (!SealInto(out, ReplaceSession(*plain, session), newKey))
        return std::nullopt;
    return out;
}

namespace {
// True when some TC_MFUNCNO of the text with some TC_SFUNCNO of it (any
// letter case) makes a function that is(main, sub) holds for: a text naming
// its function twice cannot tell which one the server takes.
template <class Pred>
bool NamesFunction(std::string_view text, Pred is) {
    std::vector<int> mains, subs;
    for (const Param& p : Split(text)) {
        std::string_view name = p.Name();
        bool isMain = EqualsNoCase(name, "tc_mfuncno");
        if (!isMain && !EqualsNoCase(name, "tc_sfuncno"))
            continue;
        int number = -1;
        ParseFunctionNumber(p.Value(), &number);
        (isMain ? mains : subs).push_back(number);
    }
    for (int m : mains)
        for (int s : subs)
            if (is(m, s))
                return true;
    return false;
}

// Functions that act once: a second copy would log in, order, cancel or
// change the password again.
constexpr FunctionNumber kNeverResend[] = {kFuncTradeLogin,     kFuncOrder,      kFuncCancelOrder,
                                           kFuncChangePassword, kFuncBatchOrder, kFuncWarrantExercise};

bool IsNeverResendFunction(int m, int s) {
    for (FunctionNumber f : kNeverResend)
        if (f == FunctionNumber{m, s})
            return true;
    return false;
}
} // namespace

bool IsNeverResendRequest(std::string_view text) { return NamesFunction(text, IsNeverResendFunction); }

bool IsActingRequest(std::string_view text) {
    return NamesFunction(text, [](int m, int s) {
        return IsNeverResendFunction(m, s) || FunctionNumber{m, s} == kFuncTokenApply;
    });
}

RequestRefusal CheckRequestText(std::string_view text) {
    if (ReadFunctionNumbers(text).malformed)
        return RequestRefusal::BadFunctionNumber;
    if (CarriesPassword(text))
        return RequestRefusal::ClearPassword;
    return RequestRefusal::None;
}

bool CarriesPassword(std::string_view text) {
    for (const Param& p : Split(text))
        if (IsPasswordName(p.Name()))
            return true;
    return false;
}

std::string RedactPasswords(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t start = 0;
    while (start <= text.size()) {
        size_t amp = text.find('&', start);
        std::string_view part = text.substr(start, amp == std::string_view::npos ? std::string_view::npos : amp - start);
        Param p{part};
        if (IsPasswordName(p.Name()) && part.find('=') != std::string_view::npos) {
            out.append(p.Name());
            out += "=***";
        } else {
            out.append(part);
        }
        if (amp == std::string_view::npos)
            break;
        out += '&';
        start = amp + 1;
    }
    return out;
}
