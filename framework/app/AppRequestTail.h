// The common tail of a request the application object sends itself (the
// start-up's logon and fetch, the logout), from the application state:
// the same values a network window's request carries.
#pragma once

#include "framework/net/RequestText.h"

class CAppData;

// The tail's values; counts one request on the state's request counter.
CCommonTail MakeAppRequestTail(CAppData& app);
