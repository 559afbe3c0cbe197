#include "timeline/timeline_item.h"
#include "session/card_session.h"
#include "session/time_zone.h"
#include "storage/civil_time.h"
#include "timeline/theme.h"
#include "timeline/timeline_axis.h"

#include <QCursor>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QStyleHints>
#include <QTimeZone>
#include <QWheelEvent>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <limits>

using nivra::CardSession;

namespace {

constexpr qint64 kSpans[] = {kDayMs, 21600000, 3600000, 600000, 60000};
constexpr qint64 kTickSpanLimit = 600000; // finest two levels: key frames and the fine block colour
constexpr qint64 kFollowPauseMs = 6000;
constexpr qint64 kSeekIntervalMs = 120;
constexpr qint64 kSnapRadiusMs = 8000;
constexpr double kNarrowPx = 70.0;

// Axis and lane geometry, in item pixels.
constexpr double kAxisY = 22.0;
constexpr double kLaneY = 40.0;
constexpr double kLaneH = 22.0;
constexpr double kMarkerBottom = 78.0;

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
            tone("foreground")};
}

const std::array<QColor, TimelineItem::PaletteSize> kDark = makePalette(true);
const std::array<QColor, TimelineItem::PaletteSize> kLight = makePalette(false);

// Returns a + b, saturated to the 64-bit range (QML can hand any value).
qint64 addSat(qint64 a, qint64 b)
{
    qint64 r = 0;
    if (__builtin_add_overflow(a, b, &r))
        return b > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
    return r;
}

// Clamps v to lo .. hi; lo wins when the bounds cross.
qint64 clampTo(qint64 v, qint64 lo, qint64 hi)
{
    return v > hi ? std::max(hi, lo) : std::max(v, lo);
}

int clampZoom(int zoom)
{
    return std::clamp(zoom, 0, 4);
}

qint64 rangeStartMs(const card_range &r)
{
    return qint64(r.first) * 1000;
}

qint64 rangeEndMs(const card_range &r)
{
    return card_last_ms(r.last);
}

qint64 roundToSecond(qint64 t)
{
    return std::llround(double(t) / 1000.0) * 1000;
}

} // namespace

TimelineItem::TimelineItem(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setAcceptedMouseButtons(Qt::LeftButton);
    setAcceptHoverEvents(true);
    setActiveFocusOnTab(true);
    setAntialiasing(true);
    setOpaquePainting(true);
    setFillColor(kLight[Background]);
    m_landingTimer.setSingleShot(true);
    m_landingTimer.setInterval(4000);
    connect(&m_landingTimer, &QTimer::timeout, this, &TimelineItem::landingTextTimeout);
}

TimelineItem::~TimelineItem() = default;

QColor TimelineItem::paletteColor(int index, bool dark)
{
    if (index < 0 || index >= PaletteSize)
        return QColor();
    return dark ? kDark[index] : kLight[index];
}

qint64 TimelineItem::spanOfZoom(int zoom)
{
    return kSpans[clampZoom(zoom)];
}

// ---- Model and view ---------------------------------------------------------

qint64 TimelineItem::span() const
{
    return m_zoom <= 0 ? dayLength() : spanOfZoom(m_zoom);
}

qint64 TimelineItem::dayLength() const
{
    // A clock change makes a day an hour shorter or longer, never more.
    const qint64 length = m_dayEnd - m_dayStart;
    return length >= kDayMs - 3600000 && length <= kDayMs + 3600000 ? length : kDayMs;
}

qint64 TimelineItem::dayLast() const
{
    return addSat(m_dayStart, dayLength() - 1);
}

bool TimelineItem::sessionOpen() const
{
    return m_session && m_session->isOpen();
}

double TimelineItem::xForTime(qint64 t) const
{
    return width() * double(t - m_viewStart) / double(span());
}

qint64 TimelineItem::timeAtX(double x) const
{
    return m_viewStart + std::llround(double(span()) * x / std::max(width(), 1.0));
}

void TimelineItem::setClock(const nivra::Clock *clock)
{
    m_clock = clock ? clock : &nivra::Clock::steady();
    m_userViewAt = -1;
    m_lastSeekAt = -1;
}

void TimelineItem::clampView()
{
    m_viewStart = clampTo(m_viewStart, m_dayStart, addSat(m_dayStart, dayLength() - span()));
}

