// Cost of drawing shapes whose coordinates span the whole int range into a
// 40 × 40 clip, measured next to the same shapes drawn wholly inside the
// clip, so that what a far-flung shape costs beyond its visible part shows
// as a ratio (the device context promises about 1).
#include "platform/gdi/CDC.h"

#include <benchmark/benchmark.h>
#include <climits>

namespace {

// Every primitive once, over the rectangle from lo to hi.
void DrawAll(CDC& dc, int lo, int hi) {
    const CRect all{lo, lo, hi, hi};
    dc.SelectBrush(CBrush::Solid(0x2626FF));
    dc.SelectPen({PS_DASH, 2, 0xFF0000});
    dc.FillRect(all, 0x2626FF);
    dc.Rectangle(all);
    dc.RoundRect(all, 16, 16);
    dc.DrawEdge(all, EDGE_SUNKEN, BF_RECT);
    dc.MoveTo(lo, lo);
    dc.LineTo(hi, hi);
    dc.LineTo(lo, hi);
    const CPoint poly[] = {{lo, lo}, {hi, lo}, {lo / 2 + hi / 2, hi}};
    dc.Polygon(poly, 3);
    dc.Polyline(poly, 3);
    dc.DrawText(u"行情", all, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc.DrawGradientBar(all);
    dc.DrawSelectionBand(all);
}

void BM_ShapesOverTheWholeIntRange(benchmark::State& state) {
    CSurface surface(40, 40, 0xFFFFFF);
    CDC dc(&surface, {10, 10}, {0, 0, 40, 40});
    for (auto _ : state) {
        DrawAll(dc, INT_MIN, INT_MAX);
        benchmark::DoNotOptimize(surface.GetPixel(20, 20));
    }
}
BENCHMARK(BM_ShapesOverTheWholeIntRange)->Unit(benchmark::kMicrosecond);

void BM_ShapesInsideTheClip(benchmark::State& state) {
    CSurface surface(40, 40, 0xFFFFFF);
    CDC dc(&surface, {10, 10}, {0, 0, 40, 40});
    for (auto _ : state) {
        DrawAll(dc, -10, 30);
        benchmark::DoNotOptimize(surface.GetPixel(20, 20));
    }
}
BENCHMARK(BM_ShapesInsideTheClip)->Unit(benchmark::kMicrosecond);

} // namespace
