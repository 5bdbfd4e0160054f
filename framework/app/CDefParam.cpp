// Settings table, file parsing and writing.
#include "framework/app/CDefParam.h"

#include "platform/storage/AtomicFile.h"

#include <cstring>

namespace {

// Reads one NUL-ended field; nullopt when the field has no NUL.
std::optional<std::string> ReadField(const uint8_t* field) {
    const void* nul = std::memchr(field, 0, CDefParam::kFieldSize);
    if (nul == nullptr) {
        return std::nullopt;
    }
    return std::string(reinterpret_cast<const char*>(field),
                       static_cast<const uint8_t*>(nul) - field);
}

bool FitsField(std::string_view text) {
    return text.size() <= CDefParam::kMaxTextLength && text.find('\0') == std::string_view::npos;
}

} // namespace

CDefParam::CDefParam(std::string path) : m_path(std::move(path)), m_entries(Defaults()) {}

const std::vector<CDefParam::Entry>& CDefParam::Defaults() {
    static const std::vector<Entry> defaults = {
        {"Quote_IsRefresh", "1"},   // "1": quote windows refresh by themselves
        {"Quote_RefeWait", "10"},   // seconds between refreshes
        {"Server_Host", "127.0.0.1"},
        {"Server_Port", "8002"},
        {"Trade_SCCode", "0001"},   // sales department code
        {"Trade_ZHLX", "Z"},        // account type of the trade login
        {"Trade_ZJZH", ""},         // remembered account number
        {"Trade_SAVEZJZH", "0"},    // "1": remember the account number
        {"Screen_Mode", "1"},       // 1 portrait, 0 landscape
        {"Font_Size", "22"},        // pixels
        {"Connect_Type", "0"},      // 0 direct, 1 through the operator's gateway
        {"Upload_Bytes", "0"},      // traffic of earlier sessions, bytes
        {"Download_Bytes", "0"},
    };
    return defaults;
}

CDefParam::LoadResult CDefParam::Load() {
    std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(m_path);
    std::optional<std::vector<Entry>> records;
    if (bytes) {
        records = Parse(bytes->data(), bytes->size());
    }
    std::lock_guard lock(m_lock);
    m_entries = Defaults();
    if (!bytes) {
        return LoadResult::Missing;
    }
    if (!records) {
        return LoadResult::Damaged;
    }
    for (Entry& record : *records) {
        if (Entry* entry = FindLocked(record.first)) {
            entry->second = std::move(record.second);
        } else {
            m_entries.push_back(std::move(record));
        }
    }
    return LoadResult::Loaded;
}

bool CDefParam::Save() const {
    std::vector<uint8_t> bytes;
    {
        std::lock_guard lock(m_lock);
        bytes = Serialize(m_entries);
    }
    return WriteFileAtomically(m_path, bytes.data(), bytes.size());
}

CAString CDefParam::Get(std::string_view key) const {
    std::lock_guard lock(m_lock);
    const Entry* entry = FindLocked(key);
    return entry ? CAString(entry->second) : CAString();
}

bool CDefParam::Has(std::string_view key) const {
    std::lock_guard lock(m_lock);
    return FindLocked(key) != nullptr;
}

bool CDefParam::Set(std::string_view key, std::string_view value) {
    if (!FitsField(value)) {
        return false;
    }
    std::lock_guard lock(m_lock);
    Entry* entry = FindLocked(key);
    if (entry == nullptr) {
        return false;
    }
    entry->second.assign(value);
    return true;
}

std::vector<uint8_t> CDefParam::Serialize(const std::vector<Entry>& entries) {
    std::vector<uint8_t> out(kHeader.begin(), kHeader.end());
    for (const Entry& entry : entries) {
        if (!FitsField(entry.first) || entry.first.empty() || !FitsField(entry.second)) {
            continue; // cannot happen through Set; never write a torn record
        }
        size_t at = out.size();
        out.resize(at + kRecordSize, 0);
        std::memcpy(&out[at], entry.first.data(), entry.first.size());
        std::memcpy(&out[at + kFieldSize], entry.second.data(), entry.second.size());
    }
    return out;
}

std::optional<std::vector<CDefParam::Entry>> CDefParam::Parse(const uint8_t* data, size_t size) {
    if (data == nullptr || size < kHeader.size() ||
        std::memcmp(data, kHeader.data(), kHeader.size()) != 0 ||
        (size - kHeader.size()) % kRecordSize != 0) {
        return std::nullopt;
    }
    std::vector<Entry> entries;
    for (size_t at = kHeader.size(); at < size; at += kRecordSize) {
        std::optional<std::string> key = ReadField(data + at);
        std::optional<std::string> value = ReadField(data + at + kFieldSize);
        if (!key || key->empty() || !value) {
            return std::nullopt;
        }
        entries.emplace_back(std::move(*key), std::move(*value));
    }
    return entries;
}

CDefParam::Entry* CDefParam::FindLocked(std::string_view key) {
    for (Entry& entry : m_entries) {
        if (entry.first == key) {
            return &entry;
        }
    }
    return nullptr;
}

const CDefParam::Entry* CDefParam::FindLocked(std::string_view key) const {
    return const_cast<CDefParam*>(this)->FindLocked(key);
}
