// The order form's quote panel: 31000/4 asked with the panel's field list
// (the five bid and ask levels among them) is answered with one set tagged
// "hq.zx", 34 columns in field order, the way the form tells its panel
// reply from its trade replies. Any other 31000/4 goes on to the handler
// that was there before (the quote tables' and the detail page's), so this
// group is listed after the quote group.
#pragma once

#include "tools/simulator/SimRouteGroup.h"

class CSimOrderFormRoutes : public ISimRouteGroup {
public:
    void AddRoutes(CSimRouteTable& table) override;
};
