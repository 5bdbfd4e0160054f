// orbsim's options, fault names and request lines (see the header).
#include "tools/simulator/SimCommandLine.h"

#include "core/FunctionNumbers.h"

#include <cstdio>
#include <cstdlib>

namespace {
struct KindName {
    SimFaultKind kind;
    const char* name;
    const char* what;
};

constexpr KindName kKinds[] = {
    {SimFaultKind::AcceptAndClose, "accept-and-close", "the connection is closed before the request is read"},
    {SimFaultKind::CloseAfterRequest, "close-after-request", "the request is read, then the connection closed"},
    {SimFaultKind::CloseInsideBody, "close-inside-body", "half the promised reply body, then the close"},
    {SimFaultKind::SlowReply, "slow-reply", "the reply waits delay ms (default 1000)"},
    {SimFaultKind::TruncatedBody, "truncated-body", "a well-framed reply with half the body"},
    {SimFaultKind::CorruptBody, "corrupt-body", "a well-framed reply whose body bytes are all 0xA5"},
    {SimFaultKind::BadETag, "bad-etag", "the ETag is not four numbers"},
    {SimFaultKind::ErrorSet, "error-set", "an error set under ETag error code (default 1)"},
    {SimFaultKind::SessionLost, "session-lost", "ETag error 100, no body"},
    {SimFaultKind::ResetAfterRequest, "reset-after-request", "the request is read, then the connection reset"},
    {SimFaultKind::Drip, "drip", "the reply goes one byte every delay ms (default 200)"},
    {SimFaultKind::CloseKeptAlive, "close-kept-alive", "the reply without \"Connection: close\", then the close"},
};

constexpr int kDefaultSlowMs = 1000;
constexpr int kDefaultDripMs = 200;
constexpr int kMaxDelayMs = 600000;
constexpr size_t kMaxShownParams = 64;
constexpr size_t kMaxShownBytes = 80;  // of one name or value

// A parameter whose name holds one of these, ignoring case, carries a
// password ("trdpwd", "txpwd", "newpwd", "password", ...) and its value is
// never shown.
constexpr std::string_view kPasswordParts[] = {"pwd", "password", "authdata"};

// One to nine plain digits (no sign, blank or leading zero) within max.
bool ParseCount(std::string_view text, int max, int* value) {
    int v;
    if (!ParseFunctionNumber(text, &v) || v > max) return false;
    *value = v;
    return true;
}

// A port 0..65535 written in digits only (atoi would take "abc" as 0 and
// 70000 would wrap to another port).
bool ParsePort(const std::string& text, int* port) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    long v = std::strtol(text.c_str(), nullptr, 10);
    if (v > 65535) return false;
    *port = static_cast<int>(v);
    return true;
}

bool ParseFault(const std::string& spec, SimFaultOption& out, std::string& error) {
    size_t comma = spec.find(',');
    std::string head = spec.substr(0, comma);
    size_t colon = head.find(':');
    std::string kindName = head.substr(0, colon);
    if (!SimFaultKindFromName(kindName, &out.fault.kind)) {
        error = "unknown fault kind '" + kindName + "' (orbsim --help lists them)";
        return false;
    }
    if (colon != std::string::npos) {
        std::string function = head.substr(colon + 1);
        size_t slash = function.find('/');
        if (slash == std::string::npos ||
            !ParseFunctionNumber(std::string_view(function).substr(0, slash), &out.main) ||
            !ParseFunctionNumber(std::string_view(function).substr(slash + 1), &out.sub)) {
            error = "a fault's function is MAIN/SUB in plain digits, not '" + function + "'";
            return false;
        }
    }
    SimFaultKind kind = out.fault.kind;
    if (kind == SimFaultKind::SlowReply) out.fault.delayMs = kDefaultSlowMs;
    if (kind == SimFaultKind::Drip) out.fault.delayMs = kDefaultDripMs;
    if (kind == SimFaultKind::ErrorSet) {
        out.fault.errorText = u"模拟的服务器错误";
        out.fault.errorCode = 1;
    }
    while (comma != std::string::npos) {
        size_t next = spec.find(',', comma + 1);
        std::string item = spec.substr(comma + 1, next == std::string::npos ? std::string::npos : next - comma - 1);
        comma = next;
        size_t eq = item.find('=');
        std::string name = item.substr(0, eq);
        std::string value = eq == std::string::npos ? std::string() : item.substr(eq + 1);
        bool ok;
        if (name == "times") {
            ok = ParseCount(value, 1000000000, &out.times) && out.times > 0;
        } else if (name == "delay") {
            if (kind != SimFaultKind::SlowReply && kind != SimFaultKind::Drip) {
                error = "delay= is for slow-reply and drip only, not '" + spec + "'";
                return false;
            }
            ok = ParseCount(value, kMaxDelayMs, &out.fault.delayMs);
        } else if (name == "code") {
            if (kind != SimFaultKind::ErrorSet) {
                error = "code= is for error-set only, not '" + spec + "'";
                return false;
            }
            ok = ParseCount(value, 999999999, &out.fault.errorCode);
        } else {
            error = "unknown fault option '" + item + "' in '" + spec + "'";
            return false;
        }
        if (!ok) {
            error = "the value of " + name + "= is not a number in range: '" + item + "'";
            return false;
        }
    }
    return true;
}

