// An exclusive lock on a lock file, taken without waiting. The lock belongs
// to the open file, so it is released when the holder releases it or the
// process ends in any way (a crash included), and a second holder in the same
// process is refused as well.
#pragma once

#include <string>

class CFileLock {
public:
    CFileLock() = default;
    ~CFileLock(); // Release
    CFileLock(const CFileLock&) = delete;
    CFileLock& operator=(const CFileLock&) = delete;

    enum class Result {
        Acquired, // this object holds the lock now (or held it already)
        Held,     // another holder has it
        Failed,   // the lock file could not be opened or made
    };

    // Opens path (creating it readable and writable by its owner only) and
    // takes the lock; the directory must exist.
    Result TryLock(const std::string& path);
    bool IsHeld() const { return m_fd >= 0; }
    // Gives the lock up; harmless when not held.
    void Release();

private:
    int m_fd = -1; // the open lock file while held
};
