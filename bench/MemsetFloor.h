// The floor a painting benchmark is read against: a memset of a surface of
// the screen's size, timed beside each sample in the same run, so that the
// ratio of their medians ("x_memset") holds while other work loads the
// machine.
#pragma once

#include "bench/BenchClock.h"
#include "platform/gdi/CSurface.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

namespace benchfloor {

using benchclock::Median;
using benchclock::NowUs;

class CMemsetFloor {
public:
    // Fills floor, a surface the samples do not read: a painting that
    // keeps what it drew (a cursor move over the shown screen) must not
    // find it wiped. Give the painted surface itself when the next sample
    // paints all of it again.
    explicit CMemsetFloor(CSurface& floor) : m_floor(floor) {}

    // One sample of paint, then one memset; the sample's time is the
    // iteration's (the benchmark uses manual time).
    template <class Paint>
    void Sample(benchmark::State& state, Paint&& paint) {
        const double t0 = NowUs();
        paint();
        benchmark::ClobberMemory();
        const double t1 = NowUs();
        Fill();
        const double t2 = NowUs();
        m_samples.push_back(t1 - t0);
        m_fills.push_back(t2 - t1);
        state.SetIterationTime((t1 - t0) / 1e6);
    }

    // name_us, memset_us and x_memset, from the medians.
    void Report(benchmark::State& state, const std::string& name) const {
        const double sample = Median(m_samples), fill = Median(m_fills);
        state.counters[name + "_us"] = sample;
        state.counters["memset_us"] = fill;
        state.counters["x_memset"] = fill > 0 ? sample / fill : 0;
    }

private:
    void Fill() {
        std::memset(m_floor.Row(0), 0x20 + (m_round++ & 7),
                    sizeof(COLORREF) * static_cast<size_t>(m_floor.Width()) * static_cast<size_t>(m_floor.Height()));
        benchmark::ClobberMemory();
    }

    CSurface& m_floor;
    std::vector<double> m_samples, m_fills;
    int m_round = 0;
};

} // namespace benchfloor
