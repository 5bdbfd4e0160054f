// The lock file over the file operations table (see the header).
#include "platform/storage/CFileLock.h"

#include "platform/storage/FileOps.h"

#include <cerrno>

CFileLock::~CFileLock() { Release(); }

CFileLock::Result CFileLock::TryLock(const std::string& path) {
    if (m_fd >= 0) {
        return Result::Acquired;
    }
    IFileOps& ops = FileOps();
    int fd = -1;
    if (ops.OpenForLocking(path, fd) != 0) {
        return Result::Failed;
    }
    if (int error = ops.TryLock(fd); error != 0) {
        ops.Close(fd);
        return error == EWOULDBLOCK ? Result::Held : Result::Failed;
    }
    m_fd = fd;
    return Result::Acquired;
}

void CFileLock::Release() {
    if (m_fd < 0) {
        return;
    }
    IFileOps& ops = FileOps();
    ops.Unlock(m_fd);
    ops.Close(m_fd);
    m_fd = -1;
}
