// System clock by default; a replaceable function pointer otherwise.
#include "core/UnixTime.h"

#include <chrono>

namespace {
UnixTimeSource g_source = nullptr;
}

int64_t GetUnixTime() {
    if (g_source) return g_source();
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

UnixTimeSource SetUnixTimeSource(UnixTimeSource source) {
    UnixTimeSource previous = g_source;
    g_source = source;
    return previous;
}
