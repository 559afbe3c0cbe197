// The operating-system file layer of the card reader: the only code that
// touches the file system. Read-only, positional, UTF-8 paths.
#pragma once

#include <stddef.h>
#include <stdint.h>

namespace nivra::storage {

// An open file; kNoFile when none. A file descriptor on POSIX, a HANDLE on
// Windows.
using FileHandle = intptr_t;
constexpr FileHandle kNoFile = -1;

// Largest single read request handed to the operating system.
constexpr size_t kMaxReadPiece = 0x40000000;

// Returns true when path is well-formed UTF-8 (no overlong forms, surrogates or
// code points above U+10FFFF). Paths that are not cannot be opened.
bool is_valid_utf8(const char *path);

// Opens an existing regular file read-only, letting other programs read,
// write and delete it, with a random-access hint. Returns the handle or
// kNoFile; anything that is not a regular file (a directory, a named pipe, a
// device) is refused without blocking.
FileHandle file_open(const char *path);

// True when the last file_open or file_stat of this thread failed because the
// user may not read the file or search its folder.
bool file_last_denied();

// Closes the file; kNoFile is a no-op.
void file_close(FileHandle file);

// Reads up to length bytes at offset into buffer, in pieces of at most 1 GiB.
// Returns the bytes read (fewer at the end of the file), or -1 on an error
// before anything was read.
int64_t file_read_at(FileHandle file, uint64_t offset, void *buffer, size_t length);

// Returns the size of the open file, or -1.
int64_t file_size(FileHandle file);

// Learns from the attributes of path whether it is a regular file and its
// size. Returns true and sets *size for an existing file; false when it is
// absent, a directory, a named pipe or device, or cannot be examined.
bool file_stat(const char *path, int64_t *size);

// One read of at most kMaxReadPiece bytes at offset (platform files):
// returns the bytes read, 0 at the end of the file, -1 on an error; retries
// an interrupted call itself.
int64_t file_read_piece(FileHandle file, uint64_t offset, void *buffer, size_t length);

// Returns the bytes read by file_read_at in this process so far (for the
// benchmark's accounting).
uint64_t file_bytes_read_total();

// Adds length to that count (called by the platform files).
void file_count_read(size_t length);

// Counts one file_read_at call; false when the test hook below says that it
// must fail (called by the platform files).
bool file_read_begin();

// Records whether the open or stat just made failed for want of permission
// (called by the platform files).
void file_note_denied(bool denied);

// Test hook for fault injection: restarts the call count, and from the
// call-th file_read_at on every read fails as an I/O error does; 0 turns it
// off. Affects the whole process.
void file_fail_reads_from(uint64_t call);

// Returns the file_read_at calls since the last file_fail_reads_from().
uint64_t file_read_calls();

} // namespace nivra::storage
