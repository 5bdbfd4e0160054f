// A loopback HTTP peer for the request road's tests, on raw POSIX sockets so
// a test can answer byte by byte: chunked bodies, cut bodies, closes at an
// exact point, silence. One connection is served at a time, request after
// request, until the handler closes it or the client does.
#pragma once

#include "core/CDataSetWriter.h"
#include "core/SealEnvelope.h"
#include "core/ZlibCodec.h"

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <netinet/in.h>
#include <string>
#include <string_view>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

struct CPeerRequest {
    std::string head; // request line and headers
    std::string body; // the POST body
};

class CTestPeer {
public:
    // Answers one request on fd; returns false to close the connection.
    using Handler = std::function<bool(int fd, const CPeerRequest& request)>;

    explicit CTestPeer(Handler handler) : m_handler(std::move(handler)) {
        m_listen = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_listen, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        listen(m_listen, 8);
        socklen_t length = sizeof addr;
        getsockname(m_listen, reinterpret_cast<sockaddr*>(&addr), &length);
        m_port = ntohs(addr.sin_port);
        m_thread = std::thread([this] { Serve(); });
    }
    // Shutting the sockets down wakes the accept and any read.
    ~CTestPeer() {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_stop = true;
            if (m_client >= 0)
                shutdown(m_client, SHUT_RDWR);
        }
        m_changed.notify_all();
        shutdown(m_listen, SHUT_RDWR);
        m_thread.join();
        close(m_listen);
    }

    int Port() const { return m_port; }
    int RequestCount() const { return static_cast<int>(Requests().size()); }
    std::vector<CPeerRequest> Requests() const {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_requests;
    }
    int ConnectionCount() const { return m_connections; }
    // Sleeps up to ms, less when the peer stops.
    void Pause(int ms) {
        std::unique_lock<std::mutex> guard(m_lock);
        m_changed.wait_for(guard, std::chrono::milliseconds(ms), [this] { return m_stop; });
    }
    // Wait up to ms until count requests have come in, or count
    // connections were closed; true when they have.
    bool WaitForRequests(int count, int ms) {
        std::unique_lock<std::mutex> guard(m_lock);
        return m_changed.wait_for(guard, std::chrono::milliseconds(ms),
                                  [&] { return static_cast<int>(m_requests.size()) >= count; });
    }
    bool WaitForClosed(int count, int ms) {
        std::unique_lock<std::mutex> guard(m_lock);
        return m_changed.wait_for(guard, std::chrono::milliseconds(ms), [&] { return m_closed >= count; });
    }

    static void SendAll(int fd, std::string_view bytes) {
        for (ssize_t n; !bytes.empty() && (n = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL)) > 0;)
            bytes.remove_prefix(static_cast<size_t>(n));
    }
    static std::string Bytes(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }
    // A complete 200 reply with the ETag and the body by Content-Length.
    static std::string Reply(std::string_view body, std::string_view etag = "\"0,0,0,0\"") {
        std::string r = "HTTP/1.1 200 OK\r\nETag: " + std::string(etag) +
                        "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n";
        return r.append(body);
    }
    // The same, chunked in pieces of chunk bytes.
    static std::string ChunkedReply(std::string_view body, size_t chunk, std::string_view etag = "\"0,0,0,0\"") {
        std::string r = "HTTP/1.1 200 OK\r\nETag: " + std::string(etag) + "\r\nTransfer-Encoding: chunked\r\n\r\n";
        for (size_t at = 0; at < body.size(); at += chunk) {
            std::string_view piece = body.substr(at, chunk);
            char size[32];
            std::snprintf(size, sizeof size, "%zx\r\n", piece.size());
            r.append(size).append(piece).append("\r\n");
        }
        return r + "0\r\n\r\n";
    }
    // A reply body with one set "ok" holding the text in column "text".
    static std::vector<uint8_t> OkBody(std::u16string_view text) {
        CDataSetWriter writer;
        writer.AddSet("ok");
        int column = writer.AddColumn(DataSetType::WideText, "text");
        writer.AddRow();
        writer.SetText(column, text);
        return writer.Serialize();
    }

private:
    void Serve() {
        for (int fd; (fd = accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
            {
                std::lock_guard<std::mutex> guard(m_lock);
                if (m_stop) {
                    close(fd);
                    return;
                }
                m_client = fd;
            }
            ++m_connections;
            std::string in;
            for (CPeerRequest request; ReadRequest(fd, in, request);) {
                {
                    std::lock_guard<std::mutex> guard(m_lock);
                    m_requests.push_back(request);
                }
                m_changed.notify_all();
                if (!m_handler(fd, request))
                    break;
            }
            {
                std::lock_guard<std::mutex> guard(m_lock);
                m_client = -1;
                close(fd);
                ++m_closed;
            }
            m_changed.notify_all();
        }
    }
    static bool ReadMore(int fd, std::string& in) {
        char buffer[4096];
        const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n > 0)
            in.append(buffer, static_cast<size_t>(n));
        return n > 0;
    }
    static bool ReadRequest(int fd, std::string& in, CPeerRequest& request) {
        size_t end;
        while ((end = in.find("\r\n\r\n")) == std::string::npos)
            if (!ReadMore(fd, in))
                return false;
        request.head = in.substr(0, end);
        in.erase(0, end + 4);
        const size_t at = request.head.find("Content-Length: ");
        const size_t length = at == std::string::npos ? 0 : std::stoul(request.head.substr(at + 16));
        while (in.size() < length)
            if (!ReadMore(fd, in))
                return false;
        request.body = in.substr(0, length);
        in.erase(0, length);
        return true;
    }

    Handler m_handler;
    int m_listen = -1;
    int m_port = 0;
    int m_client = -1;                // the connection being served (under m_lock)
    bool m_stop = false;              // under m_lock
    int m_closed = 0;                 // connections closed (under m_lock)
    std::atomic<int> m_connections{0};
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<CPeerRequest> m_requests;
    std::thread m_thread;
};