// text with each "%XX" replaced by its byte; other bytes as they stand.
std::string DecodeEscapes(std::string_view text) {
    auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hex(text[i + 1]) >= 0 && hex(text[i + 2]) >= 0) {
            out += static_cast<char>(hex(text[i + 1]) * 16 + hex(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Judged on the name as it is read once decoded, so an escaped letter
// ("trd%70wd") hides nothing; decoded until it no longer changes, since an
// escaped "%" may hide another escape. A name still changing after a few
// rounds is a peer's game and is masked, which also bounds the work.
bool IsPasswordName(std::string_view name) {
    constexpr int kMaxRounds = 4;
    std::string decoded(name);
    for (int round = 0;; ++round) {
        std::string next = DecodeEscapes(decoded);
        if (next == decoded) break;
        if (round == kMaxRounds) return true;
        decoded = std::move(next);
    }
    for (char& c : decoded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    for (std::string_view part : kPasswordParts)
        if (decoded.find(part) != std::string::npos) return true;
    return false;
}

void AppendShown(std::string& out, std::string_view text) {
    size_t shown = 0;
    for (unsigned char c : text) {
        if (shown++ == kMaxShownBytes) {
            out += "...";
            return;
        }
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
}
} // namespace

std::string_view SimFaultKindName(SimFaultKind kind) {
    for (const auto& k : kKinds)
        if (k.kind == kind) return k.name;
    return {};
}

bool SimFaultKindFromName(std::string_view name, SimFaultKind* kind) {
    for (const auto& k : kKinds) {
        if (name == k.name) {
            *kind = k.kind;
            return true;
        }
    }
    return false;
}

std::string SimUsage() {
    std::string text =
        "usage: orbsim [port] [--fault KIND[:MAIN/SUB][,times=N][,delay=MS][,code=N]]... [--show-values]\n"
        "Runs the simulated broker server on 127.0.0.1:port (default 8002; 0 picks a free port) until\n"
        "it is interrupted, printing each request's function and parameter names.\n"
        "  --fault SPEC    fail the next request (or the next of function MAIN/SUB) as KIND; repeatable,\n"
        "                  the faults for any request queue in the order given\n"
        "      times=N     the next N such requests (default 1)\n"
        "      delay=MS    slow-reply: the wait before the reply; drip: the wait between bytes\n"
        "      code=N      error-set: the ETag error number\n"
        "  --show-values   print parameter values too (password parameters masked)\n"
        "  -h, --help      print this and end\n"
        "fault kinds:\n";
    for (const auto& k : kKinds) {
        char line[160];
        std::snprintf(line, sizeof line, "  %-20s %s\n", k.name, k.what);
        text += line;
    }
    return text;
}

bool ParseSimCommandLine(const std::vector<std::string>& args, SimOptions& options, std::string& error) {
    bool portGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            options.help = true;
            return true;
        }
        if (a == "--show-values") {
            options.showValues = true;
        } else if (a == "--fault") {
            // An empty or option-like word is a missing value, not a spec.
            if (i + 1 >= args.size() || args[i + 1].empty() || args[i + 1].rfind("-", 0) == 0) {
                error = "--fault needs a value";
                return false;
            }
            SimFaultOption fault;
            if (!ParseFault(args[++i], fault, error)) return false;
            options.faults.push_back(std::move(fault));
        } else if (a.rfind("--", 0) == 0) {
            error = "unknown option '" + a + "'";
            return false;
        } else if (portGiven) {
            error = "one port at most, not '" + a + "' as well";
            return false;
        } else {
            if (!ParsePort(a, &options.port)) {
                error = "the port must be a number from 0 to 65535, not '" + a + "'";
                return false;
            }
            portGiven = true;
        }
    }
    return true;
}

void ArmFaults(CBrokerSimulator& server, const std::vector<SimFaultOption>& faults) {
    for (const auto& f : faults) {
        if (f.main >= 0)
            server.InjectFaultFor(f.main, f.sub, f.fault, f.times);
        else
            server.InjectFault(f.fault, f.times);
    }
}

std::string DescribeFault(const SimFaultOption& option) {
    std::string text(SimFaultKindName(option.fault.kind));
    text += option.main >= 0 ? " on " + std::to_string(option.main) + "/" + std::to_string(option.sub)
                             : std::string(" on any request");
    text += ", " + std::to_string(option.times) + (option.times == 1 ? " time" : " times");
    if (option.fault.kind == SimFaultKind::SlowReply) text += ", " + std::to_string(option.fault.delayMs) + " ms";
    if (option.fault.kind == SimFaultKind::Drip)
        text += ", " + std::to_string(option.fault.delayMs) + " ms apart";
    if (option.fault.kind == SimFaultKind::ErrorSet) text += ", error " + std::to_string(option.fault.errorCode);
    return text;
}

std::string DescribeRequest(const SimRequest& request, bool showValues) {
    std::string line = "request " + std::to_string(request.main) + "/" + std::to_string(request.sub);
    if (request.sealed) line += " (sealed)";
    line += ":";
    size_t shown = 0;
    for (const auto& [name, value] : request.params) {
        if (shown++ == kMaxShownParams) {
            line += " ... (" + std::to_string(request.params.size() - kMaxShownParams) + " more)";
            break;
        }
        line += ' ';
        AppendShown(line, name);
        if (!showValues) continue;
        line += '=';
        if (IsPasswordName(name))
            line += "***";
        else
            AppendShown(line, value);
    }
    return line;
}
