// The POSIX file operations, the installed table and the helpers built on it.
#include "platform/storage/FileOps.h"

#include <atomic>
#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// 0 when a call returning rc succeeded, otherwise its errno.
int ErrorOf(long rc) { return rc < 0 ? errno : 0; }

int OpenRetried(const char* path, int flags, mode_t mode, int& fd) {
    do {
        fd = ::open(path, flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return ErrorOf(fd);
}

void FillInfo(const struct stat& st, FileInfo& info) {
    info.kind = S_ISREG(st.st_mode)   ? FileKind::Regular
                : S_ISDIR(st.st_mode) ? FileKind::Directory
                                      : FileKind::Other;
    info.size = st.st_size > 0 ? static_cast<uint64_t>(st.st_size) : 0;
}

// Never destroyed, so that a static object releasing its lock at exit still
// finds it.
CPosixFileOps& Posix() {
    static CPosixFileOps& ops = *new CPosixFileOps;
    return ops;
}

std::atomic<IFileOps*> g_installed{nullptr};

} // namespace

int CPosixFileOps::OpenForReading(const std::string& path, int& fd) {
    return OpenRetried(path.c_str(), O_RDONLY, 0, fd);
}

int CPosixFileOps::OpenForLocking(const std::string& path, int& fd) {
    return OpenRetried(path.c_str(), O_RDWR | O_CREAT, 0600, fd);
}

int CPosixFileOps::CreateTemporary(std::string& pathTemplate, int& fd) {
    fd = ::mkostemp(pathTemplate.data(), O_CLOEXEC);
    return ErrorOf(fd);
}

int CPosixFileOps::Read(int fd, void* buffer, size_t length, size_t& done) {
    ssize_t n;
    do {
        n = ::read(fd, buffer, length);
    } while (n < 0 && errno == EINTR);
    done = n > 0 ? static_cast<size_t>(n) : 0;
    return ErrorOf(n);
}

int CPosixFileOps::Write(int fd, const void* data, size_t length, size_t& done) {
    ssize_t n;
    do {
        n = ::write(fd, data, length);
    } while (n < 0 && errno == EINTR);
    done = n > 0 ? static_cast<size_t>(n) : 0;
    return ErrorOf(n);
}

int CPosixFileOps::Sync(int fd) { return ErrorOf(::fsync(fd)); }

// Not retried on EINTR: the descriptor is released either way on Linux.
int CPosixFileOps::Close(int fd) { return ErrorOf(::close(fd)); }

int CPosixFileOps::InfoOf(int fd, FileInfo& info) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        return errno;
    }
    FillInfo(st, info);
    return 0;
}

int CPosixFileOps::InfoAt(const std::string& path, FileInfo& info) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return errno;
    }
    FillInfo(st, info);
    return 0;
}

int CPosixFileOps::Rename(const std::string& from, const std::string& to) {
    return ErrorOf(::rename(from.c_str(), to.c_str()));
}

int CPosixFileOps::Remove(const std::string& path) { return ErrorOf(::unlink(path.c_str())); }

int CPosixFileOps::MakeDirectory(const std::string& path, unsigned mode) {
    return ErrorOf(::mkdir(path.c_str(), static_cast<mode_t>(mode)));
}

int CPosixFileOps::SyncDirectory(const std::string& path) {
    int fd = -1;
    if (int error = OpenRetried(path.c_str(), O_RDONLY | O_DIRECTORY, 0, fd); error != 0) {
        return error;
    }
    int error = ErrorOf(::fsync(fd));
    ::close(fd);
    return error;
}

int CPosixFileOps::TryLock(int fd) {
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc < 0 && errno == EINTR);
    return ErrorOf(rc);
}

int CPosixFileOps::Unlock(int fd) { return ErrorOf(::flock(fd, LOCK_UN)); }

IFileOps& FileOps() {
    IFileOps* ops = g_installed.load();
    return ops != nullptr ? *ops : Posix();
}

IFileOps* InstallFileOps(IFileOps* ops) { return g_installed.exchange(ops); }

bool IsRegularFile(const std::string& path) {
    FileInfo info;
    return FileOps().InfoAt(path, info) == 0 && info.kind == FileKind::Regular;
}

int MakeDirectories(const std::string& path, unsigned mode) {
    if (path.empty()) {
        return ENOENT;
    }
    IFileOps& ops = FileOps();
    // Each prefix that ends before a slash, then the whole path; a prefix
    // ending in a slash (the root, a doubled or trailing slash) adds nothing.
    size_t end = 0;
    do {
        end = path.find('/', end + 1);
        std::string prefix = path.substr(0, end);
        if (prefix.empty() || prefix.back() == '/') {
            continue;
        }
        FileInfo info;
        int error = ops.InfoAt(prefix, info);
        if (error == ENOENT) {
            error = ops.MakeDirectory(prefix, mode);
            // Another process may have made it in between.
            if (error == EEXIST) {
                error = ops.InfoAt(prefix, info);
            } else if (error == 0) {
                info.kind = FileKind::Directory;
            }
        }
        if (error != 0) {
            return error;
        }
        if (info.kind != FileKind::Directory) {
            return ENOTDIR;
        }
    } while (end != std::string::npos);
    return 0;
}
