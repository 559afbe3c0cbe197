// TimelineItem's painting: the cached picture of the day (lanes, blocks,
// ticks, events, offset changes, the axis and the selection) and the
// markers drawn over it on every frame.
#include "session/card_session.h"
#include "storage/civil_time.h"
#include "timeline/theme.h"
#include "timeline/timeline_axis.h"
#include "timeline/timeline_item.h"
#include "timeline/timeline_view.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>

using nivra::CardSession;

namespace {

// Axis and lane geometry, in item pixels.
constexpr double kAxisY = 22.0;
constexpr double kLaneY = 40.0;
constexpr double kLaneH = 22.0;
// The activity strips under the lane: the picture's change, then the sound.
constexpr double kPictureStripY = 64.0;
constexpr double kSoundStripY = 70.0;
constexpr double kStripH = 5.0;
// Everything below the strips (ticks, marker foot, landing) by this much.
constexpr double kBelow = 14.0;
constexpr double kMarkerBottom = 78.0 + kBelow;

const QColor kHandleOutline(0xb7, 0x7d, 0x00);
const QColor kHandleGrip = nivra::themeColour("plum", true);
const QColor kScrubMarker(220, 38, 38, 110);

// The palette from the window's colour table, by PaletteColor; the two
// translucent ones take a token's colour with an alpha of their own.
std::array<QColor, TimelineItem::PaletteSize> makePalette(bool dark)
{
    const auto tone = [dark](const char *token, int alpha = 255) {
        QColor c = nivra::themeColour(token, dark);
        c.setAlpha(alpha);
        return c;
    };
    return {tone("surface"),
            tone("secondary"),
            tone("strongLine"),
            tone("track"),
            tone("record"),
            tone("recordFine"),
            tone("surface3"),
            tone("faint"),
            tone("yellow"),
            tone("foreground"),
            tone("selected"),
            tone("yellow"),
            tone("accent"),
            tone("secondary"),
            tone("plum", 230),
            tone("yellow"),
            tone("yellow", dark ? 45 : 38),
            tone("foreground"),
            tone("track"),
            tone("activity"),
            tone("loudness"),
            tone("bookmark")};
}

const std::array<QColor, TimelineItem::PaletteSize> kDark = makePalette(true);
const std::array<QColor, TimelineItem::PaletteSize> kLight = makePalette(false);

} // namespace

QColor TimelineItem::paletteColor(int index, bool dark)
{
    if (index < 0 || index >= PaletteSize)
        return QColor();
    return dark ? kDark[index] : kLight[index];
}

// ---- Painting ---------------------------------------------------------------

void TimelineItem::invalidate()
{
    m_cacheValid = false;
    m_staticChanged = true;
    update();
}

double TimelineItem::markerX() const
{
    const qint64 viewEnd = m_view.start + span();
    // Without a card the engine still reports a position (0); it is no
    // place on the day.
    if (!sessionOpen() || m_position < m_view.dayStart || m_position > dayLast() ||
        m_position < m_view.start || m_position > viewEnd || width() <= 0.0)
        return -1.0;
    return std::round(xForTime(m_position) * 4.0) / 4.0;
}

void TimelineItem::paint(QPainter *painter)
{
    // While only the position moves (playing), everything but the markers
    // comes from a picture painted once; a paint after any other change
    // (zoom, pan, selection) paints directly, so that those pay nothing for
    // a picture the next change would throw away.
    const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const QSize size(qMax(1, qCeil(width() * dpr)), qMax(1, qCeil(height() * dpr)));
    if (m_cacheValid && (m_cache.size() != size || m_cache.devicePixelRatioF() != dpr))
        m_cacheValid = false;
    if (!m_cacheValid && !m_staticChanged) {
        m_cache = QImage(size, QImage::Format_ARGB32_Premultiplied);
        m_cache.setDevicePixelRatio(dpr);
        QPainter cache(&m_cache);
        cache.setRenderHints(painter->renderHints());
        cache.setFont(painter->font());
        paintStatic(&cache);
        m_cacheValid = true;
    }
    if (m_cacheValid)
        painter->drawImage(QPointF(0, 0), m_cache);
    else
        paintStatic(painter);
    m_staticChanged = false;

    const QColor *pal = (m_darkTheme ? kDark : kLight).data();
    const qint64 viewEnd = m_view.start + span();
    if (m_scrubbing && m_scrubTarget >= m_view.start && m_scrubTarget <= viewEnd)
        paintMarker(painter, xForTime(m_scrubTarget), kScrubMarker);
    m_paintedMarkerX = markerX();
    if (m_paintedMarkerX >= 0)
        paintMarker(painter, xForTime(m_position), pal[PositionMarker]);
}

