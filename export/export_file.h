// The file facility of the export writer: an output file written through a
// 1 MiB buffer at 64-bit offsets, committed to disk before it is renamed with
// write-through, plus delete and exists. Paths are UTF-8.
#pragma once

#include <stddef.h>
#include <stdint.h>

struct ExportFile;

// Creates (truncating) path for writing. Returns 0 and *out, or -1.
int exportFileCreate(const char *path, ExportFile **out);

// Writes length bytes at offset (seeking only when it differs from the
// current position). Returns 0, or -1 on a failed seek or short write.
int exportFileWriteAt(ExportFile *file, uint64_t offset, const void *data, size_t length);

// Flushes, commits to disk and closes the file. Returns 0 or -1; the handle is
// released either way.
int exportFileCommit(ExportFile *file);

// Closes without committing; null is a no-op.
void exportFileClose(ExportFile *file);

// Renames from to to, durably, never replacing an existing to. Returns 0 or -1.
int exportFileRename(const char *from, const char *to);

// Deletes path. Returns 0 or -1.
int exportFileDelete(const char *path);

// Returns 1 when something exists at path, else 0.
int exportPathExists(const char *path);

// Creates the folder path and every missing folder above it. Returns 0 when
// path is a folder afterwards, else -1.
int exportMakeFolder(const char *path);

// Returns 1 when path, with links followed and "." and ".." resolved (as far
// as it exists), is folder or lies inside it; 0 when not, or when folder
// cannot be resolved. path need not exist yet: an output folder is checked
// before it is made.
int exportPathIsInside(const char *path, const char *folder);

// Returns 1 when c separates folders in a path on this platform.
int exportIsSeparator(char c);

// The separator appended to a folder.
char exportSeparator(void);
