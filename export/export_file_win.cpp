// Windows file facility: UTF-16 paths, a 1 MiB write buffer of our own,
// FlushFileBuffers before close and MoveFileExW with write-through.
#ifdef _WIN32

#include "export/export_file.h"

#include <stdlib.h>
#include <string.h>
#include <windows.h>

namespace {

constexpr size_t kBufferSize = 1 << 20;

// Converts a UTF-8 path to a newly allocated UTF-16 string; null on failure.
wchar_t *widen(const char *path)
{
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, nullptr, 0);
    if (n <= 0)
        return nullptr;
    wchar_t *w = static_cast<wchar_t *>(malloc(size_t(n) * sizeof(wchar_t)));
    if (w && MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, w, n) != n) {
        free(w);
        return nullptr;
    }
    return w;
}

} // namespace

struct ExportFile
{
    HANDLE handle;
    uint64_t position; // file position of the buffer's first byte
    unsigned char *buffer;
    size_t used;
};

static int flushBuffer(ExportFile *f)
{
    size_t done = 0;
    while (done < f->used) {
        DWORD wrote = 0;
        DWORD chunk = DWORD(f->used - done);
        if (!WriteFile(f->handle, f->buffer + done, chunk, &wrote, nullptr) || wrote != chunk)
            return -1;
        done += wrote;
    }
    f->position += f->used;
    f->used = 0;
    return 0;
}

int exportFileCreate(const char *path, ExportFile **out)
{
    *out = nullptr;
    wchar_t *w = widen(path);
    if (!w)
        return -1;
    HANDLE h = CreateFileW(w, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    free(w);
    if (h == INVALID_HANDLE_VALUE)
        return -1;
    ExportFile *f = static_cast<ExportFile *>(calloc(1, sizeof(ExportFile)));
    unsigned char *buffer = static_cast<unsigned char *>(malloc(kBufferSize));
    if (!f || !buffer) {
        free(f);
        free(buffer);
        CloseHandle(h);
        return -1;
    }
    f->handle = h;
    f->buffer = buffer;
    *out = f;
    return 0;
}

int exportFileWriteAt(ExportFile *f, uint64_t offset, const void *data, size_t length)
{
    if (offset != f->position + f->used) {
        if (flushBuffer(f) != 0)
            return -1;
        LARGE_INTEGER to;
        to.QuadPart = LONGLONG(offset);
        if (!SetFilePointerEx(f->handle, to, nullptr, FILE_BEGIN))
            return -1;
        f->position = offset;
    }
    const unsigned char *p = static_cast<const unsigned char *>(data);
    while (length > 0) {
        size_t n = kBufferSize - f->used;
        if (n > length)
            n = length;
        memcpy(f->buffer + f->used, p, n);
        f->used += n;
        p += n;
        length -= n;
        if (f->used == kBufferSize && flushBuffer(f) != 0)
            return -1;
    }
    return 0;
}

int exportFileCommit(ExportFile *f)
{
    int rc = flushBuffer(f) == 0 && FlushFileBuffers(f->handle) ? 0 : -1;
    if (!CloseHandle(f->handle))
        rc = -1;
    free(f->buffer);
    free(f);
    return rc;
}

void exportFileClose(ExportFile *f)
{
    if (!f)
        return;
    CloseHandle(f->handle);
    free(f->buffer);
    free(f);
}

int exportFileRename(const char *from, const char *to)
{
    wchar_t *a = widen(from);
    wchar_t *b = widen(to);
    // No MOVEFILE_REPLACE_EXISTING: a file that appeared meanwhile is kept.
    int rc = a && b && MoveFileExW(a, b, MOVEFILE_WRITE_THROUGH) ? 0 : -1;
    free(a);
    free(b);
    return rc;
}

int exportFileDelete(const char *path)
{
    wchar_t *w = widen(path);
    int rc = w && DeleteFileW(w) ? 0 : -1;
    free(w);
    return rc;
}

int exportPathExists(const char *path)
{
    wchar_t *w = widen(path);
    int rc = w && GetFileAttributesW(w) != INVALID_FILE_ATTRIBUTES ? 1 : 0;
    free(w);
    return rc;
}

int exportMakeFolder(const char *path)
{
    wchar_t *w = widen(path);
    if (!w)
        return -1;
    // Each folder from the top down (drive and share names fail harmlessly);
    // whether the whole path ends up a folder is what counts.
    size_t n = wcslen(w);
    for (size_t i = 1; i <= n; ++i) {
        if (i < n && w[i] != L'\\' && w[i] != L'/')
            continue;
        wchar_t kept = w[i];
        w[i] = 0;
        CreateDirectoryW(w, nullptr);
        w[i] = kept;
    }
    DWORD attributes = GetFileAttributesW(w);
    free(w);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : -1;
}

int exportPathIsInside(const char *path, const char *folder)
{
    wchar_t *p = widen(path);
    wchar_t *f = widen(folder);
    wchar_t fullPath[32768];
    wchar_t fullFolder[32768];
    int inside = 0;
    if (p && f && GetFullPathNameW(p, 32768, fullPath, nullptr) > 0 &&
        GetFullPathNameW(f, 32768, fullFolder, nullptr) > 0) {
        size_t n = wcslen(fullFolder);
        while (n > 0 && (fullFolder[n - 1] == L'\\' || fullFolder[n - 1] == L'/'))
            fullFolder[--n] = 0;
        const size_t m = wcslen(fullPath);
        // Windows compares file names without regard to case.
        inside = m >= n && CompareStringOrdinal(fullPath, int(n), fullFolder, int(n), TRUE) == CSTR_EQUAL &&
                 (m == n || fullPath[n] == L'\\' || fullPath[n] == L'/');
    }
    free(p);
    free(f);
    return inside;
}

int exportIsSeparator(char c)
{
    return c == '/' || c == '\\';
}

char exportSeparator(void)
{
    return '\\';
}

#endif
