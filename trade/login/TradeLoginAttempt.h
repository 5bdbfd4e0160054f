// One trade login attempt as the form sent it, kept until its reply, and
// what a successful reply records: the login settings, the account in the
// application state and, when the user keeps accounts, its history row.
#pragma once

#include "framework/app/CSecretText.h"

#include <string>

class CAppData;
struct CTradeLoginReply;

struct CTradeLoginAttempt {
    std::string account;     // the normalised account
    std::string typed;       // the account as typed
    std::string type;        // the account-type code
    std::string dept;        // the department code sent
    std::u16string deptName; // the department name the form showed
    CSecretText password;    // kept for the account; cleared when the attempt ends
};

// Writes the login settings (the typed account only when save) and adds
// the reply's account, its holder set taken out of reply, as the current
// one: the trade is logged in.
void RecordTradeLogin(CAppData& app, const CTradeLoginAttempt& attempt, CTradeLoginReply& reply, bool save);

// Keeps the history row of a successful login. False when the database
// could not take it.
bool SaveTradeLoginHistory(const CAppData& app, const CTradeLoginAttempt& attempt, const CTradeLoginReply& reply);
