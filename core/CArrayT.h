// The growable array: a count of items within a capacity. The capacity rule
// is observable and kept: appending n items to a full array grows the
// capacity to twice the old capacity plus n. Storage is a std::vector whose
// reserved size follows that rule.
//
// Reading an index outside 0 .. count - 1 yields the last item (callers rely
// on it for "the last value again"); on an empty array it yields a
// default-constructed item instead of reading outside the storage.
#pragma once

#include <cstddef>
#include <vector>

template <class T> class CArrayT {
public:
    CArrayT() = default;
    explicit CArrayT(int capacity) { Init(capacity); }

    // Empties the array and reserves room for capacity items.
    void Init(int capacity) {
        m_items.clear();
        m_capacity = 0;
        Reserve(capacity);
    }

    // Appends n items (n <= 0 or null items appends nothing). The items may
    // be this array's own (a.Append(a.GetAt(0))): growing moves the storage,
    // so they are copied out first.
    void Append(const T* items, int n) {
        if (!items || n <= 0) return;
        if (m_items.size() + n > static_cast<size_t>(m_capacity)) {
            std::vector<T> copy(items, items + n);
            Reserve(m_capacity * 2 + n);
            m_items.insert(m_items.end(), copy.begin(), copy.end());
            return;
        }
        m_items.insert(m_items.end(), items, items + n);
    }
    void Append(const T& item) { Append(&item, 1); }

    // The item at index, clamped to the last item.
    T& GetAt(int index) {
        if (m_items.empty()) return m_empty = T();
        if (index < 0 || static_cast<size_t>(index) >= m_items.size()) return m_items.back();
        return m_items[index];
    }
    const T& GetAt(int index) const { return const_cast<CArrayT*>(this)->GetAt(index); }

    // Sets the count; new items are default-constructed, the capacity grows
    // to n when n exceeds it. A negative n counts as 0.
    void SetSize(int n) {
        if (n < 0) n = 0;
        if (n > m_capacity) Reserve(n);
        m_items.resize(n);
    }

    // Clear keeps the capacity; Free releases the storage.
    void Clear() { m_items.clear(); }
    void Free() {
        std::vector<T>().swap(m_items);
        m_capacity = 0;
    }

    int GetCount() const { return static_cast<int>(m_items.size()); }
    int GetCapacity() const { return m_capacity; }
    T* GetData() { return m_items.data(); }
    const T* GetData() const { return m_items.data(); }
    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    void Reserve(int capacity) {
        if (capacity <= m_capacity) return;
        m_items.reserve(capacity);
        m_capacity = capacity;
    }

    std::vector<T> m_items;
    int m_capacity = 0;  // items, grown by the rule above
    mutable T m_empty{};  // what GetAt yields on an empty array
};
