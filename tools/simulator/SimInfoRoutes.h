// The information functions of the simulated server: 504/20 a column's
// news list (lmdm, and stkcode for one stock's notices) and 504/21 an
// article (newsid: a line number and a line per record) or one of a
// stock's information pages (lmdm and stkcode: one line per record).
#pragma once

#include "tools/simulator/SimRouteGroup.h"

class CSimInfoRoutes : public ISimRouteGroup {
public:
    void AddRoutes(CSimRouteTable& table) override;
};