void TimelineItem::paintStatic(QPainter *painter)
{
    const QColor *pal = (m_darkTheme ? kDark : kLight).data();
    const double w = width();
    painter->fillRect(QRectF(0, 0, w, height()), pal[Background]);
    if (w <= 0.0)
        return;
    const qint64 s = span();
    const qint64 viewEnd = m_view.start + s;
    const bool fine = s <= nivra::kTickSpanLimit;

    paintAxis(painter, pal, viewEnd);
    painter->fillRect(QRectF(0, kLaneY, w, kLaneH), pal[Lane]);

    // Neighbouring chunks of one kind whose pixels touch are filled as one
    // run: a zoomed-out day of short recordings is thousands of overlapping
    // one-pixel blocks, and one rectangle paints the same pixels.
    const QBrush hatch(pal[MissingHatch], Qt::BDiagPattern);
    const auto fillRun = [&](double x0, double x1, bool missing) {
        const QRectF block(x0, kLaneY, x1 - x0, kLaneH);
        if (missing) {
            painter->fillRect(block, pal[MissingFill]);
            painter->fillRect(block, hatch);
        } else {
            painter->fillRect(block, pal[fine ? BlockFine : BlockCoarse]);
            if (!m_showingTicks)
                painter->fillRect(QRectF(x0, 67 + kBelow, x1 - x0, 10), pal[BlockStrip]);
        }
    };
    double runX0 = 0, runX1 = -1;
    bool runMissing = false;
    for (const card_range &r : m_chunks) {
        const double x0 = xForTime(std::max(qint64(r.first) * 1000, m_view.start));
        const double x1 = x0 + std::max(1.0, xForTime(std::min(viewEnd, qint64(card_last_ms(r.last)))) - x0);
        const bool missing = r.missing != 0;
        if (runX1 >= runX0 && missing == runMissing && x0 <= runX1) {
            runX1 = std::max(runX1, x1);
            continue;
        }
        if (runX1 >= runX0)
            fillRun(runX0, runX1, runMissing);
        runX0 = x0;
        runX1 = x1;
        runMissing = missing;
    }
    if (runX1 >= runX0)
        fillRun(runX0, runX1, runMissing);

    paintActivity(painter, pal, viewEnd);

    if (m_showingTicks) {
        for (const card_keyframe &k : m_keyframes) {
            if (!k.usable)
                continue;
            const double x = xForTime(k.time_ms);
            if (k.flags & CARD_MARK_START)
                painter->fillRect(QRectF(x - 1.5, 64 + kBelow, 3, 16), pal[EventStartTick]);
            else
                painter->fillRect(QRectF(x - 1.0, 66 + kBelow, 2, 12), pal[KeyframeTick]);
        }
    }

    for (const card_event &e : m_dayEvents) {
        const qint64 start = qint64(e.first) * 1000;
        const qint64 last = card_last_ms(e.last);
        if (last < m_view.start || start > viewEnd)
            continue;
        const double x0 = xForTime(std::max(start, m_view.start));
        const double x1 = xForTime(std::min(viewEnd, last));
        QColor c = pal[EventStartTick];
        if (!e.playable)
            c.setAlpha(100);
        painter->fillRect(QRectF(x0, 34, std::max(3.0, x1 - x0), 6), c);
    }

    paintBookmarks(painter, pal, viewEnd);

    if (!m_offsetMarks.empty()) {
        QFont font = painter->font();
        font.setPixelSize(11);
        painter->setFont(font);
        QPen pen(pal[OffsetChange], 1, Qt::DashLine);
        for (const nivra::CardSession::OffsetChange &m : m_offsetMarks) {
            const double x = xForTime(m.t);
            painter->setPen(pen);
            painter->drawLine(QPointF(x, kAxisY), QPointF(x, kMarkerBottom));
            painter->setPen(pal[OffsetChange]);
            painter->drawText(QPointF(x + 3, 32), m.label);
        }
    }

    paintSelection(painter, pal, viewEnd);

    if (m_landing >= m_view.start && m_landing <= viewEnd) {
        const double x = xForTime(m_landing);
        const QPointF diamond[] = {
            {x, 80 + kBelow}, {x + 6, 86 + kBelow}, {x, 92 + kBelow}, {x - 6, 86 + kBelow}};
        painter->setPen(Qt::NoPen);
        painter->setBrush(pal[LandingDiamond]);
        painter->drawPolygon(diamond, 4);
        if (!m_landingText.isEmpty()) {
            QFont font = painter->font();
            font.setPixelSize(11);
            painter->setFont(font);
            const double bw = QFontMetricsF(font).horizontalAdvance(m_landingText) + 16;
            double left = x + 12;
            if (left + bw > w)
                left = x - 12 - bw;
            const QRectF box(left, 75 + kBelow, bw, 22);
            painter->setBrush(pal[LandingBox]);
            painter->drawRoundedRect(box, 4, 4);
            painter->setPen(Qt::white);
            painter->drawText(box, Qt::AlignCenter, m_landingText);
        }
    }
}

