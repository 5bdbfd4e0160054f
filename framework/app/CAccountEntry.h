// One logged-in trade account of the application state: the shareholder
// records of its login reply and the texts that make its requests.
#pragma once

#include "core/CAString.h"
#include "core/CDataSet.h"
#include "core/CWString.h"
#include "framework/app/CSecretText.h"

#include <memory>

class CAccountEntry {
public:
    CAccountEntry() = default;
    CAccountEntry(const CAccountEntry&) = delete;
    CAccountEntry& operator=(const CAccountEntry&) = delete;

    // Holder record set: columns "market", "~market", "secuid", "fundid".
    std::unique_ptr<CDataSet> holders;
    CAString accountId;      // the login's "fundid", compared ignoring case
    CAString loginId;        // trade session text and "&operway=i"
    CSecretText password;    // trading password, memory only
    CWString customerName;   // the login's "custname"
    CWString department;     // sales department text
};
