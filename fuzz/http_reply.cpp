// Fuzz target: the HTTP client reads the input as the server's reply. The
// first byte picks how many bytes each receive hands over, so the head,
// chunk lines and body are cut at every place; whatever is sent is taken.
#include "framework/net/CHttpPostClient.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {
const char kKey[] = "Ab3dE6gH9jK2mN5p";  // the seed maker's session key

class CReplaySocket : public INetSocket {
public:
    CReplaySocket(const uint8_t* data, size_t size, size_t piece) : m_data(data), m_left(size), m_piece(piece) {}
    NetConnect Connect(const std::string&, int, int) override { return NetConnect::Ok; }
    NetIo Send(const void*, size_t size, int, size_t* sent) override {
        *sent = size;
        return NetIo::Ok;
    }
    NetIo Receive(void* buffer, size_t capacity, int, size_t* received) override {
        *received = std::min({capacity, m_piece, m_left});
        if (*received == 0)
            return NetIo::Closed;
        std::memcpy(buffer, m_data, *received);
        m_data += *received;
        m_left -= *received;
        return NetIo::Ok;
    }
    bool IsReusable() override { return true; }
    void Close() override {}

private:
    const uint8_t* m_data;
    size_t m_left;
    size_t m_piece;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const size_t piece = 1 + data[0];
    CHttpPostClient client;
    client.SetServer("127.0.0.1", 8002);
    client.SetSocketFactory([&](CAbortSignal*) { return std::make_unique<CReplaySocket>(data + 1, size - 1, piece); });
    CHttpOutcome out = client.Post("TC_MFUNCNO=1&TC_SFUNCNO=2", kKey);
    if ((out.transportCode != 0 && !out.body.empty()) || out.bytesReceived > size - 1)
        std::abort();
    // A second request reads what the kept connection still holds, or the
    // whole input again over a new one.
    out = client.Post("TC_MFUNCNO=1&TC_SFUNCNO=2", kKey);
    if (out.transportCode != 0 && !out.body.empty())
        std::abort();
    return 0;
}
