// The registry file: parsing, serialising and the atomic replace; see the
// header for the format.
#include "platform/storage/CRegistry.h"

#include "platform/storage/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <vector>

namespace {

// One lock for every registry object: a write is read, change, replace.
std::mutex& FileLock() {
    static std::mutex lock;
    return lock;
}

std::atomic<std::uint64_t>& Writes() {
    static std::atomic<std::uint64_t> writes{0};
    return writes;
}

void AppendEscaped(std::u16string& out, std::u16string_view text) {
    for (char16_t c : text) {
        switch (c) {
        case u'\\':
            out += u"\\\\";
            break;
        case u'\t':
            out += u"\\t";
            break;
        case u'\n':
            out += u"\\n";
            break;
        case u'\r':
            out += u"\\r";
            break;
        default:
            out += c;
            break;
        }
    }
}

// Splits one line into its unescaped tab-separated fields.
std::vector<std::u16string> SplitLine(std::u16string_view line) {
    std::vector<std::u16string> fields(1);
    for (size_t i = 0; i < line.size(); ++i) {
        char16_t c = line[i];
        if (c == u'\t') {
            fields.emplace_back();
        } else if (c == u'\\' && i + 1 < line.size()) {
            char16_t e = line[++i];
            fields.back() += e == u't' ? u'\t' : e == u'n' ? u'\n' : e == u'r' ? u'\r' : e;
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

} // namespace

CRegistry::CRegistry(std::u16string_view path) {
    // A path that is not valid UTF-16 or holds a NUL names no file; it is
    // kept empty, so every read finds nothing and every write fails.
    try {
        m_path = std::filesystem::path(std::u16string(path)).native();
    } catch (const std::exception&) {
        m_path.clear();
    }
    if (m_path.find('\0') != std::string::npos) {
        m_path.clear();
    }
}

bool CRegistry::Load(Keys& keys) const {
    keys.clear();
    if (m_path.empty()) {
        return false;
    }
    int error = 0;
    std::optional<std::vector<uint8_t>> read = ReadWholeFile(m_path, &error);
    if (!read) {
        return error == ENOENT;
    }
    const std::vector<uint8_t>& bytes = *read;
    // Little-endian UTF-16; a byte order mark leads the file.
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    }
    std::u16string_view rest = text;
    if (!rest.empty() && rest.front() == u'\xFEFF') {
        rest.remove_prefix(1);
    }
    while (!rest.empty()) {
        size_t end = rest.find(u'\n');
        std::u16string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::u16string_view::npos ? rest.size() : end + 1);
        std::vector<std::u16string> fields = SplitLine(line);
        // A damaged line is skipped rather than losing the whole file.
        if (fields.size() == 3) {
            keys[fields[0]][fields[1]] = fields[2];
        }
    }
    return true;
}

bool CRegistry::Save(const Keys& keys) const {
    std::u16string text = u"\xFEFF";
    for (const auto& [key, values] : keys) {
        for (const auto& [name, value] : values) {
            AppendEscaped(text, key);
            text += u'\t';
            AppendEscaped(text, name);
            text += u'\t';
            AppendEscaped(text, value);
            text += u'\n';
        }
    }
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return WriteFileAtomically(m_path, bytes.data(), bytes.size());
}

std::optional<std::u16string> CRegistry::Read(std::u16string_view keyPath,
                                              std::u16string_view valueName) const {
    std::lock_guard guard(FileLock());
    Keys keys;
    Load(keys);
    auto key = keys.find(keyPath);
    if (key == keys.end()) {
        return std::nullopt;
    }
    auto value = key->second.find(std::u16string(valueName));
    if (value == key->second.end()) {
        return std::nullopt;
    }
    return value->second;
}

std::map<std::u16string, std::u16string> CRegistry::ReadKey(std::u16string_view keyPath) const {
    std::lock_guard guard(FileLock());
    Keys keys;
    Load(keys);
    auto key = keys.find(keyPath);
    return key == keys.end() ? std::map<std::u16string, std::u16string>() : key->second;
}

std::uint64_t CRegistry::WriteCount() { return Writes().load(); }

bool CRegistry::Write(std::u16string_view keyPath, std::u16string_view valueName, std::u16string_view value) {
    std::lock_guard guard(FileLock());
    ++Writes();
    Keys keys;
    if (!Load(keys)) {
        return false;
    }
    keys[std::u16string(keyPath)][std::u16string(valueName)] = std::u16string(value);
    return Save(keys);
}