QObject *TimelineItem::card() const
{
    return m_session.data();
}

void TimelineItem::setCard(QObject *card)
{
    CardSession *session = qobject_cast<CardSession *>(card);
    if (session == m_session.data())
        return;
    if (m_session)
        disconnect(m_session, nullptr, this, nullptr);
    m_session = session;
    if (session) {
        connect(session, &CardSession::changed, this, &TimelineItem::onSessionChanged);
        connect(session, &CardSession::timeModeChanged, this, [this] {
            // The marks depend on the mode's offsets; the window re-binds the day afterwards.
            rebuildOffsetMarks();
            invalidate();
        });
        connect(session, &QObject::destroyed, this, &TimelineItem::onSessionDestroyed);
    }
    reloadDayEvents();
    rebuild();
    emit cardChanged();
}

void TimelineItem::onSessionChanged()
{
    clearSelection();
    reloadDayEvents();
    rebuild();
}

void TimelineItem::onSessionDestroyed()
{
    // The guarded pointer is already null here; drop what came from the session.
    m_session.clear();
    m_dayEvents.clear();
    rebuild();
    emit cardChanged();
}

void TimelineItem::setDayStart(qlonglong dayStart)
{
    if (dayStart == m_dayStart)
        return;
    clearSelection();
    m_dayStart = dayStart;
    const qint64 s = span();
    qint64 start = m_dayStart;
    if (m_position >= m_dayStart && m_position <= dayLast()) {
        start = m_position - s / 10;
    } else if (sessionOpen()) {
        for (const card_range &r : m_session->chunkRecords()) {
            if (rangeEndMs(r) >= m_dayStart && rangeStartMs(r) <= dayLast()) {
                start = std::max(rangeStartMs(r), m_dayStart) - s / 10;
                break;
            }
        }
    }
    m_viewStart = start;
    clampView();
    reloadDayEvents();
    rebuild();
    emit dayStartChanged();
}

void TimelineItem::setDayEnd(qlonglong dayEnd)
{
    if (dayEnd == m_dayEnd)
        return;
    const qint64 before = dayLength();
    m_dayEnd = dayEnd;
    if (dayLength() == before)
        return;
    if (m_selEnd > dayLast())
        setSelection(m_selStart, m_selEnd);
    clampView();
    reloadDayEvents();
    rebuild();
    emit dayStartChanged();
}

void TimelineItem::setZoom(int zoom)
{
    const qint64 s = span();
    const bool positionInView = m_position >= m_viewStart && m_position <= m_viewStart + s;
    zoomAt(zoom, positionInView ? m_position : m_viewStart + s / 2);
}

void TimelineItem::zoomIn()
{
    setZoom(m_zoom + 1);
}

void TimelineItem::zoomOut()
{
    setZoom(m_zoom - 1);
}

void TimelineItem::zoomAt(int level, qint64 anchor)
{
    level = clampZoom(level);
    if (level == clampZoom(m_zoom))
        return;
    const qint64 oldSpan = span();
    const double fraction = oldSpan < 1 ? 0.5 : double(anchor - m_viewStart) / double(oldSpan);
    m_zoom = level;
    m_viewStart = anchor - qint64(std::trunc(double(span()) * fraction));
    clampView();
    restartUserView();
    rebuild();
}

void TimelineItem::restartUserView()
{
    m_userViewAt = m_clock->nowMs();
}

void TimelineItem::setViewStart(qlonglong viewStart)
{
    m_viewStart = viewStart;
    clampView();
    rebuild();
}

void TimelineItem::showTime(qlonglong ms)
{
    const qint64 s = span();
    if (ms >= m_viewStart && ms <= m_viewStart + s)
        return;
    m_viewStart = addSat(ms, -s / 10);
    clampView();
    rebuild();
}

void TimelineItem::revealRange(qlonglong fromMs, qlonglong toMs)
{
    if (toMs <= fromMs)
        return;
    const qint64 length = toMs - fromMs;
    while (m_zoom > 0 && double(spanOfZoom(m_zoom)) < 1.1 * double(length))
        setZoom(m_zoom - 1);
    const qint64 s = span();
    if (fromMs < m_viewStart || toMs > m_viewStart + s)
        setViewStart(qlonglong(std::llround(double(fromMs) - double(s - length) / 2.0)));
}

