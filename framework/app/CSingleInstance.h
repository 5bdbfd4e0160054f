// One running program per data directory. The phone used a named mutex for
// this; here an exclusive flock on a lock file inside the data directory
// stands in for it. The lock belongs to the open file, so it is released
// when the holder closes it or the process ends in any way (a crash
// included), and a second holder in the same process is refused as well.
//
// Unlike the phone, a refused start cannot bring the running program's
// window to the front: desktop windows of another process are out of reach.
#pragma once

#include <string>

class CSingleInstance {
public:
    static constexpr const char* kLockFileName = "OrbStock.lock";

    CSingleInstance() = default;
    ~CSingleInstance(); // Release
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;

    enum class Result {
        Acquired,      // this object holds the lock now (or held it already)
        RunningAlready, // another holder has it
        Failed,        // the directory or the lock file could not be made
    };

    // Creates dataDir (and its parents) when missing and takes the lock
    // without waiting.
    Result Acquire(const std::string& dataDir);
    bool IsHeld() const { return m_fd >= 0; }
    // Gives the lock up; harmless when not held.
    void Release();

private:
    int m_fd = -1; // the open lock file while held
};
