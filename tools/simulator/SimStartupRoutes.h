// The functions of the client's start and end: 100/2 the configuration fetch
// (menu tree and option groups, CSimMenuTree) and 100/22 the logout. The
// service logon (100/1) belongs to the server's sessions, not to a group.
#pragma once

#include "tools/simulator/SimRouteGroup.h"

class CSimStartupRoutes : public ISimRouteGroup {
public:
    void AddRoutes(CSimRouteTable& table) override;
};
