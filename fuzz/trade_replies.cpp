// Fuzz target: one reply body read by every reader of the trade screens —
// the login reply and its holders as the order form offers them, the token
// application and its texts, the sales departments, the branch directory's
// regions and rows, the funds pages, the order form's quote panel, and the
// query tables' rows with the request texts a row or the paging cursor
// makes. Whatever a reply holds, a value it hands to a later request must
// be one that cannot add a parameter of its own.
#include "core/CDataSetList.h"
#include "core/StrUtil.h"
#include "framework/ui/QueryTableRows.h"
#include "trade/dyncode/DynCodeApply.h"
#include "trade/login/BranchDirectory.h"
#include "trade/login/SalesDeptStore.h"
#include "trade/login/TradeLoginText.h"
#include "trade/orders/OrderForm.h"
#include "trade/queries/AccountRequests.h"
#include "trade/queries/CAccountQueryWnd.h"
#include "trade/queries/TradeQueryText.h"

#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Check(bool ok) {
    if (!ok)
        std::abort();
}

bool IsHex(std::string_view text) {
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')))
            return false;
    return true;
}

// A text that is empty or prefix followed by a plain value.
bool IsEmptyOrPlainAfter(const std::string& text, std::string_view prefix) {
    return text.empty() ||
           (text.compare(0, prefix.size(), prefix) == 0 && IsPlainRequestText(std::string_view(text).substr(prefix.size())));
}

void Login(CDataSetList& list) {
    CTradeLoginReply reply = ReadTradeLoginReply(list);
    if (reply.kind != CTradeLoginReply::Kind::Success)
        return;
    // The fund account leads later requests as "fundid=": nothing in it may
    // add or end a parameter.
    Check(IsTradeSessionText(reply.session) && !reply.fundId.empty() &&
          reply.fundId.find_first_of("&=%") == std::string::npos);
    Check(reply.holders != nullptr);
    for (const char* market : {static_cast<const char*>(nullptr), "0", "1"}) {
        const std::vector<CChoiceItem> items = HolderItems(reply.holders.get(), market);
        for (const CChoiceItem& item : items) {
            // "market=..&secuid=..&fundid=..": three parameters, no more.
            const std::string_view value = item.value.view();
            size_t ands = 0;
            for (char c : value)
                ands += c == '&';
            Check(ands == 2 && value.find('%') == std::string_view::npos);
        }
        const int kept = KeepHolder(items, items.empty() ? "" : items.back().value.view());
        Check(kept < static_cast<int>(items.size()));
        Check(HolderByQuoteMarket(items, 1, 0x120) < static_cast<int>(items.size()));
        Check(HolderByQuoteMarket(items, 2, 0) < static_cast<int>(items.size()));
    }
    LoginDeptText(reply.fundId, "0001", u"营业部");
}

void Token(CDataSetList& list) {
    const CDynCodeApplyReply reply = ReadDynCodeApplyReply(list);
    if (reply.kind == CDynCodeApplyReply::Kind::Ok) {
        Check(reply.seed.size() >= 16 && reply.seed.size() <= 48 && IsHex(reply.seed));
        Check(!reply.fundIds.empty() || !reply.secuIds.empty());
        for (const auto* ids : {&reply.fundIds, &reply.secuIds})
            for (const std::string& id : *ids)
                Check(!id.empty());
    }
    CDynCodeTexts texts;
    ReadDynCodeTexts(list, texts);
}

void SalesDepts(CDataSetList& list) {
    for (const SalesDept& dept : ParseSalesDeptReply(list))
        Check(IsSalesDeptCode(dept.code));
}

void Branches(CDataSet& set) {
    const std::vector<BranchRegionRow> regions = ReadRegionRows(set);
    const auto measure = [](std::u16string_view text) { return CSize{static_cast<int>(text.size()) * 20, 24}; };
    for (const BranchRegionLabel& label : LayoutRegions(regions, 440, measure))
        Check(label.header ? label.row == -1 : label.row >= 0 && label.row < static_cast<int>(regions.size()));
    for (const BranchRegionRow& row : regions)
        ProvinceBranchesRequest(row.provinceId);
    ReadBranchRows(set);
}

void Panel(CDataSet& set) {
    if (const auto rows = PanelRowsFrom(set, PanelColors()))
        Check(rows->empty() || rows->size() == 10);
    PanelRowCode(set);
}

// The same-day and history tables: what a row and the cursor send.
void QueryTable(CDataSet& set) {
    const QueryTableRows table = ReadQueryTableRows(set, "sign", "poststr");
    Check(table.rows.size() == table.signs.size());
    const int code = set.FindColumn("stkcode");
    const int market = set.FindColumn("market");
    for (const std::vector<CWString>& row : table.rows) {
        Check(row.size() == table.columns.size());
        const std::string stkcode = code >= 0 ? row[code].ToAnsi() : std::string();
        const std::string tradeMarket = market >= 0 ? row[market].ToAnsi() : std::string();
        Check(IsEmptyOrPlainAfter(MinuteChartRequest(stkcode, market >= 0, tradeMarket), "date=&code="));
        for (bool sell : {false, true}) {
            const std::string form = OrderFormRequest(stkcode, sell);
            const std::string tail = sell ? "&MMLB=1" : "&MMLB=0";
            Check(form == tail.substr(1) ||
                  (form.size() > tail.size() && form.compare(form.size() - tail.size(), tail.size(), tail) == 0 &&
                   IsEmptyOrPlainAfter(form.substr(0, form.size() - tail.size()), "code=")));
        }
    }
    const std::string cursor = table.cursor.str();
    const std::string history = BuildHistoryRequest("tc_mfuncno=500&tc_sfuncno=20", "custid=1&operway=i", "20260601",
                                                    "20261204", "poststr", cursor);
    const std::string paging = "&poststr=" + cursor;
    Check(history.empty() || (IsPlainRequestText(cursor) && history.size() > paging.size() &&
                              history.compare(history.size() - paging.size(), paging.size(), paging) == 0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int length = static_cast<int>(size);
    {
        CDataSetList list(data, length);
        Token(list);
        SalesDepts(list);
        if (CDataSet** first = list.GetAt(0); first && *first) {
            Branches(**first);
            ReadFundsPages(**first, "poststr");
            Panel(**first);
            QueryTable(**first);
        }
    }
    // The login reply takes its holder set out of the list: a list of its own.
    CDataSetList list(data, length);
    Login(list);
    return 0;
}