void TimelineItem::setPosition(qlonglong position)
{
    if (position == m_position)
        return;
    m_position = position;
    const qint64 s = span();
    const bool userViewing = m_userViewAt >= 0 && m_clock->nowMs() - m_userViewAt < kFollowPauseMs;
    const bool stay = !m_follow || m_scrubbing || m_drag != NoDrag || userViewing || position < m_dayStart ||
                      position > dayLast() ||
                      (position >= m_viewStart && position <= m_viewStart + s - s / 20);
    if (stay) {
        // Only the marker moves: the cached picture stays, and a move that
        // lands on the same pixel column repaints nothing.
        const double x = markerX();
        if (x != m_paintedMarkerX)
            update();
    } else {
        m_viewStart = position - s / 10;
        clampView();
        rebuild();
    }
    emit positionChanged();
}

void TimelineItem::setLanding(qlonglong landing)
{
    if (m_pendingLanding && m_session && landing >= 0) {
        m_pendingLanding = false;
        const QString clock = m_session->formatClockMs(landing);
        const qint64 delta = landing - m_requested;
        if (std::llabs(delta) >= 50) {
            const QString arrow = delta < 0 ? QStringLiteral("\u2190") : QStringLiteral("\u2192");
            const QString seconds = QLocale::system().toString(double(std::llabs(delta)) / 1000.0, 'f', 1);
            m_landingText = tr("Landed %1 (keyframe, snapped %2 %3 s)").arg(clock, arrow, seconds);
        } else {
            m_landingText = tr("Landed %1").arg(clock);
        }
        m_landingTimer.start();
    }
    if (landing != m_landing) {
        m_landing = landing;
        emit landingChanged();
    }
    invalidate();
}

void TimelineItem::landingTextTimeout()
{
    m_landingText.clear();
    invalidate();
}

void TimelineItem::setFollow(bool follow)
{
    if (follow == m_follow)
        return;
    m_follow = follow;
    emit followChanged();
}

void TimelineItem::setSnapEnabled(bool enabled)
{
    if (enabled == m_snapEnabled)
        return;
    m_snapEnabled = enabled;
    emit snapEnabledChanged();
}

void TimelineItem::setDarkTheme(bool dark)
{
    if (dark == m_darkTheme)
        return;
    m_darkTheme = dark;
    setFillColor(paletteColor(Background, dark));
    invalidate();
    emit darkThemeChanged();
}

void TimelineItem::setSelectionVisible(bool visible)
{
    if (visible == m_selectionVisible)
        return;
    m_selectionVisible = visible;
    if (!visible)
        m_drag = NoDrag;
    invalidate();
    emit selectionVisibleChanged();
}

void TimelineItem::setSelectionEditable(bool editable)
{
    if (editable == m_selectionEditable)
        return;
    m_selectionEditable = editable;
    if (!editable)
        m_drag = NoDrag;
    emit selectionEditableChanged();
}

void TimelineItem::setSelectionLabel(const QString &label)
{
    if (label == m_selectionLabel)
        return;
    m_selectionLabel = label;
    invalidate();
    emit selectionLabelChanged();
}

void TimelineItem::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickPaintedItem::geometryChange(newGeometry, oldGeometry);
    // The tick decision counts pixels.
    if (newGeometry.width() != oldGeometry.width())
        rebuild();
}

void TimelineItem::rebuild()
{
    m_chunks.clear();
    m_keyframes.clear();
    m_showingTicks = false;
    if (sessionOpen()) {
        const qint64 s = span();
        const qint64 viewEnd = m_viewStart + s;
        for (const card_range &r : m_session->chunkRecords()) {
            if (rangeEndMs(r) >= m_viewStart && rangeStartMs(r) <= viewEnd)
                m_chunks.push_back(r);
        }
        if (s <= kTickSpanLimit) {
            m_keyframes = m_session->keyframeRecords(m_viewStart, viewEnd);
            if (m_keyframes.size() < 2) {
                m_showingTicks = m_keyframes.size() == 1;
            } else {
                std::vector<double> gaps;
                gaps.reserve(m_keyframes.size() - 1);
                for (size_t i = 1; i < m_keyframes.size(); ++i)
                    gaps.push_back(double(m_keyframes[i].time_ms - m_keyframes[i - 1].time_ms) * width() /
                                   double(s));
                std::sort(gaps.begin(), gaps.end());
                m_showingTicks = gaps[gaps.size() / 2] >= 4.0;
            }
        }
    }
    rebuildOffsetMarks();
    invalidate();
    emit viewChanged();
}

