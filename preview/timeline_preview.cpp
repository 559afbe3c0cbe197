#include "preview/timeline_preview.h"

#include "base/thread_priority.h"
#include "decode/decoder.h"
#include "decode/ffmpeg_video_decoder.h"
#include "session/card_session.h"

#include <QPainter>
#include <QVideoFrame>
#include <QVideoFrameFormat>

#include <algorithm>
#include <cmath>

namespace nivra {

// ---- Source -------------------------------------------------------------------

PreviewSource::PreviewSource(const card_reader *card, int videoCodec) : m_card(card), m_codec(videoCodec)
{}

PreviewSource::~PreviewSource()
{
    m_shell.stop();
    cursor_close(m_cursor);
    m_decoder.reset();
}

bool PreviewSource::start(QObject *owner, std::function<void()> picturesReady)
{
    if (cursor_open(m_card, &m_cursor) != CARD_OK)
        return false;
    // Key frames only: every index entry.
    cursor_set_stride(m_cursor, 1);
    // Software decoding: a key frame now and then needs no graphics card,
    // and playback keeps the card's decoder to itself.
    QString reason;
    m_decoder = makeFfmpegVideoDecoder(m_codec, false, &reason);
    if (!m_decoder) {
        qWarning("no preview decoder: %s", qUtf8Printable(reason));
        return false;
    }
    m_shell.start([this] { run(); }, owner, std::move(picturesReady));
    return true;
}

void PreviewSource::request(qlonglong keyframeMs, const QSize &box)
{
    {
        std::lock_guard<std::mutex> lock(m_shell.mutex());
        m_keyframeMs = keyframeMs;
        m_box = box;
        m_pending = true;
    }
    m_shell.wake();
}

void PreviewSource::setBackground(std::vector<Want> wants)
{
    {
        std::lock_guard<std::mutex> lock(m_shell.mutex());
        // What is being decoded or waits to be taken comes anyway.
        const auto coming = [this](const Want &w) {
            const auto same = [&w](const Picture &p) {
                return p.keyframeMs == w.keyframeMs && p.box == w.box;
            };
            return same(m_current) || std::any_of(m_done.begin(), m_done.end(), same);
        };
        wants.erase(std::remove_if(wants.begin(), wants.end(), coming), wants.end());
        m_background = std::move(wants);
    }
    m_shell.wake();
}

std::vector<PreviewSource::Picture> PreviewSource::takePictures()
{
    std::lock_guard<std::mutex> lock(m_shell.mutex());
    return std::exchange(m_done, {});
}

int PreviewSource::decodeCount() const
{
    std::lock_guard<std::mutex> lock(m_shell.mutex());
    return m_decodes;
}

void PreviewSource::run()
{
    lowerThreadPriority();
    for (;;) {
        qlonglong keyframeMs;
        QSize box;
        {
            WorkerThread::Lock lock = m_shell.lock();
            if (!m_shell.wait(lock, [this] { return m_pending || !m_background.empty(); }))
                return;
            if (m_pending) {
                keyframeMs = m_keyframeMs;
                box = m_box;
                m_pending = false;
            } else {
                keyframeMs = m_background.front().keyframeMs;
                box = m_background.front().box;
                m_background.erase(m_background.begin());
            }
            m_current = {keyframeMs, box, QImage()};
        }
        QImage picture = decode(keyframeMs, box);
        {
            std::lock_guard<std::mutex> lock(m_shell.mutex());
            ++m_decodes;
            m_done.push_back({keyframeMs, box, std::move(picture)});
            m_current = Picture();
        }
        m_shell.handBack();
    }
}

QImage PreviewSource::decode(qlonglong keyframeMs, const QSize &box)
{
    if (keyframeMs < 0 || cursor_seek(m_cursor, uint64_t(keyframeMs), nullptr) != CARD_OK)
        return QImage();
    card_frame frame{};
    if (cursor_next(m_cursor, &frame) != CARD_OK || frame.type != CARD_FRAME_KEY)
        return QImage();
    if (m_payload.size() < frame.size)
        m_payload.resize(frame.size);
    if (cursor_read(m_cursor, m_payload.data(), m_payload.size()) != CARD_OK) {
        cursor_skip(m_cursor);
        return QImage();
    }
    m_decoder->flush();
    QVideoFrame picture;
    if (m_decoder->send(m_payload.data(), frame.size, frame.time_ms)) {
        // A key frame stands alone: draining gives its picture at once, even
        // from a decoder that runs frame threads.
        m_decoder->drain();
        DecodedFrame decoded;
        while (m_decoder->receive(&decoded)) {
            if (decoded.picture.isValid())
                picture = decoded.picture;
        }
    }
    m_decoder->flush();
    return picture.isValid() ? scaledPicture(picture, box) : QImage();
}

// ---- Hub ----------------------------------------------------------------------

PreviewHub *PreviewHub::of(CardSession *session)
{
    if (!session)
        return nullptr;
    if (auto *hub = session->findChild<PreviewHub *>(QString(), Qt::FindDirectChildrenOnly))
        return hub;
    return new PreviewHub(session);
}

PreviewHub::PreviewHub(CardSession *session) : QObject(session), m_session(session)
{
    // The reader closes right after aboutToClose; a reopened card is another.
    connect(session, &CardSession::aboutToClose, this, [this] {
        dropSource();
        m_cache.clear();
    });
    connect(session, &CardSession::changed, this, [this] {
        dropSource();
        m_cache.clear();
    });
}

bool PreviewHub::ensureSource()
{
    if (m_source)
        return true;
    if (!m_session->reader())
        return false;
    auto source = std::make_unique<PreviewSource>(m_session->reader(), m_session->stream().video_codec);
    if (!source->start(this, [this] { takePictures(); }))
        return false;
    m_source = std::move(source);
    return true;
}

void PreviewHub::dropSource()
{
    if (!m_source)
        return;
    m_decodesBefore += m_source->decodeCount();
    m_source.reset();
}

void PreviewHub::requestNow(qlonglong keyframeMs, const QSize &box)
{
    if (ensureSource())
        m_source->request(keyframeMs, box);
}

void PreviewHub::want(const QObject *client, qlonglong keyframeMs, const QSize &box)
{
    auto it =
        std::find_if(m_wants.begin(), m_wants.end(), [client](const auto &w) { return w.first == client; });
    if (it != m_wants.end()) {
        if (it->second.keyframeMs == keyframeMs && it->second.box == box)
            return;
        it->second = {keyframeMs, box};
    } else {
        m_wants.emplace_back(client, PreviewSource::Want{keyframeMs, box});
    }
    sendBackground();
}

void PreviewHub::unwant(const QObject *client)
{
    const auto before = m_wants.size();
    m_wants.erase(
        std::remove_if(m_wants.begin(), m_wants.end(), [client](const auto &w) { return w.first == client; }),
        m_wants.end());
    if (m_wants.size() != before)
        sendBackground();
}

void PreviewHub::sendBackground()
{
    // Newest first, each key frame once: the rows that come into view last
    // go first, and a key frame several rows share is decoded once.
    std::vector<PreviewSource::Want> wants;
    for (const auto &w : m_wants) {
        const bool listed = std::any_of(wants.begin(), wants.end(), [&w](const PreviewSource::Want &x) {
            return x.keyframeMs == w.second.keyframeMs && x.box == w.second.box;
        });
        if (!listed)
            wants.push_back(w.second);
    }
    std::sort(wants.begin(), wants.end(),
              [](const auto &a, const auto &b) { return a.keyframeMs > b.keyframeMs; });
    if (wants.empty() && !m_source)
        return;
    if (ensureSource())
        m_source->setBackground(std::move(wants));
}

QImage PreviewHub::cached(qlonglong keyframeMs, const QSize &box) const
{
    for (const auto &entry : m_cache) {
        if (entry.first.keyframeMs == keyframeMs && entry.first.box == box)
            return entry.second;
    }
    return {};
}

int PreviewHub::decodeCount() const
{
    return m_decodesBefore + (m_source ? m_source->decodeCount() : 0);
}

void PreviewHub::takePictures()
{
    if (!m_source)
        return;
    for (PreviewSource::Picture &picture : m_source->takePictures()) {
        const bool wanted = std::any_of(m_wants.begin(), m_wants.end(), [&picture](const auto &w) {
            return w.second.keyframeMs == picture.keyframeMs && w.second.box == picture.box;
        });
        if (wanted && !picture.image.isNull()) {
            m_cache.emplace_front(PreviewSource::Want{picture.keyframeMs, picture.box}, picture.image);
            if (int(m_cache.size()) > kCacheSize)
                m_cache.pop_back();
        }
        emit pictureDecoded(picture.keyframeMs, picture.box, picture.image);
    }
}

// ---- Scaling ------------------------------------------------------------------

QImage scaledPicture(const QVideoFrame &source, const QSize &box)
{
    QVideoFrame frame(source);
    const QVideoFrameFormat::PixelFormat format = frame.pixelFormat();
    const bool planar = format == QVideoFrameFormat::Format_YUV420P;
    if (!planar && format != QVideoFrameFormat::Format_NV12)
        return QImage();
    const int width = frame.width();
    const int height = frame.height();
    if (width < 1 || height < 1 || box.isEmpty())
        return QImage();
    const QSize size = QSize(width, height).scaled(box, Qt::KeepAspectRatio);
    if (size.isEmpty() || !frame.map(QVideoFrame::ReadOnly))
        return QImage();

    const uchar *luma = frame.bits(0);
    const int lumaStride = frame.bytesPerLine(0);
    const uchar *cb = frame.bits(1);
    const uchar *cr = planar ? frame.bits(2) : frame.bits(1) + 1;
    const int cbStride = frame.bytesPerLine(1);
    const int crStride = planar ? frame.bytesPerLine(2) : cbStride;
    const int chromaStep = planar ? 1 : 2;
    // Qt maps odd-height frames with height / 2 chroma rows.
    const int chromaRows = std::max(1, int(qMin(frame.mappedBytes(1) / qMax(cbStride, 1),
                                                planar ? frame.mappedBytes(2) / qMax(crStride, 1)
                                                       : frame.mappedBytes(1) / qMax(cbStride, 1))));
    const int chromaColumns = (width + 1) / 2;

    const QVideoFrameFormat surface = frame.surfaceFormat();
    const bool full = surface.colorRange() == QVideoFrameFormat::ColorRange_Full;
    const bool bt709 = surface.colorSpace() == QVideoFrameFormat::ColorSpace_BT709 ||
                       surface.colorSpace() == QVideoFrameFormat::ColorSpace_BT2020;
    const double lumaScale = full ? 1.0 : 255.0 / 219.0;
    const double lumaOffset = full ? 0.0 : 16.0;
    const double chromaScale = full ? 1.0 : 255.0 / 224.0;
    const double rv = bt709 ? 1.5748 : 1.402;
    const double gu = bt709 ? 0.187324 : 0.344136;
    const double gv = bt709 ? 0.468124 : 0.714136;
    const double bu = bt709 ? 1.8556 : 1.772;

    QImage image(size, QImage::Format_RGB32);
    const double stepX = double(width) / size.width();
    const double stepY = double(height) / size.height();
    // A few luma samples per output pixel keep fine detail from flickering
    // between neighbouring key frames; one sample when not shrinking.
    const int taps = qBound(1, int(std::ceil(std::min(stepX, stepY))), 4);
    const auto channel = [](double value) { return qBound(0, int(std::lround(value)), 255); };
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        const int chromaY = qMin(int((y + 0.5) * stepY) / 2, chromaRows - 1);
        for (int x = 0; x < size.width(); ++x) {
            int sum = 0;
            for (int ty = 0; ty < taps; ++ty) {
                const int sy = qMin(int((y + (ty + 0.5) / taps) * stepY), height - 1);
                const uchar *row = luma + qsizetype(sy) * lumaStride;
                for (int tx = 0; tx < taps; ++tx)
                    sum += row[qMin(int((x + (tx + 0.5) / taps) * stepX), width - 1)];
            }
            const int chromaX = qMin(int((x + 0.5) * stepX) / 2, chromaColumns - 1) * chromaStep;
            const double l = (double(sum) / (taps * taps) - lumaOffset) * lumaScale;
            const double u = (cb[qsizetype(chromaY) * cbStride + chromaX] - 128.0) * chromaScale;
            const double v = (cr[qsizetype(chromaY) * crStride + chromaX] - 128.0) * chromaScale;
            line[x] = qRgb(channel(l + rv * v), channel(l - gu * u - gv * v), channel(l + bu * u));
        }
    }
    frame.unmap();
    return image;
}

} // namespace nivra

