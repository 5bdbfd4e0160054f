// The lock file of the running program (see the header).
#include "framework/app/CSingleInstance.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <system_error>
#include <unistd.h>

CSingleInstance::~CSingleInstance() { Release(); }

CSingleInstance::Result CSingleInstance::Acquire(const std::string& dataDir) {
    if (m_fd >= 0)
        return Result::Acquired;
    std::error_code error;
    std::filesystem::create_directories(dataDir, error);
    if (error)
        return Result::Failed;
    std::string path = dataDir + "/" + kLockFileName;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return Result::Failed;
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc < 0 && errno == EINTR);
    if (rc < 0) {
        bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return held ? Result::RunningAlready : Result::Failed;
    }
    m_fd = fd;
    return Result::Acquired;
}

void CSingleInstance::Release() {
    if (m_fd < 0)
        return;
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = -1;
}