void TimelineItem::reloadDayEvents()
{
    m_dayEvents.clear();
    if (sessionOpen())
        m_dayEvents = m_session->eventRecords(m_dayStart, dayLast());
}

// Finds where the UTC offset changes inside the view, walking the visible
// chunks' starts and, in computer time, the zone's transitions. The result
// is kept with the view so that painting asks the session nothing.
void TimelineItem::rebuildOffsetMarks()
{
    m_offsetMarks.clear();
    if (!sessionOpen())
        return;
    const qint64 viewEnd = m_viewStart + span();
    const bool computerTime = m_session->timeMode() == CardSession::ComputerTime;
    // Each candidate carries the offset its own chunk records (none for a
    // zone transition).
    std::vector<std::pair<qint64, int>> instants;
    if (computerTime) {
        // The system offset only changes at the zone's transitions, so a
        // chunk start between two transitions can never differ from the
        // transition before it.
        const QTimeZone zone = nivra::systemTimeZone();
        const QDateTime from = QDateTime::fromMSecsSinceEpoch(m_viewStart, Qt::UTC);
        const QDateTime to = QDateTime::fromMSecsSinceEpoch(viewEnd, Qt::UTC);
        for (const QTimeZone::OffsetData &d : zone.transitions(from, to)) {
            const qint64 t = d.atUtc.toMSecsSinceEpoch();
            if (t >= m_viewStart && t <= viewEnd)
                instants.emplace_back(t, std::numeric_limits<int>::min());
        }
    } else {
        for (const card_range &r : m_chunks)
            instants.emplace_back(std::max(rangeStartMs(r), m_viewStart), r.utc_offset_min * 60);
    }
    std::stable_sort(instants.begin(), instants.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    int previous = m_session->offsetSecondsAt(m_viewStart);
    for (const auto &[t, own] : instants) {
        // A chunk's start reads its own offset; only one whose own offset
        // differs is worth the session's nearest-chunk search (thousands of
        // chunks can be in view).
        if (!computerTime && own == previous)
            continue;
        const int offset = m_session->offsetSecondsAt(t);
        if (offset != previous) {
            m_offsetMarks.push_back({t, m_session->offsetLabel(t)});
            previous = offset;
        }
    }
}

// ---- Selection --------------------------------------------------------------

qint64 TimelineItem::promoteLastSecond(qint64 t) const
{
    if (m_dayStart > 0 && t >= addSat(dayLast(), -999) && t <= dayLast())
        return dayLast();
    return t;
}

void TimelineItem::setSelection(qlonglong fromMs, qlonglong toMs)
{
    qint64 a = std::min(fromMs, toMs);
    qint64 b = std::max(fromMs, toMs);
    if (m_dayStart > 0) {
        a = promoteLastSecond(std::clamp<qint64>(a, m_dayStart, dayLast()));
        b = promoteLastSecond(std::clamp<qint64>(b, m_dayStart, dayLast()));
    }
    if (a < 0 || b - a < 1000) {
        clearSelection();
        return;
    }
    if (a == m_selStart && b == m_selEnd)
        return;
    m_selStart = a;
    m_selEnd = b;
    invalidate();
    emit selectionChanged();
}

void TimelineItem::clearSelection()
{
    m_drag = NoDrag;
    if (m_selStart == -1 && m_selEnd == -1)
        return;
    m_selStart = -1;
    m_selEnd = -1;
    invalidate();
    emit selectionChanged();
}

void TimelineItem::nudgeSelection(int part, qlonglong deltaMs)
{
    if (!(m_selStart >= 0 && m_selStart < m_selEnd) || deltaMs == 0)
        return;
    qint64 start = m_selStart;
    qint64 end = m_selEnd;
    if (part == 1) {
        start = clampTo(addSat(start, deltaMs), m_dayStart, end - 1000);
    } else if (part == 2) {
        end = clampTo(addSat(end, deltaMs), start + 1000, dayLast());
    } else {
        const qint64 delta = clampTo(deltaMs, m_dayStart - start, dayLast() - end);
        start += delta;
        end += delta;
    }
    setSelection(start, end);
    emit selectionFinished();
}

void TimelineItem::selectionToBoundary(int part, bool endOfDay)
{
    if (!(m_selStart >= 0 && m_selStart < m_selEnd))
        return;
    qint64 start = m_selStart;
    qint64 end = m_selEnd;
    if (part == 1) {
        start = endOfDay ? end - 1000 : m_dayStart;
    } else if (part == 2) {
        end = endOfDay ? dayLast() : start + 1000;
    } else {
        nudgeSelection(0, endOfDay ? dayLast() - end : m_dayStart - start);
        return;
    }
    setSelection(start, end);
    emit selectionFinished();
}

// ---- Seeking ----------------------------------------------------------------

void TimelineItem::seekAt(qlonglong ms)
{
    const qint64 s = span();
    if (ms < m_viewStart || ms > m_viewStart + s) {
        m_viewStart = addSat(ms, -s / 10);
        clampView();
        rebuild();
    }
    m_scrubTarget = -1;
    requestSeek(ms, true, QGuiApplication::keyboardModifiers() & Qt::AltModifier);
}

void TimelineItem::requestSeek(qint64 t, bool final, bool alt)
{
    if (!m_session || m_session->kindAt(t) != 0) {
        if (!final)
            return;
        t = m_scrubTarget;
        if (t < 0)
            return;
    }
    qint64 target = t;
    bool snapped = false;
    if (m_snapEnabled && !alt && m_session) {
        qint64 best = std::numeric_limits<qint64>::max();
        for (const card_keyframe &k :
             m_session->keyframeRecords(addSat(t, -kSnapRadiusMs), addSat(t, kSnapRadiusMs))) {
            if (!k.usable || (m_dayStart > 0 && (k.time_ms < m_dayStart || k.time_ms > dayLast())))
                continue;
            const qint64 distance = std::llabs(k.time_ms - t);
            if (distance < best) {
                best = distance;
                target = k.time_ms;
                snapped = true;
            }
        }
    }
    m_scrubTarget = target;
    invalidate();
    const qint64 now = m_clock->nowMs();
    if (!final && m_lastSeekAt >= 0 && now - m_lastSeekAt < kSeekIntervalMs)
        return;
    m_lastSeekAt = now;
    m_requested = t;
    m_pendingLanding = final;
    emit seekRequested(target, snapped);
}

void TimelineItem::scrubTo(double x, bool final, bool alt)
{
    requestSeek(timeAtX(std::clamp(x, 0.0, std::max(width(), 0.0))), final, alt);
}

// ---- Pointer, wheel and keys -------------------------------------------------

TimelineItem::DragMode TimelineItem::handleAt(double x) const
{
    if (!m_selectionEditable || !m_selectionVisible || m_selStart < 0)
        return NoDrag;
    const double xs = xForTime(m_selStart);
    const double xe = xForTime(m_selEnd);
    if (m_selStart < m_selEnd && xe - xs < kNarrowPx) {
        if (x >= xs - 32.0 && x <= xs)
            return StartHandleDrag;
        if (x >= xe && x <= xe + 32.0)
            return EndHandleDrag;
        return NoDrag;
    }
    const double ds = std::abs(x - xs);
    const double de = std::abs(x - xe);
    if (ds <= 16.0 && ds <= de)
        return StartHandleDrag;
    if (de <= 16.0)
        return EndHandleDrag;
    return NoDrag;
}

bool TimelineItem::insideBody(double x) const
{
    return m_selectionEditable && m_selectionVisible && m_selStart >= 0 && x > xForTime(m_selStart) &&
           x < xForTime(m_selEnd);
}

// A click on the lane at t: scrub on playable time, report a missing file,
// or jump to the next recording.
void TimelineItem::clickAt(qint64 t, bool fromBodyClick, bool alt)
{
    switch (m_session->kindAt(t)) {
    case 0:
        m_scrubTarget = -1;
        if (fromBodyClick) {
            requestSeek(t, true, alt);
        } else {
            m_scrubbing = true;
            m_lastSeekAt = -1;
            requestSeek(t, false, alt);
        }
        break;
    case 1:
        emit missingClicked(t);
        break;
    default: {
        const qint64 next = m_session->nextPlayableStart(t);
        if (next < 0)
            emit nothingAfter(t);
        else
            emit seekRequested(next, true);
        break;
    }
    }
}

void TimelineItem::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !sessionOpen()) {
        event->ignore();
        return;
    }
    forceActiveFocus(Qt::MouseFocusReason);
    const double x = event->position().x();
    m_pressX = x;
    m_pressStart = m_selStart;
    m_pressEnd = m_selEnd;
    m_moved = false;
    const bool alt = event->modifiers() & Qt::AltModifier;
    const DragMode handle = handleAt(x);
    if (handle != NoDrag) {
        m_drag = handle;
    } else if (m_selectionEditable && (event->modifiers() & Qt::ShiftModifier)) {
        const qint64 t = clampTo(roundToSecond(timeAtX(x)), m_dayStart, dayLast());
        m_anchor = t;
        m_selStart = t;
        m_selEnd = t;
        m_drag = CreateDrag;
        invalidate();
        emit selectionChanged();
    } else if (insideBody(x)) {
        m_drag = MoveDrag;
    } else {
        clickAt(timeAtX(x), false, alt);
    }
    event->accept();
}

