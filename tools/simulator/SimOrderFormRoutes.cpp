// The order form panel's quote over the simulated market.
#include "tools/simulator/SimOrderFormRoutes.h"

#include "tools/simulator/CSimMarket.h"

namespace {
// The order form's field list, as it sends it.
constexpr char kPanelFields[] =
    "1|2|3|4|11|13|14|15|16|17|18|32|29|30|50|51|52|53|54|55|56|57|58|59|70|71|72|73|74|75|76|77|78|79";
} // namespace

void CSimOrderFormRoutes::AddRoutes(CSimRouteTable& table) {
    const CSimRouteTable::Entry* before = table.Find(31000, 4);
    SimHandler next = before ? before->handler : SimHandler();
    table.Add(31000, 4, [next](const SimRequest& r, SimContext& context) -> SimReply {
        if (r.Get("field") != kPanelFields)
            return next ? next(r, context) : SimReply::Error(u"无此功能");
        const std::vector<int> fields = CSimMarket::ParseFieldList(kPanelFields);
        CDataSetWriter w;
        w.AddSet("hq.zx");
        CSimMarket::AddFieldColumns(w, fields);
        // One stock, by its full key; an unknown key gives no row.
        if (const SimStock* s = context.market.Find(r.Get("code")); s && r.Get("code").find('.') != std::string::npos)
            CSimMarket::WriteFieldRow(w, fields, *s);
        return SimReply::Ok(w);
    });
}
