// POSIX file facility: stdio with a 1 MiB buffer, fsync before close, and a
// rename that cannot replace an existing file, made durable by syncing the
// folder. On Linux the disk write-back of the data already written is started
// every few MiB, so the final fsync finds little left to do instead of
// waiting for the whole file.
#ifndef _WIN32

#ifdef __linux__
#ifndef _GNU_SOURCE
#define _GNU_SOURCE
#endif
#endif

#include "export/export_file.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

struct ExportFile
{
    FILE *file;
    uint64_t position;
    uint64_t writtenSinceKick; // bytes handed over since write-back was last started
    char *buffer;
};

namespace {
constexpr uint64_t kWriteBackStep = 8u << 20;

// Starts (does not wait for) the write-back of what the kernel holds.
void startWriteBack(ExportFile *f)
{
#ifdef __linux__
    sync_file_range(fileno(f->file), 0, 0, SYNC_FILE_RANGE_WRITE);
#else
    (void)f;
#endif
}
} // namespace

int exportFileCreate(const char *path, ExportFile **out)
{
    *out = nullptr;
    ExportFile *f = static_cast<ExportFile *>(calloc(1, sizeof(ExportFile)));
    if (!f)
        return -1;
    f->file = fopen(path, "wb");
    f->buffer = static_cast<char *>(malloc(1 << 20));
    if (!f->file || !f->buffer) {
        if (f->file)
            fclose(f->file);
        free(f->buffer);
        free(f);
        return -1;
    }
    setvbuf(f->file, f->buffer, _IOFBF, 1 << 20);
    *out = f;
    return 0;
}

int exportFileWriteAt(ExportFile *f, uint64_t offset, const void *data, size_t length)
{
    if (offset != f->position) {
        if (offset > uint64_t(INT64_MAX) || fseeko(f->file, off_t(offset), SEEK_SET) != 0)
            return -1;
        f->position = offset;
    }
    if (length && fwrite(data, 1, length, f->file) != length)
        return -1;
    f->position += length;
    f->writtenSinceKick += length;
    if (f->writtenSinceKick >= kWriteBackStep) {
        f->writtenSinceKick = 0;
        startWriteBack(f);
    }
    return 0;
}

static void release(ExportFile *f)
{
    free(f->buffer);
    free(f);
}

int exportFileCommit(ExportFile *f)
{
    int rc = fflush(f->file) == 0 && fsync(fileno(f->file)) == 0 ? 0 : -1;
    if (fclose(f->file) != 0)
        rc = -1;
    release(f);
    return rc;
}

void exportFileClose(ExportFile *f)
{
    if (!f)
        return;
    fclose(f->file);
    release(f);
}

// Syncs the folder holding path so that a rename survives a power loss.
static void syncFolder(const char *path)
{
    const char *slash = strrchr(path, '/');
    char folder[4096];
    size_t n = slash ? size_t(slash - path) : 0;
    if (n == 0 || n >= sizeof folder) {
        folder[0] = slash ? '/' : '.';
        folder[1] = 0;
    } else {
        memcpy(folder, path, n);
        folder[n] = 0;
    }
    int fd = open(folder, O_RDONLY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

int exportFileRename(const char *from, const char *to)
{
    // link() fails when `to` exists, so a file that appeared meanwhile is never
    // replaced; file systems without hard links fall back to rename().
    if (link(from, to) == 0) {
        unlink(from);
    } else if (errno == EEXIST) {
        return -1;
    } else {
        if (access(to, F_OK) == 0 || rename(from, to) != 0)
            return -1;
    }
    syncFolder(to);
    return 0;
}

int exportFileDelete(const char *path)
{
    return unlink(path) == 0 ? 0 : -1;
}

int exportPathExists(const char *path)
{
    struct stat st;
    return lstat(path, &st) == 0 ? 1 : 0;
}

int exportMakeFolder(const char *path)
{
    size_t n = strlen(path);
    char *copy = static_cast<char *>(malloc(n + 1));
    if (!copy)
        return -1;
    memcpy(copy, path, n + 1);
    // Each folder from the top down; one that exists already is fine, and
    // whether the whole path ends up a folder is what counts.
    for (size_t i = 1; i <= n; ++i) {
        if (i < n && copy[i] != '/')
            continue;
        char kept = copy[i];
        copy[i] = 0;
        mkdir(copy, 0777);
        copy[i] = kept;
    }
    free(copy);
    struct stat st;
    return stat(path, &st) == 0 && S_ISDIR(st.st_mode) ? 0 : -1;
}

namespace {

// The absolute form of path with links followed: the deepest part that
// exists resolved by the system, the rest appended with "." and ".." applied.
bool resolvePath(const char *path, std::string *out)
{
    std::string rest;
    std::string head = path;
    if (head.empty())
        return false;
    if (head[0] != '/') {
        char cwd[4096];
        if (!getcwd(cwd, sizeof cwd))
            return false;
        head = std::string(cwd) + "/" + head;
    }
    char resolved[PATH_MAX];
    while (!realpath(head.c_str(), resolved)) {
        const size_t slash = head.find_last_of('/');
        if (slash == std::string::npos || head.size() <= 1)
            return false;
        rest = head.substr(slash + 1) + (rest.empty() ? "" : "/" + rest);
        head = slash == 0 ? "/" : head.substr(0, slash);
    }
    std::string result = resolved;
    size_t start = 0;
    while (start <= rest.size()) {
        size_t end = rest.find('/', start);
        if (end == std::string::npos)
            end = rest.size();
        const std::string part = rest.substr(start, end - start);
        if (part == "..") {
            const size_t slash = result.find_last_of('/');
            result = slash == 0 || slash == std::string::npos ? "/" : result.substr(0, slash);
        } else if (!part.empty() && part != ".") {
            result += (result == "/" ? "" : "/") + part;
        }
        start = end + 1;
    }
    *out = result;
    return true;
}

} // namespace

int exportPathIsInside(const char *path, const char *folder)
{
    std::string p, f;
    if (!path || !folder || !resolvePath(path, &p) || !resolvePath(folder, &f))
        return 0;
    if (f == "/")
        return 1;
    return p == f || (p.size() > f.size() && p.compare(0, f.size(), f) == 0 && p[f.size()] == '/') ? 1 : 0;
}

int exportIsSeparator(char c)
{
    return c == '/';
}

char exportSeparator(void)
{
    return '/';
}

#endif
