// A window for the window-system tests: it records what it receives and
// lets a test script its reaction to a message.
#pragma once

#include "platform/win/UiWin.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

struct CReceived {
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class CRecordingWin : public UiWin {
public:
    explicit CRecordingWin(std::string name = "win", std::vector<std::string>* log = nullptr)
        : m_name(std::move(name)), m_log(log) {}
    ~CRecordingWin() override { Destroy(); }

    // Called before the default handling; a returned value ends the handling.
    std::function<std::optional<LRESULT>(UINT, WPARAM, LPARAM)> onMessage;
    std::vector<CReceived> received;

    const char* GetClassName() const override { return "CRecordingWin"; }
    const std::string& Name() const { return m_name; }

    int Count(UINT msg) const {
        int n = 0;
        for (const CReceived& r : received)
            n += r.msg == msg;
        return n;
    }
    const CReceived* Last(UINT msg) const {
        for (auto it = received.rbegin(); it != received.rend(); ++it)
            if (it->msg == msg)
                return &*it;
        return nullptr;
    }
    void Log(const std::string& what) {
        if (m_log)
            m_log->push_back(m_name + ":" + what);
    }

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        received.push_back({msg, wParam, lParam});
        if (onMessage)
            if (std::optional<LRESULT> result = onMessage(msg, wParam, lParam))
                return *result;
        return UiWin::WndProc(msg, wParam, lParam);
    }

private:
    std::string m_name;
    std::vector<std::string>* m_log;
};
