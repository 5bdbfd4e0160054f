// Parsing of "name^value#" entry texts.
#include "core/CNameValueList.h"

#include "core/CWString.h"

int CNameValueList::Parse(const char16_t* text) {
    m_pairs.clear();
    if (!text) return 0;
    std::u16string_view rest(text);
    while (!rest.empty()) {
        size_t end = rest.find(u'#');
        std::u16string_view entry = rest.substr(0, end);
        rest = end == std::u16string_view::npos ? std::u16string_view() : rest.substr(end + 1);
        size_t split = entry.find(u'^');
        if (split == std::u16string_view::npos) continue;
        m_pairs.push_back({std::u16string(entry.substr(0, split)), std::u16string(entry.substr(split + 1))});
    }
    return GetCount();
}

const char16_t* CNameValueList::GetName(int i) const {
    return (i >= 0 && i < GetCount()) ? m_pairs[i].name.c_str() : nullptr;
}

const char16_t* CNameValueList::GetValue(int i) const {
    return (i >= 0 && i < GetCount()) ? m_pairs[i].value.c_str() : nullptr;
}

const char16_t* CNameValueList::FindValue(const char16_t* name) const {
    if (!name || !*name) return nullptr;
    for (const Pair& pair : m_pairs) {
        if (CWString(std::u16string_view(pair.name)).CompareNoCase(name) == 0) return pair.value.c_str();
    }
    return nullptr;
}