nivra::TimelineAxis TimelineItem::axis() const
{
    nivra::ClockOfDay clockOfDay;
    if (sessionOpen()) {
        const nivra::CardSession *session = m_session.data();
        clockOfDay = [session](qint64 t) {
            const qint64 local = t + qint64(session->offsetSecondsAt(t)) * 1000;
            return local - floorDivide(local, kDayMs) * kDayMs;
        };
    }
    return nivra::timelineAxis(m_view.dayStart, m_view.start, span(), width(),
                               nivra::localeUsesTwelveHourClock(), clockOfDay);
}

void TimelineItem::paintAxis(QPainter *painter, const QColor *pal, qint64 viewEnd) const
{
    const double w = width();
    const nivra::TimelineAxis axis = this->axis();
    painter->setPen(QPen(pal[AxisLine], 1));
    painter->drawLine(QPointF(0, kAxisY), QPointF(w, kAxisY));
    const qint64 first =
        m_view.dayStart + floorDivide(m_view.start - m_view.dayStart, axis.minorStep) * axis.minorStep;
    for (qint64 t = first; t <= viewEnd; t += axis.minorStep) {
        const double x = xForTime(t);
        const double len = (t - m_view.dayStart) % axis.labelStep == 0 ? 8.0 : 4.0;
        painter->drawLine(QPointF(x, kAxisY), QPointF(x, kAxisY + len));
    }
    QFont font = painter->font();
    font.setPixelSize(11);
    painter->setFont(font);
    const QFontMetricsF metrics(font);
    painter->setPen(pal[AxisLabel]);
    for (const nivra::AxisLabel &label : axis.labels) {
        const double tw = metrics.horizontalAdvance(label.text);
        const double left = std::clamp(xForTime(label.t) - tw / 2, 0.0, std::max(0.0, w - tw));
        painter->drawText(QPointF(left, 14), label.text);
    }
}

void TimelineItem::paintSelection(QPainter *painter, const QColor *pal, qint64 viewEnd) const
{
    if (!(m_selectionVisible || m_drag != NoDrag) || !(m_sel.start >= 0 && m_sel.start < m_sel.end))
        return;
    if (m_sel.end < m_view.start || m_sel.start > viewEnd)
        return;
    const double x0 = xForTime(std::max(m_sel.start, m_view.start));
    const double x1 = xForTime(std::min(viewEnd, m_sel.end));
    const QRectF rect(x0, 32, std::max(1.0, x1 - x0), 38);
    painter->setPen(QPen(pal[SelectionOutline], 1));
    painter->setBrush(pal[SelectionFill]);
    painter->drawRoundedRect(rect, 3, 3);

    const double xs = xForTime(m_sel.start);
    const double xe = xForTime(m_sel.end);
    const bool narrow = xe - xs < nivra::kNarrowSelectionPx;
    if (!narrow && !m_selectionLabel.isEmpty()) {
        QFont font = painter->font();
        font.setPixelSize(10);
        painter->setFont(font);
        const double tw = QFontMetricsF(font).horizontalAdvance(m_selectionLabel);
        if (tw + 10 <= rect.width() - 24) {
            const QRectF box(rect.center().x() - (tw + 10) / 2, rect.center().y() - 8, tw + 10, 16);
            painter->setPen(Qt::NoPen);
            painter->setBrush(pal[Background]);
            painter->drawRoundedRect(box, 3, 3);
            painter->setPen(pal[SelectionLabel]);
            painter->drawText(box, Qt::AlignCenter, m_selectionLabel);
        }
    }

    const auto handle = [&](double left) {
        const QRectF r(left, 36, 10, 30);
        painter->setPen(QPen(kHandleOutline, 1));
        painter->setBrush(pal[SelectionOutline]);
        painter->drawRoundedRect(r, 4, 4);
        painter->setPen(QPen(kHandleGrip, 1));
        const double cx = r.center().x();
        painter->drawLine(QPointF(cx - 1.5, r.top() + 9), QPointF(cx - 1.5, r.bottom() - 9));
        painter->drawLine(QPointF(cx + 1.5, r.top() + 9), QPointF(cx + 1.5, r.bottom() - 9));
    };
    if (m_sel.start >= m_view.start && m_sel.start <= viewEnd)
        handle(narrow ? xs - 10 : xs - 5);
    if (m_sel.end >= m_view.start && m_sel.end <= viewEnd)
        handle(narrow ? xe : xe - 5);
}

