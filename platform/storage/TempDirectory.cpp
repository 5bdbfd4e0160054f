// Scratch directories through mkdtemp and std::filesystem.
#include "platform/storage/TempDirectory.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

std::string MakeTempDirectory(const std::string& prefix) {
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error)
        return {};
    std::string pattern = (base / (prefix + "_XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr)
        return {};
    return pattern;
}

bool RemoveDirectoryTree(const std::string& path) {
    std::error_code error;
    std::filesystem::remove_all(path, error);
    return !error;
}
