// The table of file operations through which all of the program's own file
// work reaches the system: the atomic replace and whole-file reads
// (AtomicFile.h), the registry file, directories, existence and the instance
// lock. The default table speaks POSIX. A test installs one of its own that
// fails a chosen operation with a chosen errno, so that a full disk or a
// read-only directory can be met even by root, who writes anywhere.
//
// The local database makes and opens its files through this table too
// before SQLite, which does its own file work, is handed them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

enum class FileKind { Regular, Directory, Other };

struct FileInfo {
    FileKind kind = FileKind::Other;
    uint64_t size = 0;
};

// Every method returns 0 on success or the errno value of the failure; an
// interrupted open, read, write or lock is retried, not reported. Descriptors
// are closed on exec.
class IFileOps {
public:
    virtual ~IFileOps() = default;

    // Opens an existing file (or directory) for reading.
    virtual int OpenForReading(const std::string& path, int& fd) = 0;
    // Opens path for reading and writing, creating it readable and writable
    // by its owner only when missing.
    virtual int OpenForLocking(const std::string& path, int& fd) = 0;
    // Creates and opens a new file readable and writable by its owner only.
    // The last six characters of pathTemplate are "XXXXXX"; on success they
    // hold the name made.
    virtual int CreateTemporary(std::string& pathTemplate, int& fd) = 0;
    // Reads up to length bytes; done is 0 at the end of the file.
    virtual int Read(int fd, void* buffer, size_t length, size_t& done) = 0;
    // Writes up to length bytes; done may fall short of length.
    virtual int Write(int fd, const void* data, size_t length, size_t& done) = 0;
    virtual int Sync(int fd) = 0;
    // The descriptor is gone even when this reports a failure.
    virtual int Close(int fd) = 0;
    virtual int InfoOf(int fd, FileInfo& info) = 0;
    // Follows symbolic links; ENOENT when nothing is there.
    virtual int InfoAt(const std::string& path, FileInfo& info) = 0;
    virtual int Rename(const std::string& from, const std::string& to) = 0;
    virtual int Remove(const std::string& path) = 0;
    // One directory; EEXIST when something is there already.
    virtual int MakeDirectory(const std::string& path, unsigned mode) = 0;
    // Makes the directory's entries (a rename into it) durable.
    virtual int SyncDirectory(const std::string& path) = 0;
    // An exclusive lock on the open file without waiting; EWOULDBLOCK while
    // another open file holds it, in this process or another.
    virtual int TryLock(int fd) = 0;
    virtual int Unlock(int fd) = 0;
};

// The system's own operations. A test table derives from it and overrides
// the operation it makes fail.
class CPosixFileOps : public IFileOps {
public:
    int OpenForReading(const std::string& path, int& fd) override;
    int OpenForLocking(const std::string& path, int& fd) override;
    int CreateTemporary(std::string& pathTemplate, int& fd) override;
    int Read(int fd, void* buffer, size_t length, size_t& done) override;
    int Write(int fd, const void* data, size_t length, size_t& done) override;
    int Sync(int fd) override;
    int Close(int fd) override;
    int InfoOf(int fd, FileInfo& info) override;
    int InfoAt(const std::string& path, FileInfo& info) override;
    int Rename(const std::string& from, const std::string& to) override;
    int Remove(const std::string& path) override;
    int MakeDirectory(const std::string& path, unsigned mode) override;
    int SyncDirectory(const std::string& path) override;
    int TryLock(int fd) override;
    int Unlock(int fd) override;
};

// The table in use: the POSIX one unless a test installed another.
IFileOps& FileOps();
// Makes ops the table in use (null: the POSIX one again) and returns the
// table it replaces, null for the POSIX one. The caller keeps ops alive while
// it is installed and installs it while no other thread works with files.
IFileOps* InstallFileOps(IFileOps* ops);

// True when path names a regular file (through symbolic links).
bool IsRegularFile(const std::string& path);
// Makes the directory at path and every missing parent, each with mode
// (less the umask). 0 when it is a directory afterwards, made or found;
// otherwise the errno value of the first failure (ENOTDIR when a file is in
// the way, ENOENT for an empty path).
int MakeDirectories(const std::string& path, unsigned mode = 0777);
