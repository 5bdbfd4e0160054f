// The quote functions of the simulated server, one small route each:
// 31000/3 ranking page, 31000/4 quote fields, 31000/8 world indices,
// 31000/10 pinyin search, 100/30 sector list and 100/31 sector members.
#pragma once

#include "tools/simulator/SimRouteGroup.h"

class CSimQuoteRoutes : public ISimRouteGroup {
public:
    void AddRoutes(CSimRouteTable& table) override;
};
