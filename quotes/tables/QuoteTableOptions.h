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

// Reloads the store and parses group into name/value pairs; an empty list
// when the group or the store is missing.
CNameValueList LoadQuoteOptionGroup(const char* group);
// The same for several groups with one reload, in their order.
std::vector<CNameValueList> LoadQuoteOptionGroups(std::initializer_list<const char*> groups);