void TimelineItem::mouseMoveEvent(QMouseEvent *event)
{
    const double x = event->position().x();
    if (m_drag != NoDrag) {
        if (m_drag == MoveDrag && !m_moved) {
            if (std::abs(x - m_pressX) < QGuiApplication::styleHints()->startDragDistance())
                return;
            m_moved = true;
        }
        dragTo(x);
    } else if (m_scrubbing) {
        scrubTo(x, false, event->modifiers() & Qt::AltModifier);
    }
}

void TimelineItem::mouseReleaseEvent(QMouseEvent *event)
{
    const double x = event->position().x();
    const bool alt = event->modifiers() & Qt::AltModifier;
    if (m_drag == MoveDrag && !m_moved) {
        m_drag = NoDrag;
        if (m_session)
            clickAt(timeAtX(std::clamp(x, 0.0, std::max(width(), 0.0))), true, alt);
    } else if (m_drag != NoDrag) {
        dragTo(x);
        m_drag = NoDrag;
        m_hoverText.clear();
        emit hoverChanged();
        if (m_selEnd - m_selStart >= 1000)
            emit selectionFinished();
        else
            clearSelection();
    } else if (m_scrubbing) {
        scrubTo(x, true, alt);
        m_scrubbing = false;
    }
    invalidate();
}

