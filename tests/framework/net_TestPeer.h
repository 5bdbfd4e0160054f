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
#include <cstring>
#include <functional>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
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
        int one = 1;
        setsockopt(m_listen, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_listen, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        listen(m_listen, 8);
        socklen_t length = sizeof addr;
        getsockname(m_listen, reinterpret_cast<sockaddr*>(&addr), &length);
        m_port = ntohs(addr.sin_port);
        if (pipe(m_stopPipe) != 0)
            m_stopPipe[0] = m_stopPipe[1] = -1;
        m_thread = std::thread([this] { Serve(); });
    }
    ~CTestPeer() {
        m_stop = true;
        m_stopCv.notify_all();
        if (m_stopPipe[1] >= 0 && write(m_stopPipe[1], "x", 1) < 0) {
        }
        m_thread.join();
        close(m_listen);
        close(m_stopPipe[0]);
        close(m_stopPipe[1]);
    }

    int Port() const { return m_port; }
    int RequestCount() const {
        std::lock_guard<std::mutex> guard(m_lock);
        return static_cast<int>(m_requests.size());
    }
    std::vector<CPeerRequest> Requests() const {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_requests;
    }
    int ConnectionCount() const { return m_connections.load(); }
    // Sleeps up to ms, less when the peer stops.
    void Pause(int ms) {
        std::unique_lock<std::mutex> guard(m_lock);
        m_stopCv.wait_for(guard, std::chrono::milliseconds(ms), [this] { return m_stop.load(); });
    }

    static void SendAll(int fd, std::string_view bytes) {
        while (!bytes.empty()) {
            ssize_t n = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (n <= 0)
                return;
            bytes.remove_prefix(static_cast<size_t>(n));
        }
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
            r += size;
            r.append(piece);
            r += "\r\n";
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
    // The value of a parameter of a form body ("" when absent).
    static std::string Param(std::string_view body, std::string_view name) {
        std::string key = "&" + std::string(name) + "=";
        std::string text = "&" + std::string(body);
        size_t at = text.find(key);
        if (at == std::string::npos)
            return {};
        at += key.size();
        return text.substr(at, text.find('&', at) - at);
    }

private:
    void Serve() {
        while (!m_stop) {
            pollfd fds[2] = {{m_listen, POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
            if (poll(fds, 2, -1) <= 0 || (fds[1].revents & POLLIN))
                return;
            int fd = accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                continue;
            ++m_connections;
            std::string in;
            for (;;) {
                CPeerRequest request;
                if (!ReadRequest(fd, in, request))
                    break;
                {
                    std::lock_guard<std::mutex> guard(m_lock);
                    m_requests.push_back(request);
                }
                if (!m_handler(fd, request))
                    break;
            }
            close(fd);
        }
    }
    bool ReadMore(int fd, std::string& in) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
        if (poll(fds, 2, -1) <= 0 || (fds[1].revents & POLLIN))
            return false;
        char buffer[4096];
        ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            return false;
        in.append(buffer, static_cast<size_t>(n));
        return true;
    }
    bool ReadRequest(int fd, std::string& in, CPeerRequest& request) {
        size_t end;
        while ((end = in.find("\r\n\r\n")) == std::string::npos)
            if (!ReadMore(fd, in))
                return false;
        request.head = in.substr(0, end);
        in.erase(0, end + 4);
        size_t length = 0;
        size_t at = request.head.find("Content-Length: ");
        if (at != std::string::npos)
            length = std::stoul(request.head.substr(at + 16));
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
    int m_stopPipe[2] = {-1, -1};
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_connections{0};
    mutable std::mutex m_lock;
    std::condition_variable m_stopCv;
    std::vector<CPeerRequest> m_requests;
    std::thread m_thread;
};
