// Platform-independent parts of the file layer.
#include "storage/file_io.h"

#include <atomic>
#include <stdint.h>

namespace nivra::storage {

namespace {
std::atomic<uint64_t> g_bytes_read{0};
std::atomic<uint64_t> g_read_calls{0};
std::atomic<uint64_t> g_fail_from{0};
} // namespace

int64_t file_read_at(FileHandle file, uint64_t offset, void *buffer, size_t length)
{
    if (file == kNoFile || !file_read_begin())
        return -1;
    auto *out = static_cast<unsigned char *>(buffer);
    size_t done = 0;
    while (done < length) {
        size_t piece = length - done;
        if (piece > kMaxReadPiece)
            piece = kMaxReadPiece;
        const uint64_t at = offset + done;
        if (at > static_cast<uint64_t>(INT64_MAX))
            break;
        const int64_t n = file_read_piece(file, at, out + done, piece);
        if (n < 0) {
            if (done == 0)
                return -1;
            break; // what was read before the error is still good
        }
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    file_count_read(done);
    return static_cast<int64_t>(done);
}

bool is_valid_utf8(const char *path)
{
    const auto *p = reinterpret_cast<const unsigned char *>(path);
    while (*p) {
        unsigned c = *p;
        int extra;
        unsigned min;
        if (c < 0x80) {
            ++p;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            min = 0x80;
            c &= 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            min = 0x800;
            c &= 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            min = 0x10000;
            c &= 0x07;
        } else {
            return false;
        }
        ++p;
        for (int i = 0; i < extra; ++i, ++p) {
            if ((*p & 0xC0) != 0x80)
                return false; // also stops at the terminating zero
            c = (c << 6) | (*p & 0x3F);
        }
        if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
    }
    return true;
}

namespace {
thread_local bool t_denied = false;
} // namespace

bool file_last_denied()
{
    return t_denied;
}

void file_note_denied(bool denied)
{
    t_denied = denied;
}

void file_count_read(size_t length)
{
    g_bytes_read.fetch_add(length, std::memory_order_relaxed);
}

uint64_t file_bytes_read_total()
{
    return g_bytes_read.load(std::memory_order_relaxed);
}

bool file_read_begin()
{
    const uint64_t call = g_read_calls.fetch_add(1, std::memory_order_relaxed) + 1;
    const uint64_t from = g_fail_from.load(std::memory_order_relaxed);
    return from == 0 || call < from;
}

void file_fail_reads_from(uint64_t call)
{
    g_read_calls.store(0, std::memory_order_relaxed);
    g_fail_from.store(call, std::memory_order_relaxed);
}

uint64_t file_read_calls()
{
    return g_read_calls.load(std::memory_order_relaxed);
}

} // namespace nivra::storage