// The grab went elsewhere before the release (a popup, the window lost the
// pointer): end the scrub or drag here, or following would stay paused and
// a half-made selection would linger. After a release there is nothing left.
void TimelineItem::mouseUngrabEvent()
{
    if (m_scrubbing) {
        m_scrubbing = false;
        invalidate();
    }
    if (m_drag != NoDrag) {
        m_drag = NoDrag;
        if (m_selEnd - m_selStart < 1000)
            clearSelection();
        invalidate();
    }
}

void TimelineItem::dragTo(double x)
{
    const qint64 t =
        clampTo(roundToSecond(timeAtX(std::clamp(x, 0.0, std::max(width(), 0.0)))), m_dayStart, dayLast());
    qint64 start = m_selStart;
    qint64 end = m_selEnd;
    switch (m_drag) {
    case CreateDrag:
        start = std::min(t, m_anchor);
        end = std::max(t, m_anchor);
        break;
    case StartHandleDrag:
        end = m_pressEnd;
        start = clampTo(t, m_dayStart, m_pressEnd - 1000);
        break;
    case EndHandleDrag:
        start = m_pressStart;
        end = clampTo(t, m_pressStart + 1000, dayLast());
        break;
    case MoveDrag: {
        const qint64 delta = clampTo(roundToSecond(timeAtX(x) - timeAtX(m_pressX)), m_dayStart - m_pressStart,
                                     dayLast() - m_pressEnd);
        start = m_pressStart + delta;
        end = m_pressEnd + delta;
        break;
    }
    case NoDrag:
        return;
    }
    if (m_dayStart > 0) {
        start = promoteLastSecond(start);
        end = promoteLastSecond(end);
    }
    if (start == m_selStart && end == m_selEnd)
        return;
    m_selStart = start;
    m_selEnd = end;
    invalidate();
    emit selectionChanged();
    if (!m_session)
        return;
    if (m_drag == MoveDrag) {
        m_hoverX = (xForTime(m_selStart) + xForTime(m_selEnd)) / 2.0;
        m_hoverText = m_session->formatClock(m_selStart, true) + QStringLiteral(" \u2013 ") +
                      m_session->formatClock(m_selEnd, true);
    } else {
        const bool startMoves = m_drag == StartHandleDrag || (m_drag == CreateDrag && m_selStart != m_anchor);
        const qint64 moving = startMoves ? m_selStart : m_selEnd;
        m_hoverX = xForTime(moving);
        m_hoverText = m_session->formatClock(moving, true);
    }
    emit hoverChanged();
}

