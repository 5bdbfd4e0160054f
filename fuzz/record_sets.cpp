// Fuzz target: a reply body read into record sets, every field of every row
// read as the windows read it, and the sets written back the way the logon
// keeps its menus; what is written is never longer than what was read and
// reads back to the same bytes.
#include "core/CDataSetList.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CDataSetList list(data, static_cast<int>(size));
    std::vector<const CDataSet*> sets;
    for (int i = 0; i < list.GetCount(); ++i) {
        CDataSet* set = *list.GetAt(i);
        sets.push_back(set);
        set->FindColumn("id");
        for (bool on = set->MoveFirst(); on; on = set->MoveNext()) {
            for (int c = 0; c < set->GetColumnCount(); ++c) {
                CQuoteNumber number;
                set->GetFieldNumber(number, c);
                set->GetFieldText(c);
                set->GetFieldInt(c);
                set->GetFieldInt16(c);
            }
        }
    }
    list.GetErrorText();

    std::vector<uint8_t> written = CDataSetList::Serialize(sets.data(), sets.size());
    if (written.size() > std::max<size_t>(size, 4))  // 4: the empty list of an unreadable body
        std::abort();
    CDataSetList reread(written.data(), static_cast<int>(written.size()));
    if (reread.GetCount() != list.GetCount())
        std::abort();
    std::vector<const CDataSet*> again;
    for (int i = 0; i < reread.GetCount(); ++i) again.push_back(*reread.GetAt(i));
    if (CDataSetList::Serialize(again.data(), again.size()) != written)
        std::abort();
    return 0;
}