void TimelineItem::paintActivity(QPainter *painter, const QColor *pal, qint64 viewEnd) const
{
    const nivra::ActivityModel *model = m_activity.data();
    if (!model)
        return;
    const qint64 from = std::max(m_view.start, model->analysedFrom());
    const qint64 to = std::min(viewEnd, model->analysedTo());
    if (model->analysedFrom() < 0 || to <= from)
        return;
    // What is analysed shows as a track, so that the strips are seen to fill in.
    const double x0 = xForTime(from);
    const double x1 = std::max(x0 + 1.0, xForTime(to));
    painter->fillRect(QRectF(x0, kPictureStripY, x1 - x0, kStripH), pal[ActivityTrack]);
    painter->fillRect(QRectF(x0, kSoundStripY, x1 - x0, kStripH), pal[ActivityTrack]);
    // One bar a pixel column, the most of what the column covers: a short
    // change stays seen at every zoom. The square root lifts a person in a
    // corner (a few per cent of the picture) over a pixel.
    const double msPerPx = double(span()) / std::max(1.0, width());
    for (double x = std::floor(x0); x < x1; x += 1.0) {
        const qint64 a = m_view.start + qint64(std::floor(x * msPerPx));
        const qint64 b = m_view.start + qint64(std::floor((x + 1.0) * msPerPx));
        const float picture = model->pictureLevel(a, std::max(b, a + 1));
        if (picture > 0.0f) {
            const double h = std::clamp(std::ceil(kStripH * std::sqrt(double(picture) / 0.1)), 1.0, kStripH);
            painter->fillRect(QRectF(x, kPictureStripY + kStripH - h, 1.0, h), pal[PictureChange]);
        }
        const float sound = model->soundLevel(a, std::max(b, a + 1));
        if (sound > -60.0f) {
            const double h = std::clamp(std::round(kStripH * (double(sound) + 60.0) / 60.0), 1.0, kStripH);
            painter->fillRect(QRectF(x, kSoundStripY + kStripH - h, 1.0, h), pal[SoundLevel]);
        }
    }
}

// A flag on a pole over the lane: the events' ticks keep y 34-40 below it.
void TimelineItem::paintBookmarks(QPainter *painter, const QColor *pal, qint64 viewEnd) const
{
    if (!m_bookmarks)
        return;
    painter->setPen(Qt::NoPen);
    painter->setBrush(pal[BookmarkFlag]);
    for (const nivra::Bookmarks::Entry &b : m_bookmarks->entries()) {
        if (b.ms < m_view.start || b.ms > viewEnd)
            continue;
        const double x = std::round(xForTime(b.ms));
        painter->fillRect(QRectF(x - 0.5, 24, 1.5, kLaneY + kLaneH - 24), pal[BookmarkFlag]);
        const QPointF flag[] = {{x + 1, 24}, {x + 8, 27.5}, {x + 1, 31}};
        painter->drawPolygon(flag, 3);
    }
}

void TimelineItem::paintMarker(QPainter *painter, double x, const QColor &color) const
{
    painter->setPen(QPen(color, 2));
    painter->drawLine(QPointF(x, kAxisY), QPointF(x, kMarkerBottom));
    painter->setPen(Qt::NoPen);
    painter->setBrush(color);
    painter->drawEllipse(QPointF(x, kAxisY), 5, 5);
}
