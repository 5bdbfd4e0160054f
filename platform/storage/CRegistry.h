// The program's small registry: text values under key paths, kept in one
// file in the program's data directory.
//
// The phone kept a few values (the registration record among them) in the
// system registry; here they live in a file whose path the caller gives
// (the framework makes it with CAppData::MakeDataPath). Every write replaces
// the whole file atomically (WriteFileAtomically): the new contents go to a
// temporary file beside it, which is synced and renamed over the old one, so
// a reader sees the old file or the new one, never a torn one, and a failed
// write leaves the old values in place and no temporary file behind.
//
// The file is UTF-16LE text, one value a line: key path, tab, value name,
// tab, value, with \\, \t, \n and \r escaped. It is created readable by its
// owner only (it holds the registered mobile number). Key paths and value
// names compare exactly. Reads and writes of all CRegistry objects in the
// process are serialised; the file is meant for one process.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

class CRegistry {
public:
    // The registry file's name in the data directory, for callers that make
    // the path.
    static constexpr std::u16string_view kFileName = u"Registry.dat";

    // path: the registry file (UTF-16); it need not exist yet. A path that
    // cannot name a file (a lone surrogate, a NUL) reads as empty and is
    // never written.
    explicit CRegistry(std::u16string_view path);

    // The value, or nullopt when the file, the key or the value is missing
    // or the file cannot be read.
    std::optional<std::u16string> Read(std::u16string_view keyPath, std::u16string_view valueName) const;
    // Every value under the key by name; empty when the key is missing.
    std::map<std::u16string, std::u16string> ReadKey(std::u16string_view keyPath) const;

    // Sets the value, creating key and file as needed. Returns false when
    // the file cannot be written (or exists but cannot be read); the old
    // file is then unchanged.
    bool Write(std::u16string_view keyPath, std::u16string_view valueName, std::u16string_view value);

    // Writes begun through any registry object of the process so far. Since
    // the file is meant for one process, a reader that keeps what it read
    // may keep it while this stays the same.
    static std::uint64_t WriteCount();

private:
    using Keys = std::map<std::u16string, std::map<std::u16string, std::u16string>, std::less<>>;

    // False when the file exists but cannot be read; a missing file loads
    // as empty.
    bool Load(Keys& keys) const;
    bool Save(const Keys& keys) const;

    std::string m_path; // native (UTF-8) path of the file; empty when unusable
};
