// The branch directory of the simulated server: 504/32 the provinces by
// region and 504/13 one province's sales departments (provinceid).
#pragma once

#include "tools/simulator/SimRouteGroup.h"

class CSimBranchRoutes : public ISimRouteGroup {
public:
    void AddRoutes(CSimRouteTable& table) override;
};
