// The settings file "DefParam.dat" and the built-in defaults behind it.
//
// File form (kept byte for byte as the phone wrote it):
//   - the 12 bytes "#param2.0.2#" (no terminator, no padding), then
//   - records of 64 bytes: a 32-byte key and a 32-byte value, each 8-bit
//     text ended by a NUL and padded with NULs, so a key or a value holds at
//     most 31 bytes. Bytes after the NUL of a field are ignored.
// A file is damaged when it is shorter than the header, its header differs,
// its size is not header + n × 64, or a key is empty or fills its 32 bytes
// without a NUL (the same for a value). A damaged or unreadable file is not
// used at all: the settings stay on their defaults, and the file is left as
// it is until the next successful Save.
//
// The table holds the defaults in a fixed order; a record of the file
// replaces the value of its key, and a key unknown to this program is kept
// (so a newer program's settings survive) and written back after the
// defaults. Only keys in the table can be set.
//
// The request worker reads and writes "Connect_Type" while the GUI thread
// uses the others, so every access takes the object's lock.
#pragma once

#include "core/CAString.h"

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CDefParam {
public:
    static constexpr std::string_view kFileName = "DefParam.dat";
    static constexpr std::string_view kHeader = "#param2.0.2#"; // 12 bytes
    static constexpr size_t kFieldSize = 32;                  // bytes of a key or a value field
    static constexpr size_t kRecordSize = 2 * kFieldSize;     // bytes of one record
    static constexpr size_t kMaxTextLength = kFieldSize - 1;  // longest key or value, bytes

    using Entry = std::pair<std::string, std::string>; // key, value

    enum class LoadResult { Loaded, Missing, Damaged };

    // path: the settings file (native path); it need not exist.
    explicit CDefParam(std::string path);

    // The built-in settings in table order.
    static const std::vector<Entry>& Defaults();

    // Reads the file. Loaded: its records replace the defaults' values.
    // Missing or Damaged: every setting is back on its default.
    LoadResult Load();
    // Writes every setting to the file atomically; false (old file intact)
    // when it cannot be written.
    bool Save() const;

    // The value of key; the default when the key is unknown to the file, and
    // an empty text for a key no table knows.
    CAString Get(std::string_view key) const;
    // True when key is in the table.
    bool Has(std::string_view key) const;
    // Stores value for an existing key. False, changing nothing, for an
    // unknown key, a value longer than kMaxTextLength bytes or a value with a
    // NUL byte: a value is never cut.
    bool Set(std::string_view key, std::string_view value);

    // The file form of entries, and its reading (nullopt when damaged).
    static std::vector<uint8_t> Serialize(const std::vector<Entry>& entries);
    static std::optional<std::vector<Entry>> Parse(const uint8_t* data, size_t size);

private:
    Entry* FindLocked(std::string_view key);
    const Entry* FindLocked(std::string_view key) const;

    std::string m_path;
    mutable std::mutex m_lock;     // guards m_entries
    std::vector<Entry> m_entries;  // defaults first, then keys only the file knew
};
