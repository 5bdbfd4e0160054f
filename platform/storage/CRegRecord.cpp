// Reading the registration record; see the header.
#include "platform/storage/CRegRecord.h"

void ReadRegRecord(const CRegistry& registry, CRegRecord& record) {
    record.Values = registry.ReadKey(CRegRecord::kKey);
    auto focus = record.Values.find(u"Focus");
    record.Focus = focus == record.Values.end() ? std::u16string() : focus->second;
}
