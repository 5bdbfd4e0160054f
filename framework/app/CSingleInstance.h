// One running program per data directory. The phone used a named mutex for
// this; here an exclusive lock on a lock file inside the data directory
// (CFileLock) stands in for it, released when the program ends in any way.
//
// Unlike the phone, a refused start cannot bring the running program's
// window to the front: desktop windows of another process are out of reach.
#pragma once

#include "platform/storage/CFileLock.h"

#include <string>

class CSingleInstance {
public:
    static constexpr const char* kLockFileName = "OrbStock.lock";

    enum class Result {
        Acquired,       // this object holds the lock now (or held it already)
        RunningAlready, // another holder has it
        Failed,         // the directory or the lock file could not be made
    };

    // Creates dataDir (and its parents) when missing and takes the lock
    // without waiting.
    Result Acquire(const std::string& dataDir);
    bool IsHeld() const { return m_lock.IsHeld(); }
    // Gives the lock up; harmless when not held. The destructor does too.
    void Release() { m_lock.Release(); }

private:
    CFileLock m_lock;
};
