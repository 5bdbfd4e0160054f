// Reply-body parsing into record sets, and the error-set rules.
#include "core/CDataSetList.h"

#include "core/StrUtil.h"

CDataSetList::CDataSetList(const void* body, int length) {
    const uint8_t* data = static_cast<const uint8_t*>(body);
    if (!data || length < 4) {
        m_unreadable = true;
        return;
    }
    size_t size = static_cast<size_t>(length);
    uint32_t count = static_cast<uint32_t>(ReadLE32(data));
    size_t pos = 4;
    std::vector<std::unique_ptr<CDataSet>> sets;
    for (uint32_t i = 0; i < count; ++i) {
        size_t used = 0;
        std::unique_ptr<CDataSet> set = CDataSet::Parse(data + pos, size - pos, &used);
        if (!set) {
            m_unreadable = true;
            return;
        }
        pos += used;
        sets.push_back(std::move(set));
    }
    if (pos != size) {  // bytes after the last set: not a body we understand
        m_unreadable = true;
        return;
    }
    m_sets.reserve(sets.size());
    for (auto& set : sets) m_sets.push_back(set.release());
}

CDataSetList::~CDataSetList() { Clear(); }

CDataSet** CDataSetList::GetAt(int index) {
    if (index < 0 || index >= GetCount()) {
        m_nullSlot = nullptr;
        return &m_nullSlot;
    }
    return &m_sets[index];
}

bool CDataSetList::IsError() const { return m_unreadable || HasErrorSet(); }

int CDataSetList::GetErrorIndex() const {
    for (int i = 0; i < GetCount(); ++i) {
        if (m_sets[i] && m_sets[i]->IsError()) return i;
    }
    return -1;
}

CWString CDataSetList::GetErrorText() const {
    int index = GetErrorIndex();
    if (index < 0) return CWString(u"未取到错误信息");
    const CDataSet* set = m_sets[index];
    if (set->GetRowCount() > 0 && set->GetColumnCount() > 0) return set->FieldTextAt(0, 0);
    return CWString::CWStringFromAnsi(set->GetTag());
}

void CDataSetList::MoveTo(CDataSetList& other) {
    if (&other == this) return;
    other.Clear();
    other.m_sets.swap(m_sets);
    other.m_unreadable = m_unreadable;
    m_unreadable = false;
}

void CDataSetList::InsertAt(CDataSet* set, int index) {
    if (!set) return;
    if (index < 0 || index > GetCount()) index = GetCount();
    m_sets.insert(m_sets.begin() + index, set);
}

std::unique_ptr<CDataSet> CDataSetList::Detach(int index) {
    if (index < 0 || index >= GetCount()) return nullptr;
    std::unique_ptr<CDataSet> set(m_sets[index]);
    m_sets[index] = nullptr;
    return set;
}

void CDataSetList::Reset() { m_sets.clear(); }

void CDataSetList::Clear() {
    for (CDataSet* set : m_sets) delete set;
    m_sets.clear();
}

std::vector<uint8_t> CDataSetList::Serialize(const CDataSet* const* sets, size_t count) {
    std::vector<uint8_t> out(4, 0);
    uint32_t written = 0;
    for (size_t i = 0; i < count; ++i) {
        if (!sets || !sets[i]) continue;
        sets[i]->Serialize(out);
        ++written;
    }
    WriteLE32(out.data(), written);
    return out;
}
