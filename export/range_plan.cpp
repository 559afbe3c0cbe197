// Export writer, the planning: the runs of recording in a range, what an
// export of it will take, the pieces of an event batch export and the names
// of the files. Reads the card's index only; the copying is in
// export_writer.cpp.
#include "export/export_writer.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "export/export_internal.h"
#include "export/grow_array.h"

namespace {

bool pushRun(ExportRuns *runs, const ExportRun &run)
{
    if (!growArray(&runs->items, &runs->capacity, size_t(runs->count) + 1, 16))
        return false;
    runs->items[runs->count++] = run;
    return true;
}

} // namespace

int buildRuns(const card_reader *card, int64_t fromMs, int64_t toMs, ExportRuns *runs, int *missing)
{
    if (missing)
        *missing = 0;
    if (!card || !runs || toMs < fromMs)
        return CARD_ERR_ARGUMENT;
    runs->count = 0;
    const uint32_t from = clampSecond(fromMs), to = clampSecond(toMs);
    int count = 0;
    int rc = card_ranges(card, from, to, nullptr, 0, &count);
    if (rc != 0)
        return rc;
    if (count == 0)
        return 0;
    card_range *ranges = static_cast<card_range *>(calloc(size_t(count), sizeof(card_range)));
    if (!ranges)
        return CARD_ERR_NO_MEMORY;
    int got = 0;
    rc = card_ranges(card, from, to, ranges, count, &got);
    if (got < count)
        count = got;
    bool forceNew = false;
    for (int i = 0; rc == 0 && i < count; ++i) {
        const card_range &r = ranges[i];
        if (r.missing) {
            if (missing)
                *missing = 1;
            forceNew = true;
            continue;
        }
        int64_t start = int64_t(r.first) * 1000;
        int64_t end = card_last_ms(r.last);
        if (start < fromMs)
            start = fromMs;
        if (end > toMs)
            end = toMs;
        if (end < start)
            continue;
        ExportRun *last = runs->count ? &runs->items[runs->count - 1] : nullptr;
        if (forceNew || !last || start > last->endMs + kRunJoinMs) {
            if (!pushRun(runs, ExportRun{start, end, r.utc_offset_min, end}))
                rc = CARD_ERR_NO_MEMORY;
            forceNew = false;
        } else if (end > last->endMs) {
            last->endMs = end;
            last->lastMs = end;
        }
    }
    free(ranges);
    return rc;
}

namespace {

// Collects the usable keyframes inside one run.
struct KeyWalk
{
    int64_t startMs, endMs;
    bool any = false;
    int64_t firstMs = 0;
    int16_t firstOffset = 0;
    int64_t lastKeyMs = 0;
    bool havePrev = false;
    card_keyframe prev{};
    double byteSum = 0;
    double timeSum = 0;
};

int onKeyframe(const card_keyframe *k, void *context)
{
    KeyWalk *w = static_cast<KeyWalk *>(context);
    if (!k->usable || k->time_ms < w->startMs || k->time_ms > w->endMs)
        return 0;
    if (!w->any) {
        w->any = true;
        w->firstMs = k->time_ms;
        w->firstOffset = k->utc_offset_min;
    }
    w->lastKeyMs = k->time_ms;
    if (w->havePrev && w->prev.segment == k->segment && k->file_offset > w->prev.file_offset) {
        int64_t dt = k->time_ms - w->prev.time_ms;
        if (dt > 0 && dt <= 13000) {
            w->byteSum += double(k->file_offset - w->prev.file_offset);
            w->timeSum += double(dt);
        }
    }
    w->prev = *k;
    w->havePrev = true;
    return 0;
}

// Finds the last video frame at or before endMs, reading frame headers from
// the keyframe at keyMs on: the frame an export of the run ends with, and so
// the end of its file name. Returns 0 and sets *lastMs, or a reader error.
int lastVideoFrame(card_cursor *cursor, int64_t keyMs, int64_t endMs, int64_t *lastMs)
{
    *lastMs = keyMs;
    int rc = cursor_seek(cursor, uint64_t(keyMs), nullptr);
    if (rc != 0)
        return rc < 0 ? rc : 0;
    card_frame f;
    while ((rc = cursor_next(cursor, &f)) == 0) {
        if (f.type != CARD_FRAME_AUDIO) {
            if (f.time_ms > endMs)
                break;
            if (f.time_ms >= keyMs)
                *lastMs = f.time_ms;
        } else if (f.time_ms > endMs + kRunJoinMs) {
            break; // sound only from here on
        }
        cursor_skip(cursor);
    }
    return rc < 0 ? rc : 0;
}

} // namespace

