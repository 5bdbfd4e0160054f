// The road of one request through the parts: read (SimHttp), open its seal
// (CSimSessions), log it (CSimRequestLog), take its fault (CSimFaults), route
// it (the route table the groups filled), then pack, seal and frame the reply.
#include "tools/simulator/CBrokerSimulator.h"

#include "platform/system/ThreadSlot.h"

#include "core/FunctionNumbers.h"
#include "core/SealEnvelope.h"
#include "core/StrUtil.h"
#include "core/ZlibCodec.h"
#include "tools/simulator/CSimMarket.h"
#include "tools/simulator/CSimRequestLog.h"
#include "tools/simulator/CSimServer.h"
#include "tools/simulator/CSimSessions.h"
#include "tools/simulator/SimHttp.h"
#include "tools/simulator/SimRouteGroups.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <strings.h>

static_assert(CBrokerSimulator::kMaxBodyBytes == SimHttp::kMaxBodyBytes);

namespace {
int ParseInt(const std::string& text, int fallback) {
    if (text.empty()) return fallback;
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(text.c_str(), &end, 10);
    if (*end || errno || v < -2147483647L || v > 2147483647L) return fallback;
    return static_cast<int>(v);
}

// The key the last logon on this thread issued; routes run on the
// connection's thread, so Serve learns here which key its peer now holds.
// A slot, not a thread_local: a connection served while the program beside
// it loads a library would wait for the load at its first logon.
std::string& IssuedKey() {
    static CThreadSlot<std::string> key;
    return key.Get();
}
} // namespace

struct CBrokerSimulator::Impl {
    Impl()
        : server([this](int fd) { return Serve(fd); }, [this] { return faults.TakeAcceptFault(); }) {}

    CSimFaults faults;
    CSimRequestLog log;
    CSimSessions sessions;

    // Guards the limits, the framing and the reply count.
    mutable std::mutex mu;
    SimLimits limits;
    SimFraming framing = SimFraming::ContentLength;
    int replyCounter = 0;

    // The routes, the groups that hold them (their handlers may point into
    // them), the market and the clock; routes run under this lock, one at a time.
    std::mutex routeMu;
    CSimRouteTable routes;
    std::vector<std::unique_ptr<ISimRouteGroup>> groups;
    CSimMarket market;
    SimClock clock;

    // Last, so that its threads (which use the parts above) end first.
    CSimServer server;

    // Serves one connection; true to end it with a reset.
    bool Serve(int fd);
    // Opens the request; connectionKey is the key last issued or used on
    // the connection (tried early on a seal) and is updated.
    SimRequest OpenRequest(const SimHttp::Request& http, std::string& connectionKey, bool* sealBroken);
    SimReply Route(const SimRequest& request);
    void SendReply(int fd, const SimRequest& request, SimReply reply, const SimFault& fault, bool* closeAfter);
};

CBrokerSimulator::CBrokerSimulator() : m_impl(std::make_unique<Impl>()) {
    Impl* impl = m_impl.get();
    impl->routes.Add(kFuncLogon, [impl](const SimRequest& r, SimContext&) {
        std::string issued;
        SimReply reply = impl->sessions.Logon(r, &issued);
        if (!issued.empty()) IssuedKey() = std::move(issued);
        return reply;
    });
    impl->groups = MakeRouteGroups();
    for (const auto& group : impl->groups) group->AddRoutes(impl->routes);
}

CBrokerSimulator::~CBrokerSimulator() { Stop(); }

int CBrokerSimulator::Start(int port) { return m_impl->server.Start(port); }

void CBrokerSimulator::Stop() { m_impl->server.Stop(); }

int CBrokerSimulator::GetPort() const { return m_impl->server.GetPort(); }

void CBrokerSimulator::RefuseConnections(int ms) { m_impl->server.RefuseConnections(ms); }

