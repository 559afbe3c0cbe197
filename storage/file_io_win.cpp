// Windows file layer: UTF-16 paths, CreateFileW with full sharing, ReadFile
// with an OVERLAPPED offset.
#ifdef _WIN32

#include "storage/file_io.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

namespace nivra::storage {

namespace {

// Turns a path too long for the classic API into an absolute "\\?\" path
// (the card directory may be 1023 bytes long). Returns false on failure.
bool to_long_path(std::wstring *path)
{
    DWORD n = GetFullPathNameW(path->c_str(), 0, nullptr, nullptr);
    if (n == 0)
        return false;
    std::wstring full(n, L'\0');
    n = GetFullPathNameW(path->c_str(), n, &full[0], nullptr);
    if (n == 0 || n >= full.size())
        return false;
    full.resize(n);
    if (full.compare(0, 4, L"\\\\?\\") == 0)
        *path = full;
    else if (full.compare(0, 2, L"\\\\") == 0)
        *path = L"\\\\?\\UNC\\" + full.substr(2);
    else
        *path = L"\\\\?\\" + full;
    return true;
}

// Converts UTF-8 to UTF-16; false for invalid UTF-8.
bool to_wide(const char *path, std::wstring *out)
{
    if (!path || !*path || !is_valid_utf8(path))
        return false;
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, nullptr, 0);
    if (n <= 0)
        return false;
    out->assign(static_cast<size_t>(n), L'\0');
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, &(*out)[0], n) != n)
        return false;
    out->resize(static_cast<size_t>(n - 1));
    if (out->size() >= MAX_PATH - 12)
        return to_long_path(out);
    return true;
}

HANDLE to_handle(FileHandle file)
{
    return reinterpret_cast<HANDLE>(file);
}

} // namespace

FileHandle file_open(const char *path)
{
    std::wstring wide;
    if (!to_wide(path, &wide))
        return kNoFile;
    HANDLE h = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS, nullptr);
    file_note_denied(h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED);
    if (h == INVALID_HANDLE_VALUE)
        return kNoFile;
    BY_HANDLE_FILE_INFORMATION info;
    // A device or pipe path is not a card file.
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        CloseHandle(h);
        return kNoFile;
    }
    return reinterpret_cast<FileHandle>(h);
}

void file_close(FileHandle file)
{
    if (file != kNoFile)
        CloseHandle(to_handle(file));
}

int64_t file_read_piece(FileHandle file, uint64_t offset, void *buffer, size_t length)
{
    OVERLAPPED ov{};
    ov.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    ov.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    if (!ReadFile(to_handle(file), buffer, static_cast<DWORD>(length), &got, &ov))
        return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
    return got;
}

int64_t file_size(FileHandle file)
{
    LARGE_INTEGER size;
    if (file == kNoFile || !GetFileSizeEx(to_handle(file), &size))
        return -1;
    return static_cast<int64_t>(size.QuadPart);
}

bool file_stat(const char *path, int64_t *size)
{
    std::wstring wide;
    if (!to_wide(path, &wide))
        return false;
    WIN32_FILE_ATTRIBUTE_DATA data;
    const bool found = GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data) != 0;
    file_note_denied(!found && GetLastError() == ERROR_ACCESS_DENIED);
    if (!found || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    if (size)
        *size = static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    return true;
}

} // namespace nivra::storage

#endif // _WIN32
