// Loading and looking up the stored configuration.
#include "core/CServerConfig.h"

#include <atomic>
#include <climits>

CServerConfig::CServerConfig(FileReader reader, ErrorSink showError)
    : m_reader(std::move(reader)), m_showError(std::move(showError)) {}

std::uint64_t CServerConfig::NextStamp() {
    static std::atomic<std::uint64_t> stamps{0};
    return ++stamps;
}

bool CServerConfig::Load(int /*flag*/) {
    m_stamp = NextStamp();
    m_list.reset();
    if (!m_reader) return false;
    std::optional<std::vector<uint8_t>> bytes = m_reader("config");
    if (!bytes || bytes->size() > static_cast<size_t>(INT_MAX)) return false;
    auto list = std::make_unique<CDataSetList>(bytes->data(), static_cast<int>(bytes->size()));
    if (list->IsError()) {
        if (m_showError) m_showError(list->GetErrorText());
        return false;
    }
    m_list = std::move(list);
    return true;
}

std::optional<CWString> CServerConfig::GetValue(const char* name) const {
    if (!m_list || !name) return std::nullopt;
    CWString wanted = CWString::CWStringFromAnsi(name);
    for (int i = 0; i < m_list->GetCount(); ++i) {
        CDataSet* set = *m_list->GetAt(i);
        if (!set || set->GetColumnCount() < 2 || set->GetRowCount() == 0) continue;
        int saved = set->GetCursor();
        set->MoveFirst();
        CWString key = set->GetFieldText(0);
        CWString value = set->GetFieldText(1);
        set->Move(saved - set->GetCursor());
        if (key.CompareNoCase(wanted.view()) == 0) return value;
    }
    return std::nullopt;
}