bool CBrokerSimulator::Impl::Serve(int fd) {
    std::string buffer;
    std::string connectionKey;
    int deadlineMs;
    {
        std::lock_guard<std::mutex> lock(mu);
        deadlineMs = limits.requestDeadlineMs;
    }
    while (server.Running()) {
        SimHttp::Request http;
        SimHttp::ReadResult read = SimHttp::ReadRequest(fd, buffer, http, deadlineMs, server.Running());
        if (read != SimHttp::ReadResult::Ok) {
            // A refused request is answered, without a body, and the connection closed:
            // what follows it on the stream cannot be trusted to start a request.
            if (*SimHttp::RefusalStatus(read)) {
                std::string refusal = std::string("HTTP/1.1 ") + SimHttp::RefusalStatus(read) +
                                      "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
                SimHttp::SendAll(fd, refusal.data(), refusal.size());
            }
            return false;
        }
        bool sealBroken = false;
        SimRequest request = OpenRequest(http, connectionKey, &sealBroken);
        log.Add(request);
        SimFault fault = faults.Take(request.main, request.sub);
        if (fault.kind == SimFaultKind::CloseAfterRequest || fault.kind == SimFaultKind::AcceptAndClose) return false;
        if (fault.kind == SimFaultKind::ResetAfterRequest) return true;
        // A seal that no logon's key opens means the server has lost the session.
        // A refusal the fault stands for is the server's answer in place of the
        // route: a refused request changes nothing here.
        SimReply reply = sealBroken        ? SimReply::Error(u"会话已失效，请重新登录", 100)
                         : fault.Refuses() ? fault.Refusal()
                                           : Route(request);
        // The key a logon on this connection issued is the one its next seals likely use.
        if (std::string& issued = IssuedKey(); !issued.empty()) {
            connectionKey = std::move(issued);
            issued.clear();
        }
        bool closeAfter = !http.keepAlive;
        SendReply(fd, request, std::move(reply), fault, &closeAfter);
        if (closeAfter) return false;
    }
    return false;
}

SimRequest CBrokerSimulator::Impl::OpenRequest(const SimHttp::Request& http, std::string& connectionKey,
                                               bool* sealBroken) {
    SimRequest r;
    r.target = http.target;
    r.headers = http.headers;
    r.rawBody = http.body;
    *sealBroken = false;
    auto outer = SimHttp::SplitParams(http.body);
    std::string reqData, reqLength;
    size_t sealAt = std::string::npos;
    for (const auto& [k, v] : outer) {
        if (EqualsNoCase(k, "TC_REQDATA")) {
            reqData = v;
            sealAt = r.params.size();
        } else if (EqualsNoCase(k, "TC_REQLENGTH")) {
            reqLength = v;
        } else if (EqualsNoCase(k, "TC_ENCRYPT")) {
            // The only cipher is 36; its number says nothing more.
        } else {
            r.params.emplace_back(k, v);
        }
    }
    if (sealAt != std::string::npos) {
        r.sealed = true;
        std::vector<std::string> named;
        for (const auto& [k, v] : r.params)
            if (EqualsNoCase(k, "session")) named.push_back(v);
        std::vector<std::string> candidates = sessions.SealCandidates(named, connectionKey);
        std::vector<uint8_t> envelope;
        bool opened = false;
        if (SimHttp::HexDecode(reqData, envelope) && envelope.size() >= 16 && envelope.size() < kMaxBodyBytes) {
            std::vector<uint8_t> plain(envelope.size() - 8);
            for (const auto& key : candidates) {
                int n = OpenSealedData(key.c_str(), envelope.data(), static_cast<int>(envelope.size()), plain.data());
                if (n < 0) continue;
                if (!reqLength.empty() && ParseInt(reqLength, -1) != n) break;
                auto inner = SimHttp::SplitParams(std::string_view(reinterpret_cast<const char*>(plain.data()), n));
                r.params.insert(r.params.begin() + static_cast<std::ptrdiff_t>(sealAt), inner.begin(), inner.end());
                r.sessionKey = key;
                opened = true;
                break;
            }
        }
        *sealBroken = !opened;
        if (opened) {
            connectionKey = r.sessionKey;
            sessions.Touch(r.sessionKey);
        }
    }
    if (r.sessionKey.empty()) r.sessionKey = sessions.KeyOfSessionOrLatest(r.Get("session"));
    // Read from the opened parameters with the client's own reading, so a
    // text the client takes for one function is never served as another.
    std::string text;
    for (const auto& [k, v] : r.params) {
        if (!text.empty()) text += '&';
        text += k + '=' + v;
    }
    CFunctionNumbers numbers = ReadFunctionNumbers(text);
    if (!numbers.malformed && !numbers.repeated) {
        r.main = numbers.main;
        r.sub = numbers.sub;
    }
    return r;
}

