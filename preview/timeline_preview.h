// TimelinePreview: the small picture over the timeline's hover text, the key
// frame at or before the hovered time scaled into the item. The pictures come
// from a PreviewSource: a thread of its own, below normal priority, with its
// own read cursor and decoder, that decodes one key frame at a time and only
// the newest one asked for. Recent pictures are kept, so moving back and forth
// over the same stretch decodes nothing.
#pragma once

#include "base/worker_thread.h"
#include "storage/card.h"

#include <QImage>
#include <QPointer>
#include <QQuickPaintedItem>
#include <QSize>
#include <QVideoFrame>

#include <functional>
#include <list>
#include <memory>
#include <utility>
#include <vector>

namespace nivra {

class CardSession;
class VideoDecoder;

class PreviewSource
{
public:
    struct Picture
    {
        qlonglong keyframeMs = -1;
        QSize box;
        QImage image; // null when the key frame could not be read or decoded
    };
    struct Want
    {
        qlonglong keyframeMs = -1;
        QSize box;
    };

    // card stays owned by the caller and must outlive the source.
    PreviewSource(const card_reader *card, int videoCodec);
    // Stops and joins the thread; a decode in progress is finished first.
    ~PreviewSource();
    PreviewSource(const PreviewSource &) = delete;
    PreviewSource &operator=(const PreviewSource &) = delete;

    // Opens the cursor, makes the decoder and starts the thread; once a
    // picture is decoded, picturesReady runs soon on owner's thread.
    bool start(QObject *owner, std::function<void()> picturesReady);
    // Asks for the key frame at keyframeMs, scaled to fit into box; replaces
    // a request not yet taken. It goes before the background.
    void request(qlonglong keyframeMs, const QSize &box);
    // Replaces the pictures wanted when nothing is asked for, in the order
    // to decode them; one is dropped from it once decoded.
    void setBackground(std::vector<Want> wants);
    // The pictures decoded since the last call, oldest first.
    std::vector<Picture> takePictures();
    // Key frames decoded so far.
    int decodeCount() const;

private:
    void run();
    QImage decode(qlonglong keyframeMs, const QSize &box);

    const card_reader *m_card = nullptr;
    int m_codec = 0;
    card_cursor *m_cursor = nullptr;
    std::unique_ptr<VideoDecoder> m_decoder;
    std::vector<uint8_t> m_payload; // source thread only
    mutable WorkerThread m_shell;

    // Guarded by the shell's lock.
    bool m_pending = false;
    qlonglong m_keyframeMs = -1;
    QSize m_box;
    std::vector<Want> m_background;
    Picture m_current; // being decoded (no image)
    int m_decodes = 0;
    std::vector<Picture> m_done;
};

// PreviewHub: the one preview source of a session, shared by the hover
// picture (asked for at once) and the event list's pictures (wanted in the
// background, newest first, as long as their rows exist). It keeps the
// recent event pictures and drops its source when the card closes, so that
// no picture of a closed card arrives. A child of the session.
class PreviewHub : public QObject
{
    Q_OBJECT
public:
    // Event pictures kept for rows that come back into view.
    static constexpr int kCacheSize = 96;

    // The session's hub, made on first use.
    static PreviewHub *of(CardSession *session);

    // Decodes the key frame at keyframeMs for box before anything else.
    void requestNow(qlonglong keyframeMs, const QSize &box);
    // Wants the key frame for client until it is decoded or unwanted.
    void want(const QObject *client, qlonglong keyframeMs, const QSize &box);
    void unwant(const QObject *client);
    // A decoded event picture, or a null image.
    QImage cached(qlonglong keyframeMs, const QSize &box) const;
    // Key frames decoded since the hub was made.
    int decodeCount() const;

signals:
    // Every picture decoded (null when it could not be).
    void pictureDecoded(qlonglong keyframeMs, const QSize &box, const QImage &image);

private:
    explicit PreviewHub(CardSession *session);
    bool ensureSource();
    void dropSource();
    void takePictures();
    void sendBackground();

    CardSession *m_session;
    std::unique_ptr<PreviewSource> m_source;
    int m_decodesBefore = 0; // of sources dropped
    std::vector<std::pair<const QObject *, PreviewSource::Want>> m_wants;
    // Most recent first.
    std::list<std::pair<PreviewSource::Want, QImage>> m_cache;
};

// Scales a decoded 4:2:0 picture (planar or NV12) to fit into box, keeping
// its shape; a null image for other formats.
QImage scaledPicture(const QVideoFrame &picture, const QSize &box);

} // namespace nivra

