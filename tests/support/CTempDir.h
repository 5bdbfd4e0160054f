// A fresh directory under the system's temporary folder for one test,
// removed with everything in it when the object goes. Tests that make the
// directory or a file in it read-only still leave nothing behind: the
// removal gives the owner its rights back first.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CTempDir {
public:
    // Makes <temp>/<prefix>_XXXXXX; throws std::runtime_error when it
    // cannot (GoogleTest reports that as a failure of the fixture).
    explicit CTempDir(std::string_view prefix = "orb_test");
    ~CTempDir(); // removes the directory; errors are ignored
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(const std::filesystem::path& name) const { return m_path / name; }

    // A file's bytes; empty when it is missing or unreadable.
    std::vector<uint8_t> ReadBytes(const std::filesystem::path& name) const;
    // A file's bytes as a text (NULs kept); nullopt when it cannot be opened.
    std::optional<std::string> ReadText(const std::filesystem::path& name) const;
    // Replaces a file with bytes; false when it cannot be written.
    bool WriteBytes(const std::filesystem::path& name, std::string_view bytes) const;
    bool WriteBytes(const std::filesystem::path& name, const std::vector<uint8_t>& bytes) const;
    // The names of the entries directly inside, in directory order.
    std::vector<std::string> FileNames() const;

private:
    std::filesystem::path m_path;
};