SimReply CBrokerSimulator::Impl::Route(const SimRequest& request) {
    SimSession session = sessions.SessionOfKey(request.sessionKey);
    std::lock_guard<std::mutex> lock(routeMu);
    const CSimRouteTable::Entry* route = routes.Find(request.main, request.sub);
    if (!route) {
        std::string numbers = std::to_string(request.main) + "/" + std::to_string(request.sub);
        std::u16string wide = u"不支持的功能(" + std::u16string(numbers.begin(), numbers.end()) + u")";
        return SimReply::Error(wide, 1);
    }
    if (route->needs == SimNeeds::Session && !session.Known()) return SimReply::Error(u"会话已失效，请重新登录", 100);
    market.SetNow(clock.NowMs());
    SimContext context{market, clock, session};
    return route->handler(request, context);
}

void CBrokerSimulator::Impl::SendReply(int fd, const SimRequest& request, SimReply reply, const SimFault& fault,
                                       bool* closeAfter) {
    if (fault.kind == SimFaultKind::SlowReply && !server.SleepInterruptible(fault.delayMs)) {
        *closeAfter = true;
        return;
    }

    // Error replies go out plain so that their error set is always readable.
    std::vector<uint8_t> payload = std::move(reply.body);
    int compression = 0, cipher = 0;
    if (reply.error == 0 && request.Get("supportCompress") == "18" && !payload.empty()) {
        std::vector<uint8_t> packed = ZlibCompress(payload.data(), payload.size());
        // The seal envelope takes at least 16 bytes; a tiny stream stays unpacked.
        if (packed.size() >= 16) {
            payload.swap(packed);
            compression = 18;
        }
    }
    bool isLogon = FunctionNumber{request.main, request.sub} == kFuncLogon;
    if (reply.error == 0 && !isLogon && !request.sessionKey.empty() && payload.size() >= 16) {
        std::vector<uint8_t> sealed(SealedSize(static_cast<int>(payload.size())));
        if (SealData(request.sessionKey.c_str(), payload.data(), static_cast<int>(payload.size()), sealed.data()) > 0) {
            payload.swap(sealed);
            cipher = 36;
        }
    }
    if (fault.kind == SimFaultKind::TruncatedBody) payload.resize(payload.size() / 2);
    if (fault.kind == SimFaultKind::CorruptBody) std::fill(payload.begin(), payload.end(), uint8_t{0xA5});

    SimHttp::ReplyShape shape;
    {
        std::lock_guard<std::mutex> lock(mu);
        shape.chunked = framing == SimFraming::Chunked || (framing == SimFraming::Alternate && replyCounter % 2 == 1);
        ++replyCounter;
    }
    char etag[64];
    if (fault.kind == SimFaultKind::BadETag)
        std::snprintf(etag, sizeof etag, "\"broken\"");
    else
        std::snprintf(etag, sizeof etag, "\"%d,0,%d,%d\"", reply.error, compression, cipher);
    shape.etag = etag;
    // CloseKeptAlive lets the client believe the connection stays usable.
    shape.connectionClose = *closeAfter && fault.kind != SimFaultKind::CloseKeptAlive;
    shape.cutInsideBody = fault.kind == SimFaultKind::CloseInsideBody;
    std::string wire = SimHttp::FrameReply(payload, shape);
    bool sent = fault.kind == SimFaultKind::Drip ? SimHttp::Drip(fd, wire, fault.delayMs, server.Running())
                                                 : SimHttp::SendAll(fd, wire.data(), wire.size());
    if (!sent || shape.cutInsideBody || fault.kind == SimFaultKind::CloseKeptAlive) *closeAfter = true;
}

