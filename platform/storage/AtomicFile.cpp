// Whole-file reads and atomic writes over the file operations table, which
// reports every failure (short writes, fsync, rename) that stream classes hide.
#include "platform/storage/AtomicFile.h"

#include "platform/storage/FileOps.h"

#include <cerrno>

namespace {

int WriteAll(IFileOps& ops, int fd, const uint8_t* data, size_t length) {
    while (length > 0) {
        size_t done = 0;
        if (int error = ops.Write(fd, data, length, done); error != 0) {
            return error;
        }
        if (done == 0) {
            return EIO; // a write that makes no progress would loop for ever
        }
        data += done;
        length -= done;
    }
    return 0;
}

std::string DirectoryOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

// The whole file behind fd; 0 or the errno value of the failure.
int ReadAll(IFileOps& ops, int fd, std::vector<uint8_t>& bytes) {
    FileInfo info;
    if (int error = ops.InfoOf(fd, info); error != 0) {
        return error;
    }
    if (info.kind != FileKind::Regular) {
        return info.kind == FileKind::Directory ? EISDIR : EINVAL;
    }
    bytes.reserve(static_cast<size_t>(info.size));
    uint8_t chunk[8192];
    for (;;) {
        size_t done = 0;
        if (int error = ops.Read(fd, chunk, sizeof chunk, done); error != 0) {
            return error;
        }
        if (done == 0) {
            return 0;
        }
        bytes.insert(bytes.end(), chunk, chunk + done);
    }
}

} // namespace

bool WriteFileAtomically(const std::string& path, const void* data, size_t length) {
    if (path.empty() || (data == nullptr && length > 0)) {
        return false;
    }
    IFileOps& ops = FileOps();
    std::string temp = path + ".tmpXXXXXX";
    int fd = -1;
    if (ops.CreateTemporary(temp, fd) != 0) {
        return false;
    }
    bool ok = WriteAll(ops, fd, static_cast<const uint8_t*>(data), length) == 0 && ops.Sync(fd) == 0;
    ok = ops.Close(fd) == 0 && ok;
    ok = ok && ops.Rename(temp, path) == 0;
    if (!ok) {
        ops.Remove(temp);
        return false;
    }
    // So that the rename itself survives a power loss; a failure here does
    // not undo the write, so it is not reported.
    ops.SyncDirectory(DirectoryOf(path));
    return true;
}

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path, int* error) {
    IFileOps& ops = FileOps();
    int fd = -1;
    int failure = ops.OpenForReading(path, fd);
    std::vector<uint8_t> bytes;
    if (failure == 0) {
        failure = ReadAll(ops, fd, bytes);
        ops.Close(fd);
    }
    if (error != nullptr) {
        *error = failure;
    }
    if (failure != 0) {
        return std::nullopt;
    }
    return bytes;
}

bool CopyFileAtomically(const std::string& from, const std::string& to) {
    const std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(from);
    return bytes && WriteFileAtomically(to, bytes->data(), bytes->size());
}
