// The configuration and logout replies.
#include "tools/simulator/SimStartupRoutes.h"

#include "tools/simulator/CSimMenuTree.h"

namespace {
SimReply Configuration(const SimRequest&, SimContext&) {
    CDataSetWriter w;
    CSimMenuTree::WriteMenus(w);
    CSimMenuTree::WriteConfig(w);
    return SimReply::Ok(w);
}

SimReply Logout(const SimRequest&, SimContext&) {
    CDataSetWriter w;
    w.AddSet("ok");
    return SimReply::Ok(w);
}
} // namespace

void CSimStartupRoutes::AddRoutes(CSimRouteTable& table) {
    table.Add(kFuncFetchConfig, Configuration);
    table.Add(kFuncLogout, Logout);
}
