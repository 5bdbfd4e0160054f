// Fuzz target: an option group text "name^value#..." read as UTF-16LE; no
// name holds "^" or "#", no value "#", and every name finds a value.
#include "core/CNameValueList.h"

#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::u16string text(size / 2, u'\0');
    std::memcpy(text.data(), data, text.size() * 2);
    CNameValueList list;
    int count = list.Parse(text.c_str());
    if (count != list.GetCount() || list.GetName(count) || list.GetValue(-1))
        std::abort();
    for (int i = 0; i < count; ++i) {
        std::u16string_view name = list.GetName(i), value = list.GetValue(i);
        if (name.find_first_of(u"^#") != name.npos || value.find(u'#') != value.npos)
            std::abort();
        if (!name.empty() && !list.FindValue(name.data()))
            std::abort();
    }
    list.FindValue(u"market");
    return 0;
}
