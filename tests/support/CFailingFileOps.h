// A file operations table that fails one chosen operation with a chosen
// errno, as a full disk or a read-only directory would, and passes every
// other operation to the system. It is in use from its making to its end,
// when the table before it is back. Header-only: the suites using it link
// the platform library.
#pragma once

#include "platform/storage/FileOps.h"

enum class FileOp {
    OpenForReading,
    OpenForLocking,
    CreateTemporary,
    Read,
    Write,
    Sync,
    Close,
    Rename,
    MakeDirectory,
    TryLock,
};

struct FileFault {
    const char* what; // the situation, for the test's trace
    FileOp op;
    int error;
};

class CFailingFileOps : public CPosixFileOps {
public:
    explicit CFailingFileOps(FileFault fault) : m_fault(fault) { m_previous = InstallFileOps(this); }
    ~CFailingFileOps() override { InstallFileOps(m_previous); }
    CFailingFileOps(const CFailingFileOps&) = delete;
    CFailingFileOps& operator=(const CFailingFileOps&) = delete;

    // How often the chosen operation was asked for (and failed): a test that
    // sees 0 has bypassed the table.
    int Failures() const { return m_failures; }

    int OpenForReading(const std::string& path, int& fd) override {
        return Fails(FileOp::OpenForReading) ? m_fault.error : CPosixFileOps::OpenForReading(path, fd);
    }
    int OpenForLocking(const std::string& path, int& fd) override {
        return Fails(FileOp::OpenForLocking) ? m_fault.error : CPosixFileOps::OpenForLocking(path, fd);
    }
    int CreateTemporary(std::string& pathTemplate, int& fd) override {
        return Fails(FileOp::CreateTemporary) ? m_fault.error
                                              : CPosixFileOps::CreateTemporary(pathTemplate, fd);
    }
    int Read(int fd, void* buffer, size_t length, size_t& done) override {
        done = 0;
        return Fails(FileOp::Read) ? m_fault.error : CPosixFileOps::Read(fd, buffer, length, done);
    }
    int Write(int fd, const void* data, size_t length, size_t& done) override {
        done = 0;
        return Fails(FileOp::Write) ? m_fault.error : CPosixFileOps::Write(fd, data, length, done);
    }
    int Sync(int fd) override { return Fails(FileOp::Sync) ? m_fault.error : CPosixFileOps::Sync(fd); }
    // The descriptor goes either way, as with the system's close.
    int Close(int fd) override {
        int error = CPosixFileOps::Close(fd);
        return Fails(FileOp::Close) ? m_fault.error : error;
    }
    int Rename(const std::string& from, const std::string& to) override {
        return Fails(FileOp::Rename) ? m_fault.error : CPosixFileOps::Rename(from, to);
    }
    int MakeDirectory(const std::string& path, unsigned mode) override {
        return Fails(FileOp::MakeDirectory) ? m_fault.error : CPosixFileOps::MakeDirectory(path, mode);
    }
    int TryLock(int fd) override {
        return Fails(FileOp::TryLock) ? m_fault.error : CPosixFileOps::TryLock(fd);
    }

private:
    bool Fails(FileOp op) {
        if (op != m_fault.op) {
            return false;
        }
        ++m_failures;
        return true;
    }

    FileFault m_fault;
    IFileOps* m_previous = nullptr;
    int m_failures = 0;
};
