// The lock file of the running program (see the header).
#include "framework/app/CSingleInstance.h"

#include "platform/storage/FileOps.h"

CSingleInstance::Result CSingleInstance::Acquire(const std::string& dataDir) {
    if (m_lock.IsHeld()) {
        return Result::Acquired;
    }
    if (MakeDirectories(dataDir) != 0) {
        return Result::Failed;
    }
    switch (m_lock.TryLock(dataDir + "/" + kLockFileName)) {
    case CFileLock::Result::Acquired:
        return Result::Acquired;
    case CFileLock::Result::Held:
        return Result::RunningAlready;
    case CFileLock::Result::Failed:
        break;
    }
    return Result::Failed;
}
