// The quote tables' option groups from the stored configuration.
#include "quotes/tables/QuoteTableOptions.h"

#include "core/CServerConfig.h"
#include "framework/app/CAppData.h"

CServerConfig* GetQuoteTableOptions() {
    CAppData* app = CAppData::Instance();
    return app ? &app->GetServerConfig() : nullptr;
}

CNameValueList LoadQuoteOptionGroup(const char* group) {
    CNameValueList list;
    CServerConfig* options = GetQuoteTableOptions();
    if (!options)
        return list;
    options->Load(0);
    if (std::optional<CWString> value = options->GetValue(group))
        list.Parse(value->c_str());
    return list;
}