// ---- Item ---------------------------------------------------------------------

using nivra::CardSession;

TimelinePreview::TimelinePreview(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setImplicitSize(160, 90);
}

TimelinePreview::~TimelinePreview() = default;

QObject *TimelinePreview::card() const
{
    return m_session.data();
}

void TimelinePreview::setCard(QObject *card)
{
    CardSession *session = qobject_cast<CardSession *>(card);
    if (session == m_session.data())
        return;
    if (m_session)
        disconnect(m_session, nullptr, this, nullptr);
    if (m_hub)
        disconnect(m_hub, nullptr, this, nullptr);
    m_session = session;
    m_hub = nivra::PreviewHub::of(session);
    m_decodesBase = m_hub ? m_hub->decodeCount() : 0;
    reset();
    if (session) {
        // The hub drops its pictures of the card that closes; so does this.
        connect(session, &CardSession::aboutToClose, this, [this] { reset(); });
        connect(session, &CardSession::changed, this, [this] {
            reset();
            resolve();
        });
        connect(m_hub, &nivra::PreviewHub::pictureDecoded, this,
                [this](qlonglong keyframeMs, const QSize &size, const QImage &image) {
                    if (size == box())
                        received(keyframeMs, image);
                });
    }
    resolve();
    emit cardChanged();
}

