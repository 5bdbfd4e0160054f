// The registration record: the values the registration step left in the
// registry, of which the screens read one, "Focus", the phone's registered
// mobile number.
#pragma once

#include "platform/storage/CRegistry.h"

#include <map>
#include <string>
#include <string_view>

struct CRegRecord {
    // The registry key that holds the record's values.
    static constexpr std::u16string_view kKey = u"Registration";

    std::u16string Focus;                            // registered mobile number
    std::map<std::u16string, std::u16string> Values; // every value of the key by name, "Focus" too
};

// Fills record from the registry: every value of the key, and Focus. When the
// key (or the file) is missing, Focus and Values are empty. Never fails.
void ReadRegRecord(const CRegistry& registry, CRegRecord& record);