class TimelinePreview : public QQuickPaintedItem
{
    Q_OBJECT
    Q_PROPERTY(QObject *card READ card WRITE setCard NOTIFY cardChanged)
    Q_PROPERTY(qlonglong timeMs READ timeMs WRITE setTimeMs NOTIFY timeMsChanged)
    Q_PROPERTY(bool ready READ isReady NOTIFY readyChanged)
    Q_PROPERTY(qlonglong shownKeyframeMs READ shownKeyframeMs NOTIFY shownKeyframeMsChanged)

public:
    // Pictures kept for hovering back over them.
    static constexpr int kCacheSize = 16;

    explicit TimelinePreview(QQuickItem *parent = nullptr);
    ~TimelinePreview() override;

    QObject *card() const;
    void setCard(QObject *card);
    qlonglong timeMs() const { return m_timeMs; }
    void setTimeMs(qlonglong timeMs);
    bool isReady() const { return m_ready; }
    qlonglong shownKeyframeMs() const { return m_shownKeyframeMs; }

    // The picture on show, as painted (centred in the item).
    QImage image() const { return m_image; }
    // Key frames the source has decoded since the card was set.
    int decodeCount() const;

    void paint(QPainter *painter) override;

signals:
    void cardChanged();
    void timeMsChanged();
    void readyChanged();
    void shownKeyframeMsChanged();

protected:
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;

private:
    // Finds the key frame for the time and shows it when it is at hand;
    // otherwise asks the source, once per turn of the event loop, so that
    // a sweep of hovers decodes only where it ends.
    void resolve();
    void sendRequest();
    void received(qlonglong keyframeMs, const QImage &picture);
    void show(qlonglong keyframeMs, const QImage &picture);
    void setReady(bool ready);
    // Forgets the pictures (the card or the size changed).
    void reset();
    QSize box() const;

    QPointer<nivra::CardSession> m_session;
    // The session's source of pictures, shared with the event list.
    QPointer<nivra::PreviewHub> m_hub;
    int m_decodesBase = 0; // the hub's count when the card was set
    qlonglong m_timeMs = -1;
    qlonglong m_wantedKeyframeMs = -1;
    qlonglong m_shownKeyframeMs = -1;
    bool m_ready = false;
    bool m_requestScheduled = false;
    QImage m_image;
    // Most recent first.
    std::list<std::pair<qlonglong, QImage>> m_cache;
};

// EventThumb: the small picture of an event row, the key frame at or before
// the event's start, wanted from the session's preview hub for as long as
// the row exists (a row scrolled away is never decoded). Pictures of a size
// it was given before are not taken.
class EventThumb : public QQuickPaintedItem
{
    Q_OBJECT
    Q_PROPERTY(QObject *card READ card WRITE setCard NOTIFY cardChanged)
    Q_PROPERTY(qlonglong timeMs READ timeMs WRITE setTimeMs NOTIFY timeMsChanged)
    Q_PROPERTY(bool ready READ isReady NOTIFY readyChanged)
    Q_PROPERTY(qlonglong shownKeyframeMs READ shownKeyframeMs NOTIFY readyChanged)

public:
    explicit EventThumb(QQuickItem *parent = nullptr);
    ~EventThumb() override;

    QObject *card() const;
    void setCard(QObject *card);
    qlonglong timeMs() const { return m_timeMs; }
    void setTimeMs(qlonglong timeMs);
    bool isReady() const { return !m_image.isNull(); }
    qlonglong shownKeyframeMs() const { return m_image.isNull() ? -1 : m_keyframeMs; }
    // The picture as painted (centred in the item).
    QImage image() const { return m_image; }

    void paint(QPainter *painter) override;

signals:
    void cardChanged();
    void timeMsChanged();
    void readyChanged();

protected:
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;

private:
    // Shows the picture for the time from the hub's cache or wants it.
    void resolve();
    void show(const QImage &image);
    QSize box() const;

    QPointer<nivra::CardSession> m_session;
    QPointer<nivra::PreviewHub> m_hub;
    qlonglong m_timeMs = -1;
    qlonglong m_keyframeMs = -1;
    QImage m_image;
};
