// orbsim_stress: the load side of tools/sim_stress.sh. Each mode puts one
// kind of pressure on an orbsim at 127.0.0.1:PORT (loopback only), checks
// what came back, prints one "result:" line of figures and exits 0 when
// the server behaved, 1 when it did not. Every loop is bounded in count and
// time, so a run ends by itself.
//
//   orbsim_stress PORT check          one logout answered with ETag error 0
//   orbsim_stress PORT logons N       N service logons at once, each followed
//                                     by a sealed configuration fetch on its
//                                     connection
//   orbsim_stress PORT hold N SECONDS N connections that send nothing, held
//   orbsim_stress PORT drip N         N clients sending a head a byte every
//                                     100 ms; each must be cut off (408)
//   orbsim_stress PORT large N        N bodies of the largest size at once
//                                     (answered), N claiming 1 GiB (413 unread),
//                                     then N more of the largest size one after
//                                     another over kept connections
#include "core/CDataSetList.h"
#include "core/SealEnvelope.h"
#include "core/StrUtil.h"

#include <arpa/inet.h>
#include <atomic>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <latch>
#include <mutex>
#include <netinet/in.h>
#include <openssl/evp.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/time.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

constexpr size_t kMaxBody = 64 * 1024;   // the server's body cap
constexpr int kReplyWaitMs = 30000;      // no single reply may take longer
int g_port = 0;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

int Connect() {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(g_port));
    timeval wait{kReplyWaitMs / 1000, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) < 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool SendAll(int fd, const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

std::string Post(const std::string& body) {
    return "POST / HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(g_port) +
           "\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\n\r\n" + body;
}

struct Reply {
    int status = 0;
    int etagError = -1;
    int cipher = 0;
    std::vector<uint8_t> body;
};

// Reads one Content-Length reply (the server's default framing); false
// when the connection ends or stalls first.
bool ReadReply(int fd, std::string& pending, Reply& reply) {
    while (true) {
        size_t end = pending.find("\r\n\r\n");
        if (end != std::string::npos) {
            std::string head = pending.substr(0, end);
            reply.status = std::atoi(head.c_str() + std::min(head.size(), head.find(' ') + 1));
            long length = 0;
            size_t at = head.find("Content-Length: ");
            if (at != std::string::npos) length = std::atol(head.c_str() + at + 16);
            at = head.find("ETag: \"");
            int compression = 0;
            if (at != std::string::npos)
                std::sscanf(head.c_str() + at + 7, "%d,%*d,%d,%d", &reply.etagError, &compression, &reply.cipher);
            if (pending.size() >= end + 4 + static_cast<size_t>(length)) {
                reply.body.assign(pending.begin() + static_cast<long>(end + 4),
                                  pending.begin() + static_cast<long>(end + 4 + length));
                pending.erase(0, end + 4 + length);
                return true;
            }
        }
        char buf[16384];
        ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0) return false;
        pending.append(buf, static_cast<size_t>(n));
    }
}

Reply Exchange(const std::string& body) {
    Reply reply;
    int fd = Connect();
    if (fd < 0) return reply;
    std::string pending;
    if (SendAll(fd, Post(body))) ReadReply(fd, pending, reply);
    ::close(fd);
    return reply;
}

const std::string kLogout = "tc_service=300&tc_isunicode=1&TC_MFUNCNO=100&TC_SFUNCNO=22";

int Check() {
    Reply r = Exchange(kLogout);
    bool ok = r.status == 200 && r.etagError == 0;
    std::printf("result: check %s (status %d, error %d)\n", ok ? "ok" : "FAILED", r.status, r.etagError);
    return ok ? 0 : 1;
}

std::string Hex(const uint8_t* data, size_t size) {
    std::string out(size * 2 + 1, '\0');
    HexEncode(data, static_cast<int>(size), out.data(), 1);
    out.resize(size * 2);
    return out;
}

// The session key enciphered with the public key of resources/pubkey.bin
// (RSA-OAEP), as the client sends it in 100/1.
std::string Encipher(EVP_PKEY* pub, const std::string& key) {
    EVP_PKEY_CTX* ctx = EVP_PKEY_CTX_new(pub, nullptr);
    std::string hex;
    size_t size = 0;
    const auto* in = reinterpret_cast<const unsigned char*>(key.data());
    if (ctx && EVP_PKEY_encrypt_init(ctx) > 0 && EVP_PKEY_CTX_set_rsa_padding(ctx, RSA_PKCS1_OAEP_PADDING) > 0 &&
        EVP_PKEY_encrypt(ctx, nullptr, &size, in, key.size()) > 0) {
        std::vector<uint8_t> out(size);
        if (EVP_PKEY_encrypt(ctx, out.data(), &size, in, key.size()) > 0) hex = Hex(out.data(), size);
    }
    EVP_PKEY_CTX_free(ctx);
    return hex;
}

