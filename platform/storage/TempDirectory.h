// Scratch directories for the programs in tools/ (the screenshot tour gives
// each step a fresh data directory). They hold no data of the program's own,
// so they do not go through the file operations table (FileOps.h).
#pragma once

#include <string>

// Makes a new directory "<prefix>_XXXXXX" in the system's temporary folder,
// readable and writable by its owner only; its path, or empty on failure.
std::string MakeTempDirectory(const std::string& prefix);

// Removes path and everything below it, without following symbolic links;
// false when something could not be removed. A missing path is no failure.
bool RemoveDirectoryTree(const std::string& path);
