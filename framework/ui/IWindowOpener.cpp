// The installed window opener; see the header.
#include "framework/ui/IWindowOpener.h"

#include "framework/ui/CBaseWnd.h"
#include "platform/win/UiMessageLoop.h"

namespace {
// Until the window manager is made: nothing opens, the work area is the
// loop's.
class CNoOpener : public IWindowOpener {
public:
    std::unique_ptr<CBaseWnd> MakeWindow(std::string_view, const CWndCreateInfo&) override { return nullptr; }
    bool IsRegistered(std::string_view) const override { return false; }
    COpenResult CreateWnd(const char*, int, const char16_t*, const char*, const char*, int, UiWin*) override {
        return {};
    }
    COpenResult RunWindow(std::unique_ptr<CBaseWnd>, int, const char16_t*, const char*, const char*, UiWin*, int,
                          int) override {
        return {};
    }
    CRect GetWorkRect() const override {
        UiMessageLoop* loop = UiMessageLoop::Current();
        return loop ? loop->GetWorkRect() : CRect{0, UiMessageLoop::kTaskBarHeight, 480, 720};
    }
    int ShowDigitInput(UiEdit*, const char16_t*, UiWin*) override { return -1; }
    void SetChartMode(unsigned char mode) override { m_mode = mode; }
    unsigned char GetChartMode() const override { return m_mode; }

private:
    unsigned char m_mode = 0;
};

CNoOpener g_none;
IWindowOpener* g_opener = nullptr;
} // namespace

IWindowOpener& GetWindowOpener() { return g_opener ? *g_opener : g_none; }

void SetWindowOpener(IWindowOpener* opener) { g_opener = opener; }
