#include "timeline/timeline_item.h"

#include "session/card_session.h"
#include "timeline/timeline_view.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QQuickWindow>
#include <QStyleHints>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

using nivra::CardSession;

namespace {

constexpr qint64 kFollowPauseMs = 6000;
constexpr qint64 kSeekIntervalMs = 120;
constexpr qint64 kSnapRadiusMs = 8000;

} // namespace

TimelineItem::TimelineItem(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setAcceptedMouseButtons(Qt::LeftButton);
    setAcceptHoverEvents(true);
    setActiveFocusOnTab(true);
    setAntialiasing(true);
    setOpaquePainting(true);
    setFillColor(paletteColor(Background, false));
    m_landingTimer.setSingleShot(true);
    m_landingTimer.setInterval(4000);
    connect(&m_landingTimer, &QTimer::timeout, this, &TimelineItem::landingTextTimeout);
}

TimelineItem::~TimelineItem() = default;

qint64 TimelineItem::spanOfZoom(int zoom)
{
    return nivra::spanOfZoom(zoom);
}

// ---- Model and view ---------------------------------------------------------

qint64 TimelineItem::span() const
{
    return m_view.span();
}

qint64 TimelineItem::dayLength() const
{
    return m_view.dayLength();
}

qint64 TimelineItem::dayLast() const
{
    return m_view.dayLast();
}

bool TimelineItem::sessionOpen() const
{
    return m_session && m_session->isOpen();
}

double TimelineItem::xForTime(qint64 t) const
{
    return m_view.xForTime(t);
}

qint64 TimelineItem::timeAtX(double x) const
{
    return m_view.timeAtX(x);
}

void TimelineItem::setClock(const nivra::Clock *clock)
{
    m_clock = clock ? clock : &nivra::Clock::steady();
    m_userViewAt = -1;
    m_lastSeekAt = -1;
}

