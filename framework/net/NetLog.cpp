// The road's log hook; see the header.
#include "framework/net/NetLog.h"

#include "framework/net/RequestText.h"

#include <mutex>

namespace {
std::mutex g_lock;
std::function<void(const std::string&)> g_hook;
} // namespace

void SetNetLogHook(std::function<void(const std::string&)> hook) {
    std::lock_guard<std::mutex> guard(g_lock);
    g_hook = std::move(hook);
}

void NetLogLine(const std::string& line) {
    std::lock_guard<std::mutex> guard(g_lock);
    if (g_hook)
        g_hook(line);
}

void NetLogRequest(std::string_view what, std::string_view requestText) {
    {
        std::lock_guard<std::mutex> guard(g_lock);
        if (!g_hook)
            return;
    }
    std::string line(what);
    line += RedactPasswords(requestText);
    NetLogLine(line);
}
