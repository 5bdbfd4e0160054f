// The record sets of one reply body, parsed at once and in order. The list
// owns its sets and deletes those it still holds.
//
// Body form (docs/wire-format.md): a uint32 set count, then that many sets,
// then nothing. An empty, null, truncated or otherwise inconsistent body
// gives a list with no set that counts as an error.
#pragma once

#include "core/CDataSet.h"
#include "core/CWString.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class CDataSetList {
public:
    // An empty list that is not an error (to be filled with InsertAt).
    CDataSetList() = default;
    // Parses body[0 .. length); see above for what counts as unreadable.
    CDataSetList(const void* body, int length);
    ~CDataSetList();
    CDataSetList(const CDataSetList&) = delete;
    CDataSetList& operator=(const CDataSetList&) = delete;

    int GetCount() const { return static_cast<int>(m_sets.size()); }
    // The address of the set pointer at index; out of range, the address of
    // a slot holding null (reset on every call), so callers test the pointer.
    CDataSet** GetAt(int index);
    // True when the body was unreadable or a held set is tagged "error".
    bool IsError() const;
    // True when the body could not be parsed (the list holds no set).
    bool IsUnreadable() const { return m_unreadable; }
    // True when a held set is tagged "error": the server said why.
    bool HasErrorSet() const { return GetErrorIndex() >= 0; }
    // Index of the first held "error" set, -1 when none.
    int GetErrorIndex() const;
    // Field 0 of the first row of the error set, else its tag;
    // "未取到错误信息" when there is no error set.
    CWString GetErrorText() const;

    // Moves every set pointer (and the unreadable mark) to other, after
    // other has deleted the sets it held; this list is left empty.
    void MoveTo(CDataSetList& other);
    // Inserts set (taking ownership) before index, or at the end when index
    // is out of range. A null set is ignored.
    void InsertAt(CDataSet* set, int index);
    // Takes the set at index out of the list with its ownership; its slot
    // stays, holding null, so the other sets keep their indices. Null out of
    // range.
    std::unique_ptr<CDataSet> Detach(int index);
    // Count 0 without deleting the sets (they were handed to another owner).
    void Reset();
    // Deletes the sets.
    void Clear();

    // The binary body of the given sets (null entries are skipped).
    static std::vector<uint8_t> Serialize(const CDataSet* const* sets, size_t count);

private:
    std::vector<CDataSet*> m_sets;
    bool m_unreadable = false;     // the body could not be parsed
    CDataSet* m_nullSlot = nullptr;  // what GetAt hands out out of range
};