void TimelineItem::setHover(double x, const QString &text)
{
    m_hoverX = x;
    m_hoverText = text;
    emit hoverChanged();
}

void TimelineItem::hoverEnterEvent(QHoverEvent *event)
{
    hoverMoveEvent(event);
}

void TimelineItem::hoverMoveEvent(QHoverEvent *event)
{
    double x = event->position().x();
    QString text;
    if (sessionOpen()) {
        const qint64 t = timeAtX(x);
        const int kind = m_session->kindAt(t);
        if (kind == 1)
            text = tr("%1  Recording file not found").arg(m_session->formatClock(t, true));
        else if (kind == 0)
            text = m_session->formatClock(t, true);
    }
    const DragMode handle = handleAt(x);
    if (handle != NoDrag) {
        if (m_session) {
            const qint64 end = handle == StartHandleDrag ? m_selStart : m_selEnd;
            text = m_session->formatClock(end, true);
            x = xForTime(end);
        }
        setCursor(Qt::SizeHorCursor);
    } else if (insideBody(x)) {
        setCursor(Qt::OpenHandCursor);
    } else {
        setCursor(Qt::ArrowCursor);
    }
    setHover(x, text);
}

void TimelineItem::hoverLeaveEvent(QHoverEvent *)
{
    m_hoverText.clear();
    emit hoverChanged();
}

void TimelineItem::wheelEvent(QWheelEvent *event)
{
    event->accept();
    const QPoint delta = event->angleDelta();
    if ((event->modifiers() & Qt::ShiftModifier) || std::abs(delta.x()) > std::abs(delta.y())) {
        const int d = delta.x() != 0 ? delta.x() : delta.y();
        m_viewStart += qint64(std::trunc(double(span()) / -10.0 * double(d) / 120.0));
        clampView();
        restartUserView();
        rebuild();
    } else if (delta.y() != 0) {
        zoomAt(m_zoom + (delta.y() > 0 ? 1 : -1), timeAtX(event->position().x()));
    }
}