std::string SessionOf(const Reply& r) {
    CDataSetList list(r.body.data(), static_cast<int>(r.body.size()));
    if (list.IsError() || list.GetCount() < 1) return {};
    CDataSet* set = *list.GetAt(0);
    if (!set->MoveFirst()) return {};
    auto text = set->GetFieldTextByName("session");
    if (!text) return {};
    std::string out;
    for (char16_t c : std::u16string_view(text->c_str())) out += static_cast<char>(c);
    return out;
}

std::string Sealed(const std::string& inner, const std::string& key) {
    std::vector<uint8_t> sealed(SealedSize(static_cast<int>(inner.size())));
    int n = SealData(key.c_str(), reinterpret_cast<const uint8_t*>(inner.data()), static_cast<int>(inner.size()),
                     sealed.data());
    return "tc_service=300&tc_isunicode=1&TC_MFUNCNO=100&TC_SFUNCNO=2&TC_REQDATA=" + Hex(sealed.data(), n) +
           "&TC_REQLENGTH=" + std::to_string(inner.size()) + "&TC_ENCRYPT=36";
}

int Logons(int n) {
    std::ifstream in(std::string(ORB_SOURCE_DIR) + "/resources/pubkey.bin", std::ios::binary);
    std::vector<unsigned char> der((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const unsigned char* p = der.data();
    EVP_PKEY* pub = d2i_PUBKEY(nullptr, &p, static_cast<long>(der.size()));
    if (!pub) {
        std::printf("result: logons FAILED: no public key\n");
        return 1;
    }
    // The client's work is done before the clock starts: only the server's counts.
    std::vector<std::string> keys(n), bodies(n);
    for (int i = 0; i < n; ++i) {
        char key[17];
        std::snprintf(key, sizeof key, "Stress%010d", i);
        keys[i] = key;
        bodies[i] = "tc_service=300&tc_isunicode=1&TC_MFUNCNO=100&TC_SFUNCNO=1&key=" + Encipher(pub, key) + "&session=";
    }
    EVP_PKEY_free(pub);
    std::atomic<int> loggedOn{0}, fetched{0};
    std::vector<double> latency(n, -1);
    std::latch start(n + 1);
    std::vector<std::thread> threads;
    threads.reserve(n);
    for (int i = 0; i < n; ++i) {
        threads.emplace_back([&, i] {
            start.arrive_and_wait();
            auto t0 = Clock::now();
            int fd = Connect();
            if (fd < 0) return;
            std::string pending;
            Reply r;
            if (SendAll(fd, Post(bodies[i])) && ReadReply(fd, pending, r) && r.etagError == 0) {
                std::string session = SessionOf(r);
                if (!session.empty()) {
                    ++loggedOn;
                    latency[i] = Seconds(Clock::now() - t0);
                    std::string inner = "imei=860000000000001&reqNo=1&supportCompress=18&session=" + session;
                    Reply config;
                    if (SendAll(fd, Post(Sealed(inner, keys[i]))) && ReadReply(fd, pending, config) &&
                        config.etagError == 0 && config.cipher == 36)
                        ++fetched;
                }
            }
            ::close(fd);
        });
    }
    auto t0 = Clock::now();
    start.arrive_and_wait();
    for (auto& t : threads) t.join();
    double total = Seconds(Clock::now() - t0);
    std::vector<double> done;
    for (double l : latency)
        if (l >= 0) done.push_back(l);
    std::sort(done.begin(), done.end());
    auto pct = [&](double q) { return done.empty() ? 0.0 : done[static_cast<size_t>(q * (done.size() - 1))]; };
    bool ok = loggedOn == n && fetched == n;
    std::printf("result: logons %d of %d in %.2f s (per logon p50 %.3f s, p99 %.3f s, max %.3f s); "
                "sealed fetches on the same connection %d of %d %s\n",
                loggedOn.load(), n, total, pct(0.5), pct(0.99), pct(1.0), fetched.load(), n, ok ? "ok" : "FAILED");
    return ok ? 0 : 1;
}

int Hold(int n, int seconds) {
    std::vector<int> fds;
    for (int i = 0; i < n; ++i) {
        int fd = Connect();
        if (fd >= 0) fds.push_back(fd);
    }
    std::printf("held: %zu of %d connections\n", fds.size(), n);
    std::fflush(stdout);
    // The pause is the load itself: the server must sit through it quietly.
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    for (int fd : fds) ::close(fd);
    std::printf("result: hold %zu connections for %d s, released\n", fds.size(), seconds);
    return 0;
}

int Drip(int n) {
    std::atomic<int> cut{0};
    std::mutex mu;
    double longest = 0;
    std::vector<std::thread> threads;
    for (int i = 0; i < n; ++i) {
        threads.emplace_back([&] {
            int fd = Connect();
            if (fd < 0) return;
            std::string head = "POST / HTTP/1.1\r\nX-Filler: " + std::string(4096, 'a');
            auto t0 = Clock::now();
            std::string answer;
            // One byte every 100 ms until the server answers or closes, at most 60 s.
            for (size_t b = 0; b < 600; ++b) {
                if (::send(fd, head.data() + b % head.size(), 1, MSG_NOSIGNAL) != 1) break;
                pollfd p{fd, POLLIN, 0};
                if (::poll(&p, 1, 100) > 0) {
                    char buf[256];
                    ssize_t got = ::recv(fd, buf, sizeof buf, 0);
                    if (got > 0) answer.assign(buf, static_cast<size_t>(got));
                    break;
                }
            }
            double took = Seconds(Clock::now() - t0);
            ::close(fd);
            if (answer.rfind("HTTP/1.1 408", 0) == 0) ++cut;
            std::lock_guard<std::mutex> lock(mu);
            longest = std::max(longest, took);
        });
    }
    for (auto& t : threads) t.join();
    bool ok = cut == n;
    std::printf("result: drip %d of %d cut off with 408, the last after %.1f s %s\n", cut.load(), n, longest,
                ok ? "ok" : "FAILED");
    return ok ? 0 : 1;
}

int Large(int n) {
    std::string prefix = kLogout + "&filler=";
    std::string largest = prefix + std::string(kMaxBody - prefix.size(), 'x');
    std::atomic<int> answered{0}, refused{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < n; ++i) {
        threads.emplace_back([&] {
            Reply r = Exchange(largest);
            if (r.status == 200 && r.etagError == 0) ++answered;
        });
        threads.emplace_back([&] {
            int fd = Connect();
            if (fd < 0) return;
            std::string head = "POST / HTTP/1.1\r\nHost: x\r\nContent-Length: 1073741824\r\n\r\n";
            std::string pending;
            Reply r;
            // A piece of the body goes with the head, in one segment: the
            // server answers after the head and reads none of the rest.
            if (SendAll(fd, head + std::string(1000, 'y')) && ReadReply(fd, pending, r) && r.status == 413) ++refused;
            ::close(fd);
        });
    }
    for (auto& t : threads) t.join();
    int kept = 0;
    std::vector<int> fds;
    for (int c = 0; c < 8; ++c) fds.push_back(Connect());
    std::vector<std::string> pendings(fds.size());
    for (int i = 0; i < n; ++i) {
        size_t c = static_cast<size_t>(i) % fds.size();
        Reply r;
        if (fds[c] >= 0 && SendAll(fds[c], Post(largest)) && ReadReply(fds[c], pendings[c], r) && r.status == 200)
            ++kept;
    }
    for (int fd : fds)
        if (fd >= 0) ::close(fd);
    Reply onePast = Exchange(largest + "x");
    bool ok = answered == n && refused == n && kept == n && onePast.status == 413;
    std::printf("result: large %d of %d bodies of %zu bytes answered at once, %d of %d more over kept connections; "
                "%d of %d claimed 1 GiB refused 413; one byte past the cap %d %s\n",
                answered.load(), n, kMaxBody, kept, n, refused.load(), n, onePast.status, ok ? "ok" : "FAILED");
    return ok ? 0 : 1;
}

int Usage() {
    std::fprintf(stderr, "usage: orbsim_stress PORT check | logons N | hold N SECONDS | drip N | large N\n");
    return 64;
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    g_port = std::atoi(argv[1]);
    std::string mode = argv[2];
    auto arg = [&](int i, int max) {
        int v = i < argc ? std::atoi(argv[i]) : 0;
        return std::clamp(v, 0, max);
    };
    if (g_port <= 0 || g_port > 65535) return Usage();
    if (mode == "check") return Check();
    if (mode == "logons" && argc == 4) return Logons(arg(3, 5000));
    if (mode == "hold" && argc == 5) return Hold(arg(3, 5000), arg(4, 120));
    if (mode == "drip" && argc == 4) return Drip(arg(3, 500));
    if (mode == "large" && argc == 4) return Large(arg(3, 2000));
    return Usage();
}
