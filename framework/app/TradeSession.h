// The trade session as every trade request reads it: the current account's
// login id (the session text that leads each request) and its trading
// password, and what each must be to travel. The one home of these rules;
// the screens never read CAppData's fields for them on their own.
#pragma once

#include <string>
#include <string_view>

// The current account's login id; empty without an application state or
// a logged-in account.
std::string CurrentLoginId();

// The current account's trading password; empty as above. The copy is the
// caller's to drop once the request is composed.
std::string CurrentTradePassword();

// True when a login id may lead a request: not empty, and no "%", which
// would be decoded into something else on the way.
bool IsSendableLoginId(std::string_view loginId);

// True when a trading password may travel as a value (not empty, no "&",
// "=", "%", blank or control byte).
bool IsSendablePassword(std::string_view password);
