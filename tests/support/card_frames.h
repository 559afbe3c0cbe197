// Reads a simulator card's frames straight through the storage cursor, so
// tests can compare what the decoders and the worker produce with what the
// card holds.
#pragma once

#include "storage/card.h"

#include <QByteArray>
#include <QList>
#include <QVideoFrame>

#include "stamp.h"

namespace nivra::test {

struct CardFrame
{
    card_frame header{};
    QByteArray payload;
};

// Every frame from time 0 on (payloads only for the types wanted).
inline QList<CardFrame> readCardFrames(card_reader *card, bool video, bool audio)
{
    QList<CardFrame> frames;
    card_cursor *cursor = nullptr;
    if (cursor_open(card, &cursor) != CARD_OK)
        return frames;
    if (cursor_seek(cursor, 0, nullptr) == CARD_OK) {
        card_frame header{};
        while (cursor_next(cursor, &header) == CARD_OK) {
            const bool isAudio = header.type == CARD_FRAME_AUDIO;
            if ((isAudio && !audio) || (!isAudio && !video)) {
                cursor_skip(cursor);
                continue;
            }
            CardFrame frame;
            frame.header = header;
            frame.payload.resize(qsizetype(header.size));
            if (cursor_read(cursor, frame.payload.data(), size_t(frame.payload.size())) != CARD_OK)
                break;
            frames.append(frame);
        }
    }
    cursor_close(cursor);
    return frames;
}

// The time code drawn into a decoded picture, or -1 when there is none.
inline qlonglong pictureStamp(QVideoFrame picture)
{
    if (!picture.map(QVideoFrame::ReadOnly))
        return -1;
    int64_t value = -1;
    const bool ok =
        readStamp(picture.bits(0), picture.bytesPerLine(0), picture.width(), picture.height(), &value);
    picture.unmap();
    return ok ? qlonglong(value) : -1;
}

} // namespace nivra::test