void TimelinePreview::setTimeMs(qlonglong timeMs)
{
    if (timeMs == m_timeMs)
        return;
    m_timeMs = timeMs;
    resolve();
    emit timeMsChanged();
}

int TimelinePreview::decodeCount() const
{
    return m_hub ? m_hub->decodeCount() - m_decodesBase : 0;
}

namespace {

// The item's size in whole pixels: the box its pictures are scaled into.
QSize boxOf(const QQuickItem &item)
{
    return QSize(qRound(item.width()), qRound(item.height()));
}

// Paints image centred in item.
void paintCentred(QPainter *painter, const QQuickItem &item, const QImage &image)
{
    if (image.isNull())
        return;
    const QSizeF size = image.size();
    painter->drawImage(QRectF((item.width() - size.width()) / 2, (item.height() - size.height()) / 2,
                              size.width(), size.height()),
                       image);
}

} // namespace

void TimelinePreview::paint(QPainter *painter)
{
    paintCentred(painter, *this, m_image);
}

void TimelinePreview::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickPaintedItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() == oldGeometry.size())
        return;
    // Pictures of the old size are of no use; those on their way are not taken.
    reset();
    resolve();
}

void TimelinePreview::resolve()
{
    // The index lookup is cheap; only decoding waits for the source.
    const qlonglong keyframe =
        m_timeMs >= 0 && m_session && m_session->reader() ? m_session->keyframeAtOrBefore(m_timeMs) : -1;
    m_wantedKeyframeMs = keyframe;
    if (keyframe < 0) {
        setReady(false);
        return;
    }
    if (keyframe == m_shownKeyframeMs && !m_image.isNull()) {
        setReady(true);
        return;
    }
    for (auto it = m_cache.begin(); it != m_cache.end(); ++it) {
        if (it->first == keyframe) {
            m_cache.splice(m_cache.begin(), m_cache, it);
            show(keyframe, m_cache.front().second);
            setReady(true);
            return;
        }
    }
    // The picture on show stays until the new one comes.
    setReady(false);
    if (m_requestScheduled)
        return;
    m_requestScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_requestScheduled = false;
            sendRequest();
        },
        Qt::QueuedConnection);
}