void CBrokerSimulator::SetFraming(SimFraming framing) {
    std::lock_guard<std::mutex> lock(m_impl->mu);
    m_impl->framing = framing;
    m_impl->replyCounter = 0;
}

SimLimits EmbeddedDesktopLimits() {
    SimLimits limits;
    limits.logRequests = 32;
    limits.logBytes = 128 * 1024;
    return limits;
}

void CBrokerSimulator::SetLimits(const SimLimits& limits) {
    {
        std::lock_guard<std::mutex> lock(m_impl->mu);
        m_impl->limits = limits;
    }
    m_impl->server.SetBounds(limits.maxConnections, limits.sendStallMs);
    m_impl->log.SetBounds(limits.logRequests, limits.logBytes);
    m_impl->sessions.SetBounds(limits.logonKeys, limits.sealTries);
}

SimLimits CBrokerSimulator::GetLimits() const {
    std::lock_guard<std::mutex> lock(m_impl->mu);
    return m_impl->limits;
}

void CBrokerSimulator::InjectFault(const SimFault& fault, int count) { m_impl->faults.Inject(fault, count); }

void CBrokerSimulator::InjectFaultFor(int main, int sub, const SimFault& fault, int count) {
    m_impl->faults.InjectFor(main, sub, fault, count);
}

void CBrokerSimulator::ClearFaults() { m_impl->faults.Clear(); }

std::vector<SimRequest> CBrokerSimulator::GetRequestLog() const { return m_impl->log.GetAll(); }

std::vector<SimRequest> CBrokerSimulator::GetRequestLogSince(uint64_t after) const {
    return m_impl->log.GetSince(after);
}

void CBrokerSimulator::ClearRequestLog() { m_impl->log.Clear(); }

bool CBrokerSimulator::WaitForRequests(size_t count, int ms) const { return m_impl->log.WaitFor(count, ms); }

int CBrokerSimulator::CountRequests(int main, int sub) const { return m_impl->log.Count(main, sub); }

void CBrokerSimulator::SetRoute(int main, int sub, SimRoute route) {
    std::lock_guard<std::mutex> lock(m_impl->routeMu);
    m_impl->routes.Add(main, sub, [route = std::move(route)](const SimRequest& r, SimContext& context) {
        return route(r, context.market);
    });
}

void CBrokerSimulator::AddRoutes(std::unique_ptr<ISimRouteGroup> group) {
    std::lock_guard<std::mutex> lock(m_impl->routeMu);
    group->AddRoutes(m_impl->routes);
    m_impl->groups.push_back(std::move(group));
}

void CBrokerSimulator::SetClock(int64_t ms) {
    std::lock_guard<std::mutex> lock(m_impl->routeMu);
    m_impl->clock.fixedMs = ms < 0 ? -1 : ms;
}

std::string CBrokerSimulator::GetSessionKey() const { return m_impl->sessions.LatestKey(); }

std::string CBrokerSimulator::GetSessionString() const { return m_impl->sessions.LatestSession(); }

void CBrokerSimulator::WithMarket(const std::function<void(CSimMarket&)>& fn) {
    std::lock_guard<std::mutex> lock(m_impl->routeMu);
    m_impl->market.SetNow(m_impl->clock.NowMs());
    fn(m_impl->market);
}
