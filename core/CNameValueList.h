// The (name, value) pairs of a wide text of entries "name^value#": "#" ends
// an entry, "^" (the first one) splits name from value, entries without "^"
// are skipped. A last entry that lacks its closing "#" still counts. The
// option groups of the server configuration are kept in this form.
#pragma once

#include <string>
#include <vector>

class CNameValueList {
public:
    // Replaces the pairs with those of text (null gives an empty list);
    // returns the pair count.
    int Parse(const char16_t* text);

    int GetCount() const { return static_cast<int>(m_pairs.size()); }
    // Name or value of pair i; null out of range.
    const char16_t* GetName(int i) const;
    const char16_t* GetValue(int i) const;
    // The value of the first pair whose name equals name ignoring ASCII
    // case; null when absent or when name is null or empty.
    const char16_t* FindValue(const char16_t* name) const;

private:
    struct Pair {
        std::u16string name;
        std::u16string value;
    };
    std::vector<Pair> m_pairs;
};
