// POSIX file layer: open/pread/fstat with a random-access hint.
#include "storage/file_io.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nivra::storage {

FileHandle file_open(const char *path)
{
    if (!path || !is_valid_utf8(path))
        return kNoFile;
    // Non-blocking, so that a named pipe or a device in place of a card file
    // cannot hang the open; only a regular file is kept, then made blocking.
    int fd;
    do {
        fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    file_note_denied(fd < 0 && (errno == EACCES || errno == EPERM));
    if (fd < 0)
        return kNoFile;
    struct stat st;
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || flags < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return kNoFile;
    }
#if defined(POSIX_FADV_RANDOM)
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_RANDOM);
#endif
    return fd;
}

void file_close(FileHandle file)
{
    if (file != kNoFile)
        ::close(static_cast<int>(file));
}

int64_t file_read_piece(FileHandle file, uint64_t offset, void *buffer, size_t length)
{
    for (;;) {
        const ssize_t n = ::pread(static_cast<int>(file), buffer, length, static_cast<off_t>(offset));
        if (n >= 0)
            return n;
        if (errno != EINTR)
            return -1;
    }
}

int64_t file_size(FileHandle file)
{
    struct stat st;
    if (file == kNoFile || ::fstat(static_cast<int>(file), &st) != 0)
        return -1;
    return static_cast<int64_t>(st.st_size);
}

bool file_stat(const char *path, int64_t *size)
{
    struct stat st;
    const bool found = path && is_valid_utf8(path) && ::stat(path, &st) == 0;
    file_note_denied(!found && (errno == EACCES || errno == EPERM));
    if (!found || !S_ISREG(st.st_mode))
        return false;
    if (size)
        *size = static_cast<int64_t>(st.st_size);
    return true;
}

} // namespace nivra::storage
