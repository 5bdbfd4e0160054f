// The server's option groups of the quote tables ("market", "type", "sort",
// "tech"), read from the stored configuration reply ("config") that the
// application state keeps.
#pragma once

#include "core/CNameValueList.h"

#include <initializer_list>
#include <vector>

class CServerConfig;

// The configuration store of the application state; null without one.
CServerConfig* GetQuoteTableOptions();

// Parses group into name/value pairs; an empty list when the group or the
// store is missing. The application state keeps the store current (loaded
// at its creation, again whenever "config" is written), so opening a table
// reads no file; a group is parsed once for each load of the store
// (CServerConfig::GetStamp).
CNameValueList LoadQuoteOptionGroup(const char* group);
// The same for several groups, in their order.
std::vector<CNameValueList> LoadQuoteOptionGroups(std::initializer_list<const char*> groups);