void TimelinePreview::sendRequest()
{
    if (m_ready || m_wantedKeyframeMs < 0 || !m_session || !m_session->reader() || !m_hub)
        return;
    m_hub->requestNow(m_wantedKeyframeMs, box());
}

void TimelinePreview::received(qlonglong keyframeMs, const QImage &picture)
{
    if (picture.isNull())
        return;
    for (auto it = m_cache.begin(); it != m_cache.end(); ++it) {
        if (it->first == keyframeMs) {
            m_cache.erase(it);
            break;
        }
    }
    m_cache.emplace_front(keyframeMs, picture);
    if (int(m_cache.size()) > kCacheSize)
        m_cache.pop_back();
    if (keyframeMs == m_wantedKeyframeMs) {
        show(keyframeMs, picture);
        setReady(true);
    }
}

void TimelinePreview::show(qlonglong keyframeMs, const QImage &picture)
{
    m_image = picture;
    update();
    if (keyframeMs == m_shownKeyframeMs)
        return;
    m_shownKeyframeMs = keyframeMs;
    emit shownKeyframeMsChanged();
}

void TimelinePreview::setReady(bool ready)
{
    if (ready == m_ready)
        return;
    m_ready = ready;
    emit readyChanged();
}

void TimelinePreview::reset()
{
    m_cache.clear();
    m_wantedKeyframeMs = -1;
    show(-1, QImage());
    setReady(false);
}

