// Making and removing a test's temporary directory (see CTempDir.h).
#include "support/CTempDir.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Gives the owner every right on dir and on each directory below it, so
// that a test that took them away cannot block the removal.
void GiveBackRights(const fs::path& dir) {
    std::error_code ec;
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec))
            GiveBackRights(it->path());
    }
}

} // namespace

CTempDir::CTempDir(std::string_view prefix) {
    std::error_code ec;
    const fs::path base = fs::temp_directory_path(ec);
    if (ec)
        throw std::runtime_error("no temporary folder: " + ec.message());
    std::string pattern = (base / (std::string(prefix) + "_XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a directory like " + pattern);
    m_path = pattern;
}

CTempDir::~CTempDir() {
    std::error_code ec;
    GiveBackRights(m_path);
    fs::remove_all(m_path, ec);
}

std::vector<uint8_t> CTempDir::ReadBytes(const fs::path& name) const {
    std::ifstream in(m_path / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::optional<std::string> CTempDir::ReadText(const fs::path& name) const {
    std::ifstream in(m_path / name, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool CTempDir::WriteBytes(const fs::path& name, std::string_view bytes) const {
    std::ofstream out(m_path / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool CTempDir::WriteBytes(const fs::path& name, const std::vector<uint8_t>& bytes) const {
    return WriteBytes(name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::vector<std::string> CTempDir::FileNames() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_path))
        names.push_back(entry.path().filename().string());
    return names;
}