int estimateExport(card_reader *card, int64_t fromMs, int64_t toMs, ExportEstimate *out)
{
    if (!out)
        return CARD_ERR_ARGUMENT;
    exportRunsFree(&out->runs);
    memset(out, 0, sizeof *out);
    int rc = buildRuns(card, fromMs, toMs, &out->runs, &out->missing);
    if (rc != 0)
        return rc;
    card_cursor *cursor = nullptr;
    rc = cursor_open(card, &cursor);
    if (rc != 0)
        return rc;
    double byteSum = 0, timeSum = 0;
    int kept = 0;
    for (int i = 0; rc == 0 && i < out->runs.count; ++i) {
        ExportRun r = out->runs.items[i];
        KeyWalk w;
        w.startMs = r.startMs;
        w.endMs = r.endMs;
        int64_t fs = r.startMs / 1000, ts = r.endMs / 1000;
        rc = card_keyframes(card, uint32_t(fs < 0 ? 0 : fs), uint32_t(ts < 0 ? 0 : ts), onKeyframe, &w);
        if (rc != 0)
            break;
        byteSum += w.byteSum;
        timeSum += w.timeSum;
        if (!w.any)
            continue;
        r.startMs = w.firstMs;
        r.offsetMin = w.firstOffset;
        rc = lastVideoFrame(cursor, w.lastKeyMs, r.endMs, &r.lastMs);
        out->runs.items[kept++] = r;
        out->durationMs += r.endMs - r.startMs;
    }
    cursor_close(cursor);
    out->runs.count = kept;
    if (rc != 0)
        return rc;
    if (timeSum > 0)
        out->bytes = uint64_t(byteSum / timeSum * double(out->durationMs));
    else
        out->bytes = uint64_t(out->durationMs) * 160;
    return 0;
}

namespace {

// Sorts pieces by start (insertion sort: events come almost in order) and
// joins the ones whose times overlap. Returns how many are left.
int mergePieces(ExportEventPiece *pieces, int count)
{
    for (int i = 1; i < count; ++i) {
        const ExportEventPiece p = pieces[i];
        int j = i;
        for (; j > 0 && pieces[j - 1].fromMs > p.fromMs; --j)
            pieces[j] = pieces[j - 1];
        pieces[j] = p;
    }
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        const ExportEventPiece &p = pieces[i];
        ExportEventPiece *last = kept > 0 ? &pieces[kept - 1] : nullptr;
        if (!last || p.fromMs > last->toMs) {
            pieces[kept++] = p;
            continue;
        }
        if (p.toMs > last->toMs)
            last->toMs = p.toMs;
        last->kinds = uint16_t(last->kinds | p.kinds);
        last->events += p.events;
        last->missing = last->missing || p.missing;
    }
    return kept;
}

// Collects the latest usable keyframe at or before a time.
struct KeyBefore
{
    int64_t atMs;
    int64_t bestMs = -1;
};

int onKeyBefore(const card_keyframe *k, void *context)
{
    KeyBefore *w = static_cast<KeyBefore *>(context);
    if (k->usable && k->time_ms <= w->atMs && k->time_ms > w->bestMs)
        w->bestMs = k->time_ms;
    return 0;
}

// Where a padded event's file starts: the key frame at or before t in the
// recording that holds t, so that the padding is kept whole; t itself when
// that key frame lies behind a gap (the file then starts at the next one).
int64_t paddedStart(card_reader *card, int64_t t)
{
    KeyBefore w{t};
    const int64_t from = t - 60000;
    if (card_keyframes(card, clampSecond(from < 0 ? 0 : from), clampSecond(t), onKeyBefore, &w) != 0 ||
        w.bestMs < 0 || w.bestMs >= t)
        return t;
    ExportRuns between{};
    const int rc = buildRuns(card, w.bestMs, t, &between, nullptr);
    const bool oneRecording = rc == 0 && between.count == 1 && between.items[0].startMs == w.bestMs;
    exportRunsFree(&between);
    return oneRecording ? w.bestMs : t;
}

} // namespace

