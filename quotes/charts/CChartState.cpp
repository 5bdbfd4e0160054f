// The process's one chart state.
#include "quotes/charts/CChartState.h"

CChartState& CChartState::Shared() {
    static CChartState state;
    return state;
}
