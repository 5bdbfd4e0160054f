// Whole-file reads and all-or-nothing writes for the program's data files.
//
// The settings, the registry and the ".dat" files are small and rewritten
// whole, and a phone can lose power at any moment, so a write never touches
// the old file: the bytes go to a temporary file in the same directory, which
// is synced and then renamed over the target. A reader sees the old file or
// the new one, never a torn one; a failed write leaves the old file and no
// temporary file. Both go through the file operations table (FileOps.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Writes data[0 .. length) as the file at path (native UTF-8 path), replacing
// it atomically; a new file is readable and writable by its owner only.
// Returns false, with the old file unchanged and no temporary file left, when
// any step fails (directory not writable, disk full, ...).
bool WriteFileAtomically(const std::string& path, const void* data, size_t length);

// The whole contents of the regular file at path; nullopt when it is missing,
// not a regular file or cannot be read. With error given, *error is then the
// errno value of the failure (ENOENT: missing) and 0 on success.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path, int* error = nullptr);

// Replaces the file at to with a copy of the regular file at from, as
// WriteFileAtomically does; false, with to unchanged, when either step fails.
bool CopyFileAtomically(const std::string& from, const std::string& to);
