// The quote tables' option groups from the stored configuration.
#include "quotes/tables/QuoteTableOptions.h"

#include "core/CServerConfig.h"
#include "framework/app/CAppData.h"

#include <utility>

CServerConfig* GetQuoteTableOptions() {
    CAppData* app = CAppData::Instance();
    return app ? &app->GetServerConfig() : nullptr;
}

CNameValueList LoadQuoteOptionGroup(const char* group) { return std::move(LoadQuoteOptionGroups({group}).front()); }

std::vector<CNameValueList> LoadQuoteOptionGroups(std::initializer_list<const char*> groups) {
    std::vector<CNameValueList> lists(groups.size());
    CServerConfig* options = GetQuoteTableOptions();
    if (!options)
        return lists;
    size_t i = 0;
    for (const char* group : groups) {
        if (std::optional<CWString> value = options->GetValue(group))
            lists[i].Parse(value->c_str());
        ++i;
    }
    return lists;
}
