// The server's option groups of the quote tables ("market", "type", "sort",
// "tech"), read from the stored configuration reply ("config") that the
// application state keeps.
#pragma once

#include "core/CNameValueList.h"

class CServerConfig;

// The configuration store of the application state; null without one.
CServerConfig* GetQuoteTableOptions();

// Reloads the store and parses group into name/value pairs; an empty list
// when the group or the store is missing.
CNameValueList LoadQuoteOptionGroup(const char* group);
