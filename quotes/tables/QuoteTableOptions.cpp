// The quote tables' option groups from the stored configuration.
#include "quotes/tables/QuoteTableOptions.h"

#include "core/CServerConfig.h"
#include "framework/app/CAppData.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>

CServerConfig* GetQuoteTableOptions() {
    CAppData* app = CAppData::Instance();
    return app ? &app->GetServerConfig() : nullptr;
}

CNameValueList LoadQuoteOptionGroup(const char* group) { return std::move(LoadQuoteOptionGroups({group}).front()); }

std::vector<CNameValueList> LoadQuoteOptionGroups(std::initializer_list<const char*> groups) {
    // The groups as parsed from the store with this stamp: every table that
    // opens asks for them, and finding a group walks the whole store.
    static std::mutex lock;
    static std::uint64_t keptStamp = 0;
    static std::map<std::string, CNameValueList, std::less<>> kept;
    std::vector<CNameValueList> lists(groups.size());
    CServerConfig* options = GetQuoteTableOptions();
    if (!options)
        return lists;
    std::lock_guard<std::mutex> guard(lock);
    if (keptStamp != options->GetStamp()) {
        kept.clear();
        keptStamp = options->GetStamp();
    }
    size_t i = 0;
    for (const char* group : groups) {
        if (!group) {
            ++i;
            continue;
        }
        auto it = kept.find(std::string_view(group));
        if (it == kept.end()) {
            CNameValueList parsed;
            if (std::optional<CWString> value = options->GetValue(group))
                parsed.Parse(value->c_str());
            it = kept.emplace(group, std::move(parsed)).first;
        }
        lists[i++] = it->second;
    }
    return lists;
}