void TimelineItem::clampView()
{
    m_view.clamp();
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

QObject *TimelineItem::activity() const
{
    return m_activity.data();
}

void TimelineItem::setActivity(QObject *activity)
{
    auto *model = qobject_cast<nivra::ActivityModel *>(activity);
    if (model == m_activity.data())
        return;
    if (m_activity)
        disconnect(m_activity, nullptr, this, nullptr);
    m_activity = model;
    if (model)
        connect(model, &nivra::ActivityModel::indexChanged, this, &TimelineItem::invalidate);
    invalidate();
    emit activityChanged();
}

QObject *TimelineItem::bookmarks() const
{
    return m_bookmarks.data();
}

void TimelineItem::setBookmarks(QObject *bookmarks)
{
    auto *model = qobject_cast<nivra::Bookmarks *>(bookmarks);
    if (model == m_bookmarks.data())
        return;
    if (m_bookmarks)
        disconnect(m_bookmarks, nullptr, this, nullptr);
    m_bookmarks = model;
    if (model)
        connect(model, &nivra::Bookmarks::changed, this, &TimelineItem::invalidate);
    invalidate();
    emit bookmarksChanged();
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
    if (dayStart == m_view.dayStart)
        return;
    clearSelection();
    m_view.dayStart = dayStart;
    const qint64 s = span();
    qint64 start = m_view.dayStart;
    if (m_position >= m_view.dayStart && m_position <= dayLast()) {
        start = m_position - s / 10;
    } else if (sessionOpen()) {
        for (const card_range &r : m_session->chunkRecords()) {
            if (qint64(card_last_ms(r.last)) >= m_view.dayStart && qint64(r.first) * 1000 <= dayLast()) {
                start = std::max(qint64(r.first) * 1000, m_view.dayStart) - s / 10;
                break;
            }
        }
    }
    m_view.start = start;
    clampView();
    reloadDayEvents();
    rebuild();
    emit dayStartChanged();
}

void TimelineItem::setDayEnd(qlonglong dayEnd)
{
    if (dayEnd == m_view.dayEnd)
        return;
    const qint64 before = dayLength();
    m_view.dayEnd = dayEnd;
    if (dayLength() == before)
        return;
    if (m_sel.end > dayLast())
        setSelection(m_sel.start, m_sel.end);
    clampView();
    reloadDayEvents();
    rebuild();
    emit dayStartChanged();
}

void TimelineItem::setZoom(int zoom)
{
    const qint64 s = span();
    const bool positionInView = m_position >= m_view.start && m_position <= m_view.start + s;
    zoomAt(zoom, positionInView ? m_position : m_view.start + s / 2);
}

void TimelineItem::zoomIn()
{
    setZoom(m_view.zoom + 1);
}

void TimelineItem::zoomOut()
{
    setZoom(m_view.zoom - 1);
}

void TimelineItem::zoomAt(int level, qint64 anchor)
{
    if (!m_view.zoomAt(level, anchor))
        return;
    restartUserView();
    rebuild();
}

void TimelineItem::restartUserView()
{
    m_userViewAt = m_clock->nowMs();
}

void TimelineItem::setViewStart(qlonglong viewStart)
{
    m_view.start = viewStart;
    clampView();
    rebuild();
}

void TimelineItem::showTime(qlonglong ms)
{
    const qint64 s = span();
    if (ms >= m_view.start && ms <= m_view.start + s)
        return;
    m_view.start = nivra::addSaturated(ms, -s / 10);
    clampView();
    rebuild();
}

void TimelineItem::revealRange(qlonglong fromMs, qlonglong toMs)
{
    if (toMs <= fromMs)
        return;
    const qint64 length = toMs - fromMs;
    while (m_view.zoom > 0 && double(spanOfZoom(m_view.zoom)) < 1.1 * double(length))
        setZoom(m_view.zoom - 1);
    const qint64 s = span();
    if (fromMs < m_view.start || toMs > m_view.start + s)
        setViewStart(qlonglong(std::llround(double(fromMs) - double(s - length) / 2.0)));
}

void TimelineItem::setPosition(qlonglong position)
{
    if (position == m_position)
        return;
    m_position = position;
    const qint64 s = span();
    const bool userViewing = m_userViewAt >= 0 && m_clock->nowMs() - m_userViewAt < kFollowPauseMs;
    const bool stay = !m_follow || m_scrubbing || m_drag != NoDrag || userViewing ||
                      position < m_view.dayStart || position > dayLast() ||
                      (position >= m_view.start && position <= m_view.start + s - s / 20);
    if (stay) {
        // Only the marker moves: the cached picture stays, and a move of
        // less than a device pixel repaints nothing (at 1x on a whole day's
        // view the marker moves a pixel about once a minute).
        const double x = markerX();
        const double pixel = window() ? 1.0 / window()->effectiveDevicePixelRatio() : 1.0;
        if ((x < 0) != (m_paintedMarkerX < 0) || std::abs(x - m_paintedMarkerX) >= pixel)
            update();
    } else {
        m_view.start = position - s / 10;
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
    m_view.width = newGeometry.width();
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
        const qint64 viewEnd = m_view.start + s;
        for (const card_range &r : m_session->chunkRecords()) {
            if (qint64(card_last_ms(r.last)) >= m_view.start && qint64(r.first) * 1000 <= viewEnd)
                m_chunks.push_back(r);
        }
        if (s <= nivra::kTickSpanLimit) {
            m_keyframes = m_session->keyframeRecords(m_view.start, viewEnd);
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
        m_dayEvents = m_session->eventRecords(m_view.dayStart, dayLast());
}

// Kept with the view so that painting asks the session nothing.
void TimelineItem::rebuildOffsetMarks()
{
    m_offsetMarks.clear();
    if (sessionOpen())
        m_offsetMarks = m_session->offsetChanges(m_view.start, m_view.end());
}

// ---- Selection --------------------------------------------------------------

void TimelineItem::setSelection(qlonglong fromMs, qlonglong toMs)
{
    const nivra::Selection next = nivra::selectionBetween(fromMs, toMs, m_view);
    if (!next.valid()) {
        clearSelection();
        return;
    }
    if (next == m_sel)
        return;
    m_sel = next;
    invalidate();
    emit selectionChanged();
}

void TimelineItem::clearSelection()
{
    m_drag = NoDrag;
    if (m_sel == nivra::Selection())
        return;
    m_sel = {};
    invalidate();
    emit selectionChanged();
}

void TimelineItem::nudgeSelection(int part, qlonglong deltaMs)
{
    if (!m_sel.valid() || deltaMs == 0)
        return;
    const nivra::Selection next = nivra::nudgedSelection(m_sel, part, deltaMs, m_view);
    setSelection(next.start, next.end);
    emit selectionFinished();
}

void TimelineItem::selectionToBoundary(int part, bool endOfDay)
{
    if (!m_sel.valid())
        return;
    const nivra::Selection next = nivra::selectionToBoundary(m_sel, part, endOfDay, m_view);
    setSelection(next.start, next.end);
    emit selectionFinished();
}

// ---- Seeking ----------------------------------------------------------------

void TimelineItem::seekAt(qlonglong ms)
{
    const qint64 s = span();
    if (ms < m_view.start || ms > m_view.start + s) {
        m_view.start = nivra::addSaturated(ms, -s / 10);
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
        for (const card_keyframe &k : m_session->keyframeRecords(nivra::addSaturated(t, -kSnapRadiusMs),
                                                                 nivra::addSaturated(t, kSnapRadiusMs))) {
            if (!k.usable || (m_view.dayStart > 0 && (k.time_ms < m_view.dayStart || k.time_ms > dayLast())))
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

nivra::DragMode TimelineItem::handleAt(double x) const
{
    if (!m_selectionEditable || !m_selectionVisible)
        return NoDrag;
    return nivra::grabAt(x, m_sel, m_view);
}

bool TimelineItem::insideBody(double x) const
{
    return m_selectionEditable && m_selectionVisible && nivra::insideSelection(x, m_sel, m_view);
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
    m_pressed = {m_sel, -1, x};
    m_moved = false;
    const bool alt = event->modifiers() & Qt::AltModifier;
    const DragMode handle = handleAt(x);
    if (handle != NoDrag) {
        m_drag = handle;
    } else if (m_selectionEditable && (event->modifiers() & Qt::ShiftModifier)) {
        const qint64 t = nivra::clampTo(nivra::roundToSecond(timeAtX(x)), m_view.dayStart, dayLast());
        m_pressed.anchor = t;
        m_sel = {t, t};
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
            if (std::abs(x - m_pressed.x) < QGuiApplication::styleHints()->startDragDistance())
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
        if (m_sel.end - m_sel.start >= 1000)
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
        if (m_sel.end - m_sel.start < 1000)
            clearSelection();
        invalidate();
    }
}

void TimelineItem::dragTo(double x)
{
    if (m_drag == NoDrag)
        return;
    const nivra::Selection next = nivra::draggedSelection(m_drag, x, m_pressed, m_view);
    if (next == m_sel)
        return;
    m_sel = next;
    invalidate();
    emit selectionChanged();
    if (!m_session)
        return;
    if (m_drag == MoveDrag) {
        m_hoverX = (xForTime(m_sel.start) + xForTime(m_sel.end)) / 2.0;
        m_hoverText = m_session->formatClock(m_sel.start, true) + QStringLiteral(" \u2013 ") +
                      m_session->formatClock(m_sel.end, true);
    } else {
        const bool startMoves =
            m_drag == StartHandleDrag || (m_drag == CreateDrag && m_sel.start != m_pressed.anchor);
        const qint64 moving = startMoves ? m_sel.start : m_sel.end;
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
            const qint64 end = handle == StartHandleDrag ? m_sel.start : m_sel.end;
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
        m_view.start += qint64(std::trunc(double(span()) / -10.0 * double(d) / 120.0));
        clampView();
        restartUserView();
        rebuild();
    } else if (delta.y() != 0) {
        zoomAt(m_view.zoom + (delta.y() > 0 ? 1 : -1), timeAtX(event->position().x()));
    }
}

void TimelineItem::keyPressEvent(QKeyEvent *event)
{
    if (!m_selectionEditable || !m_selectionVisible || m_sel.start < 0) {
        QQuickPaintedItem::keyPressEvent(event);
        return;
    }
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Home:
        if (m_sel.start < m_sel.end)
            nudgeSelection(0, m_view.dayStart - m_sel.start);
        break;
    case Qt::Key_End:
        if (m_sel.start < m_sel.end)
            nudgeSelection(0, dayLast() - m_sel.end);
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
