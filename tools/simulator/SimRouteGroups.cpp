// A new screen group's routes are listed here and nowhere else.
#include "tools/simulator/SimRouteGroups.h"

#include "tools/simulator/SimChartRoutes.h"
#include "tools/simulator/SimKLineRoutes.h"
#include "tools/simulator/SimQuoteRoutes.h"
#include "tools/simulator/SimStartupRoutes.h"

std::vector<std::unique_ptr<ISimRouteGroup>> MakeRouteGroups() {
    std::vector<std::unique_ptr<ISimRouteGroup>> groups;
    groups.push_back(std::make_unique<CSimStartupRoutes>());
    groups.push_back(std::make_unique<CSimQuoteRoutes>());
    groups.push_back(std::make_unique<CSimChartRoutes>());
    groups.push_back(std::make_unique<CSimKLineRoutes>());
    return groups;
}
