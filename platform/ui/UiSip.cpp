// The recorded state of the soft input panel. GUI thread only.
#include "platform/ui/UiSip.h"

namespace {
struct SipState {
    bool shown = false;
    int type = -1;
    int option = 0;
    int requests = 0;
};
SipState g_sip;
} // namespace

void UiSip::Request(int type, int option) {
    g_sip.type = type;
    g_sip.option = option;
    ++g_sip.requests;
    g_sip.shown = true;
}

void UiSip::Show(bool show) { g_sip.shown = show; }
bool UiSip::IsShown() { return g_sip.shown; }
int UiSip::LastType() { return g_sip.type; }
int UiSip::LastOption() { return g_sip.option; }
int UiSip::RequestCount() { return g_sip.requests; }
void UiSip::Reset() { g_sip = SipState(); }
