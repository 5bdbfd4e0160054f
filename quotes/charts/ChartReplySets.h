// The sets of a chart reply by place: the header, then the points (the
// minutes of the day or the bars of the period), then, for the minute
// chart only, the snapshot and the index overlay. An "error" set in the
// place of the points (none to give) or of the overlay (no index) leaves
// the rest of the reply to be read; one anywhere else refuses it.
#pragma once

namespace chart_reply {
constexpr int kHeaderSet = 0;
constexpr int kPointsSet = 1;
constexpr int kSnapshotSet = 2;
constexpr int kOverlaySet = 3;
} // namespace chart_reply

// An "error" set at index that leaves a minute reply readable.
constexpr bool IsMinuteReplyPartialError(int index) {
    return index == chart_reply::kPointsSet || index == chart_reply::kOverlaySet;
}

// An "error" set at index that leaves a K-line reply readable.
constexpr bool IsKLineReplyPartialError(int index) { return index == chart_reply::kPointsSet; }