void TimelineItem::keyPressEvent(QKeyEvent *event)
{
    if (!m_selectionEditable || !m_selectionVisible || m_selStart < 0) {
        QQuickPaintedItem::keyPressEvent(event);
        return;
    }
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Home:
        if (m_selStart < m_selEnd)
            nudgeSelection(0, m_dayStart - m_selStart);
        break;
    case Qt::Key_End:
        if (m_selStart < m_selEnd)
            nudgeSelection(0, dayLast() - m_selEnd);
        break;
    case Qt::Key_Left:
        nudgeSelection(0, shift ? -60000 : -1000);
        break;
    case Qt::Key_Right:
        nudgeSelection(0, shift ? 60000 : 1000);
        break;
    default:
        QQuickPaintedItem::keyPressEvent(event);
        return;
    }
    event->accept();
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
    const qint64 viewEnd = m_viewStart + span();
    // Without a card the engine still reports a position (0); it is no
    // place on the day.
    if (!sessionOpen() || m_position < m_dayStart || m_position > dayLast() || m_position < m_viewStart ||
        m_position > viewEnd || width() <= 0.0)
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
    const qint64 viewEnd = m_viewStart + span();
    if (m_scrubbing && m_scrubTarget >= m_viewStart && m_scrubTarget <= viewEnd)
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
    const qint64 viewEnd = m_viewStart + s;
    const bool fine = s <= kTickSpanLimit;

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
                painter->fillRect(QRectF(x0, 67, x1 - x0, 10), pal[BlockStrip]);
        }
    };
    double runX0 = 0, runX1 = -1;
    bool runMissing = false;
    for (const card_range &r : m_chunks) {
        const double x0 = xForTime(std::max(rangeStartMs(r), m_viewStart));
        const double x1 = x0 + std::max(1.0, xForTime(std::min(viewEnd, rangeEndMs(r))) - x0);
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

    if (m_showingTicks) {
        for (const card_keyframe &k : m_keyframes) {
            if (!k.usable)
                continue;
            const double x = xForTime(k.time_ms);
            if (k.flags & CARD_MARK_START)
                painter->fillRect(QRectF(x - 1.5, 64, 3, 16), pal[EventStartTick]);
            else
                painter->fillRect(QRectF(x - 1.0, 66, 2, 12), pal[KeyframeTick]);
        }
    }

    for (const card_event &e : m_dayEvents) {
        const qint64 start = qint64(e.first) * 1000;
        const qint64 last = card_last_ms(e.last);
        if (last < m_viewStart || start > viewEnd)
            continue;
        const double x0 = xForTime(std::max(start, m_viewStart));
        const double x1 = xForTime(std::min(viewEnd, last));
        QColor c = pal[EventStartTick];
        if (!e.playable)
            c.setAlpha(100);
        painter->fillRect(QRectF(x0, 34, std::max(3.0, x1 - x0), 6), c);
    }

    if (!m_offsetMarks.empty()) {
        QFont font = painter->font();
        font.setPixelSize(11);
        painter->setFont(font);
        QPen pen(pal[OffsetChange], 1, Qt::DashLine);
        for (const OffsetMark &m : m_offsetMarks) {
            const double x = xForTime(m.t);
            painter->setPen(pen);
            painter->drawLine(QPointF(x, kAxisY), QPointF(x, kMarkerBottom));
            painter->setPen(pal[OffsetChange]);
            painter->drawText(QPointF(x + 3, 32), m.label);
        }
    }

    paintSelection(painter, pal, viewEnd);

    if (m_landing >= m_viewStart && m_landing <= viewEnd) {
        const double x = xForTime(m_landing);
        const QPointF diamond[] = {{x, 80}, {x + 6, 86}, {x, 92}, {x - 6, 86}};
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
            const QRectF box(left, 75, bw, 22);
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
    return nivra::timelineAxis(m_dayStart, m_viewStart, span(), width(), nivra::localeUsesTwelveHourClock(),
                               clockOfDay);
}

void TimelineItem::paintAxis(QPainter *painter, const QColor *pal, qint64 viewEnd) const
{
    const double w = width();
    const nivra::TimelineAxis axis = this->axis();
    painter->setPen(QPen(pal[AxisLine], 1));
    painter->drawLine(QPointF(0, kAxisY), QPointF(w, kAxisY));
    const qint64 first = m_dayStart + floorDivide(m_viewStart - m_dayStart, axis.minorStep) * axis.minorStep;
    for (qint64 t = first; t <= viewEnd; t += axis.minorStep) {
        const double x = xForTime(t);
        const double len = (t - m_dayStart) % axis.labelStep == 0 ? 8.0 : 4.0;
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
    if (!(m_selectionVisible || m_drag != NoDrag) || !(m_selStart >= 0 && m_selStart < m_selEnd))
        return;
    if (m_selEnd < m_viewStart || m_selStart > viewEnd)
        return;
    const double x0 = xForTime(std::max(m_selStart, m_viewStart));
    const double x1 = xForTime(std::min(viewEnd, m_selEnd));
    const QRectF rect(x0, 32, std::max(1.0, x1 - x0), 38);
    painter->setPen(QPen(pal[SelectionOutline], 1));
    painter->setBrush(pal[SelectionFill]);
    painter->drawRoundedRect(rect, 3, 3);

    const double xs = xForTime(m_selStart);
    const double xe = xForTime(m_selEnd);
    const bool narrow = xe - xs < kNarrowPx;
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
    if (m_selStart >= m_viewStart && m_selStart <= viewEnd)
        handle(narrow ? xs - 10 : xs - 5);
    if (m_selEnd >= m_viewStart && m_selEnd <= viewEnd)
        handle(narrow ? xe : xe - 5);
}

void TimelineItem::paintMarker(QPainter *painter, double x, const QColor &color) const
{
    painter->setPen(QPen(color, 2));
    painter->drawLine(QPointF(x, kAxisY), QPointF(x, kMarkerBottom));
    painter->setPen(Qt::NoPen);
    painter->setBrush(color);
    painter->drawEllipse(QPointF(x, kAxisY), 5, 5);
}