QSize TimelinePreview::box() const
{
    return boxOf(*this);
}

// ---- Event picture ------------------------------------------------------------

EventThumb::EventThumb(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setImplicitSize(48, 27);
}

EventThumb::~EventThumb()
{
    if (m_hub)
        m_hub->unwant(this);
}

QObject *EventThumb::card() const
{
    return m_session.data();
}

void EventThumb::setCard(QObject *card)
{
    CardSession *session = qobject_cast<CardSession *>(card);
    if (session == m_session.data())
        return;
    if (m_hub) {
        m_hub->unwant(this);
        disconnect(m_hub, nullptr, this, nullptr);
    }
    if (m_session)
        disconnect(m_session, nullptr, this, nullptr);
    m_session = session;
    m_hub = nivra::PreviewHub::of(session);
    if (session) {
        connect(session, &CardSession::aboutToClose, this, [this] { show(QImage()); });
        connect(session, &CardSession::changed, this, [this] {
            show(QImage());
            resolve();
        });
        connect(m_hub, &nivra::PreviewHub::pictureDecoded, this,
                [this](qlonglong keyframeMs, const QSize &size, const QImage &image) {
                    if (keyframeMs != m_keyframeMs || size != box() || image.isNull())
                        return;
                    m_hub->unwant(this);
                    show(image);
                });
    }
    resolve();
    emit cardChanged();
}

void EventThumb::setTimeMs(qlonglong timeMs)
{
    if (timeMs == m_timeMs)
        return;
    m_timeMs = timeMs;
    resolve();
    emit timeMsChanged();
}

void EventThumb::resolve()
{
    const qlonglong keyframe =
        m_timeMs >= 0 && m_session && m_session->reader() ? m_session->keyframeAtOrBefore(m_timeMs) : -1;
    if (keyframe == m_keyframeMs && !m_image.isNull())
        return;
    m_keyframeMs = keyframe;
    if (keyframe < 0 || box().isEmpty() || !m_hub) {
        if (m_hub)
            m_hub->unwant(this);
        show(QImage());
        return;
    }
    const QImage cached = m_hub->cached(keyframe, box());
    if (!cached.isNull()) {
        m_hub->unwant(this);
        show(cached);
        return;
    }
    show(QImage());
    m_hub->want(this, keyframe, box());
}

void EventThumb::show(const QImage &image)
{
    const bool wasReady = isReady();
    m_image = image;
    update();
    if (isReady() != wasReady || isReady())
        emit readyChanged();
}

void EventThumb::paint(QPainter *painter)
{
    paintCentred(painter, *this, m_image);
}

void EventThumb::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickPaintedItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() == oldGeometry.size())
        return;
    show(QImage());
    resolve();
}

QSize EventThumb::box() const
{
    return boxOf(*this);
}