int exportEventPieces(card_reader *card, const card_event *events, int count, uint16_t kinds,
                      uint32_t preSeconds, uint32_t postSeconds, int64_t fromMs, int64_t toMs,
                      ExportEventPiece *pieces, int *pieceCount, ExportSkippedEvent *skipped,
                      int *skippedCount)
{
    if (pieceCount)
        *pieceCount = 0;
    if (skippedCount)
        *skippedCount = 0;
    if (!card || count < 0 || !pieceCount || !skippedCount || (count > 0 && (!events || !pieces || !skipped)))
        return CARD_ERR_ARGUMENT;
    ExportEstimate est{};
    int made = 0, left = 0, rc = 0;
    for (int i = 0; i < count; ++i) {
        const card_event &e = events[i];
        const int64_t start = int64_t(e.first) * 1000;
        if (!(e.kinds & kinds) || start < fromMs || start > toMs)
            continue;
        const int64_t paddedFrom = start - int64_t(preSeconds) * 1000;
        const int64_t paddedTo = int64_t(e.last) * 1000 + int64_t(postSeconds) * 1000;
        rc = estimateExport(card, paddedStart(card, paddedFrom < 0 ? 0 : paddedFrom), paddedTo, &est);
        if (rc < 0)
            break;
        const ExportRuns &runs = est.runs;
        if (runs.count == 0)
            skipped[left++] = ExportSkippedEvent{e.first, e.last, e.kinds, est.missing ? 1 : 0};
        else
            pieces[made++] = ExportEventPiece{
                runs.items[0].startMs, runs.items[runs.count - 1].endMs, e.kinds, 1, est.missing ? 1 : 0, 0};
    }
    if (rc == 0) {
        made = mergePieces(pieces, made);
        // The bytes only size the progress of the export: a piece whose
        // estimate fails is still exported, without one.
        for (int i = 0; i < made; ++i)
            if (estimateExport(card, pieces[i].fromMs, pieces[i].toMs, &est) == 0)
                pieces[i].bytes = est.bytes;
        *pieceCount = made;
        *skippedCount = left;
    }
    exportRunsFree(&est.runs);
    if (rc < 0)
        return rc;
    return made > 0 ? EXPORT_OK : EXPORT_NOTHING;
}

int formatExportName(const char *prefix, int container, int64_t startMs, int64_t endMs,
                     int32_t startOffsetSec, int32_t endOffsetSec, char *out, size_t outSize)
{
    if (!out || outSize == 0)
        return CARD_ERR_ARGUMENT;
    CivilTime a = localTime(startMs, startOffsetSec);
    CivilTime b = localTime(endMs, endOffsetSec);
    int w = snprintf(out, outSize, "%s_%04d%02d%02d_%02d%02d%02d-%02d%02d%02d%s", prefix ? prefix : "NIVRA",
                     a.year, a.month, a.day, a.hour, a.minute, a.second, b.hour, b.minute, b.second,
                     container == 1 ? ".mp4" : ".mov");
    if (w < 0 || size_t(w) >= outSize) {
        out[0] = 0;
        return CARD_ERR_ARGUMENT;
    }
    return 0;
}

int64_t exportShortfallMs(const ExportResult *result)
{
    return result ? result->lostMs : 0;
}

int exportIncomplete(const ExportResult *result)
{
    return result && (result->skippedFrames > 0 || result->lostRuns > 0) ? 1 : 0;
}

void exportResultAdd(ExportResult *total, const ExportResult *one)
{
    if (!total || !one)
        return;
    total->files += one->files;
    total->bytes += one->bytes;
    total->audioLeftOut = total->audioLeftOut || one->audioLeftOut;
    total->skippedFrames += one->skippedFrames;
    total->plannedRuns += one->plannedRuns;
    total->plannedMs += one->plannedMs;
    total->writtenMs += one->writtenMs;
    total->lostRuns += one->lostRuns;
    total->lostMs += one->lostMs;
    if (one->keyframeIntervalMs > total->keyframeIntervalMs)
        total->keyframeIntervalMs = one->keyframeIntervalMs;
}

void exportRunsFree(ExportRuns *runs)
{
    if (!runs)
        return;
    free(runs->items);
    runs->items = nullptr;
    runs->count = runs->capacity = 0;
}
