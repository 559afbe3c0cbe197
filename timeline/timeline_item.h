// TimelineItem: the painted strip under the video that shows one day of a
// card — recordings, missing files, key frames, events, UTC-offset changes,
// the playback position, the last seek's landing and the export selection —
// and turns pointer, wheel and key input into seek requests and selection
// edits.
#pragma once

#include "base/clock.h"
#include "session/activity_model.h"
#include "session/bookmarks.h"
#include "session/card_session.h"
#include "storage/card.h"
#include "timeline/timeline_axis.h"
#include "timeline/timeline_view.h"

#include <QColor>
#include <QImage>
#include <QPointer>
#include <QQuickPaintedItem>
#include <QString>
#include <QTimer>

#include <functional>
#include <vector>

class TestTimelineItem;

class TimelineItem : public QQuickPaintedItem
{
    Q_OBJECT
    Q_PROPERTY(QObject *card READ card WRITE setCard NOTIFY cardChanged)
    // The activity index (an ActivityModel): its strips under the lane.
    Q_PROPERTY(QObject *activity READ activity WRITE setActivity NOTIFY activityChanged)
    // The user's bookmarks (a Bookmarks): flags over the lane.
    Q_PROPERTY(QObject *bookmarks READ bookmarks WRITE setBookmarks NOTIFY bookmarksChanged)
    Q_PROPERTY(qlonglong dayStart READ dayStart WRITE setDayStart NOTIFY dayStartChanged)
    // The next day's start (exclusive): a day runs midnight to midnight, 23,
    // 24 or 25 hours; 0 or out of reach means 24 hours.
    Q_PROPERTY(qlonglong dayEnd READ dayEnd WRITE setDayEnd NOTIFY dayStartChanged)
    Q_PROPERTY(int zoom READ zoom WRITE setZoom NOTIFY viewChanged)
    Q_PROPERTY(qlonglong viewStart READ viewStart WRITE setViewStart NOTIFY viewChanged)
    Q_PROPERTY(qlonglong viewSpan READ viewSpan NOTIFY viewChanged)
    Q_PROPERTY(qlonglong position READ position WRITE setPosition NOTIFY positionChanged)
    Q_PROPERTY(qlonglong landing READ landing WRITE setLanding NOTIFY landingChanged)
    Q_PROPERTY(bool follow READ follow WRITE setFollow NOTIFY followChanged)
    Q_PROPERTY(QString hoverText READ hoverText NOTIFY hoverChanged)
    Q_PROPERTY(double hoverX READ hoverX NOTIFY hoverChanged)
    Q_PROPERTY(bool showingTicks READ showingTicks NOTIFY viewChanged)
    Q_PROPERTY(bool snapEnabled READ snapEnabled WRITE setSnapEnabled NOTIFY snapEnabledChanged)
    Q_PROPERTY(bool darkTheme READ darkTheme WRITE setDarkTheme NOTIFY darkThemeChanged)
    Q_PROPERTY(qlonglong selStart READ selStart NOTIFY selectionChanged)
    Q_PROPERTY(qlonglong selEnd READ selEnd NOTIFY selectionChanged)
    Q_PROPERTY(
        bool selectionVisible READ selectionVisible WRITE setSelectionVisible NOTIFY selectionVisibleChanged)
    Q_PROPERTY(bool selectionEditable READ selectionEditable WRITE setSelectionEditable NOTIFY
                   selectionEditableChanged)
    Q_PROPERTY(
        QString selectionLabel READ selectionLabel WRITE setSelectionLabel NOTIFY selectionLabelChanged)

public:
    // The colours the item paints with, by their index in the palette.
    enum PaletteColor
    {
        Background,
        AxisLabel,
        AxisLine,
        Lane,
        BlockCoarse,
        BlockFine,
        MissingFill,
        MissingHatch,
        EventStartTick,
        KeyframeTick,
        BlockStrip,
        PositionMarker,
        LandingDiamond,
        OffsetChange,
        LandingBox,
        SelectionOutline,
        SelectionFill,
        SelectionLabel,
        ActivityTrack,
        PictureChange,
        SoundLevel,
        BookmarkFlag,
        PaletteSize
    };

    using DragMode = nivra::DragMode;
    static constexpr DragMode NoDrag = nivra::NoDrag;
    static constexpr DragMode CreateDrag = nivra::CreateDrag;
    static constexpr DragMode StartHandleDrag = nivra::StartHandleDrag;
    static constexpr DragMode EndHandleDrag = nivra::EndHandleDrag;
    static constexpr DragMode MoveDrag = nivra::MoveDrag;

    explicit TimelineItem(QQuickItem *parent = nullptr);
    ~TimelineItem() override;

    static QColor paletteColor(int index, bool dark);
    static qint64 spanOfZoom(int zoom);

    QObject *card() const;
    void setCard(QObject *card);
    QObject *activity() const;
    void setActivity(QObject *activity);
    QObject *bookmarks() const;
    void setBookmarks(QObject *bookmarks);
    qlonglong dayStart() const { return m_view.dayStart; }
    void setDayStart(qlonglong dayStart);
    qlonglong dayEnd() const { return m_view.dayStart + dayLength(); }
    void setDayEnd(qlonglong dayEnd);
    int zoom() const { return m_view.zoom; }
    void setZoom(int zoom);
    qlonglong viewStart() const { return m_view.start; }
    void setViewStart(qlonglong viewStart);
    qlonglong viewSpan() const { return span(); }
    qlonglong position() const { return m_position; }
    void setPosition(qlonglong position);
    qlonglong landing() const { return m_landing; }
    void setLanding(qlonglong landing);
    bool follow() const { return m_follow; }
    void setFollow(bool follow);
    QString hoverText() const { return m_hoverText; }
    double hoverX() const { return m_hoverX; }
    bool showingTicks() const { return m_showingTicks; }
    bool snapEnabled() const { return m_snapEnabled; }
    void setSnapEnabled(bool enabled);
    bool darkTheme() const { return m_darkTheme; }
    void setDarkTheme(bool dark);
    qlonglong selStart() const { return m_sel.start; }
    qlonglong selEnd() const { return m_sel.end; }
    bool selectionVisible() const { return m_selectionVisible; }
    void setSelectionVisible(bool visible);
    bool selectionEditable() const { return m_selectionEditable; }
    void setSelectionEditable(bool editable);
    QString selectionLabel() const { return m_selectionLabel; }
    void setSelectionLabel(const QString &label);

    Q_INVOKABLE void zoomIn();
    Q_INVOKABLE void zoomOut();
    // Zooms out until the range fits with a tenth to spare, then centres it
    // when it is not wholly in view.
    Q_INVOKABLE void revealRange(qlonglong fromMs, qlonglong toMs);
    Q_INVOKABLE void seekAt(qlonglong ms);
    Q_INVOKABLE void setSelection(qlonglong fromMs, qlonglong toMs);
    Q_INVOKABLE void clearSelection();
    Q_INVOKABLE void nudgeSelection(int part, qlonglong deltaMs);
    Q_INVOKABLE void selectionToBoundary(int part, bool endOfDay);

    // Mapping between times and x in item pixels for the current view.
    double xForTime(qint64 t) const;
    qint64 timeAtX(double x) const;

    // Replaces the monotonic millisecond clock that times the pause in
    // following after the user pans or zooms and the seek rate limit; tests
    // and the benchmark step it by hand; null is the steady clock.
    void setClock(const nivra::Clock *clock);

    // The axis as painted now: steps and label texts in the clock of the
    // session's time mode.
    nivra::TimelineAxis axis() const;

    void paint(QPainter *painter) override;

signals:
    void cardChanged();
    void activityChanged();
    void bookmarksChanged();
    void dayStartChanged();
    void viewChanged();
    void positionChanged();
    void landingChanged();
    void followChanged();
    void hoverChanged();
    void snapEnabledChanged();
    void darkThemeChanged();
    void selectionChanged();
    void selectionVisibleChanged();
    void selectionEditableChanged();
    void selectionLabelChanged();
    void selectionFinished();
    void seekRequested(qlonglong utcMs, bool snapToKeyframe);
    void missingClicked(qlonglong utcMs);
    void nothingAfter(qlonglong utcMs);

protected:
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseUngrabEvent() override;
    void hoverEnterEvent(QHoverEvent *event) override;
    void hoverMoveEvent(QHoverEvent *event) override;
    void hoverLeaveEvent(QHoverEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // What the item's own test reads of its state; the window shows these
    // through painting alone.
    friend class ::TestTimelineItem;
    // Scrolls the view to show ms when it is out of view.
    void showTime(qlonglong ms);
    QString landingText() const { return m_landingText; }
    bool isScrubbing() const { return m_scrubbing; }
    DragMode dragMode() const { return m_drag; }

    qint64 span() const;
    qint64 dayLast() const;
    // The length of the day shown (the whole-day zoom's span).
    qint64 dayLength() const;
    bool sessionOpen() const;
    void clampView();
    void rebuild();
    void reloadDayEvents();
    void rebuildOffsetMarks();
    void zoomAt(int level, qint64 anchor);
    void restartUserView();
    void onSessionChanged();
    void onSessionDestroyed();

    void requestSeek(qint64 t, bool final, bool alt);
    void scrubTo(double x, bool final, bool alt);
    DragMode handleAt(double x) const;
    bool insideBody(double x) const;
    void clickAt(qint64 t, bool fromBodyClick, bool alt);
    void dragTo(double x);
    void setHover(double x, const QString &text);
    void landingTextTimeout();

    // Marks the cached picture stale and schedules a repaint.
    void invalidate();
    // Paints everything but the markers (the cached picture).
    void paintStatic(QPainter *painter);
    // The position marker's x rounded to a quarter pixel, -1 when not shown.
    double markerX() const;
    void paintAxis(QPainter *painter, const QColor *pal, qint64 viewEnd) const;
    void paintSelection(QPainter *painter, const QColor *pal, qint64 viewEnd) const;
    void paintMarker(QPainter *painter, double x, const QColor &color) const;
    void paintActivity(QPainter *painter, const QColor *pal, qint64 viewEnd) const;
    void paintBookmarks(QPainter *painter, const QColor *pal, qint64 viewEnd) const;

    QPointer<nivra::CardSession> m_session;
    QPointer<nivra::ActivityModel> m_activity;
    QPointer<nivra::Bookmarks> m_bookmarks;
    nivra::TimelineView m_view;
    qint64 m_position = -1;
    QImage m_cache;
    bool m_cacheValid = false;
    bool m_staticChanged = true; // since the last paint
    double m_paintedMarkerX = -2.0;
    qint64 m_landing = -1;
    bool m_follow = true;
    QString m_hoverText;
    double m_hoverX = 0.0;
    bool m_showingTicks = false;
    bool m_snapEnabled = true;
    bool m_darkTheme = false;
    nivra::Selection m_sel;
    bool m_selectionVisible = false;
    bool m_selectionEditable = true;
    QString m_selectionLabel;

    // Caches filled when the view, day, width or session changes; painting
    // reads only these.
    std::vector<card_range> m_chunks;
    std::vector<card_keyframe> m_keyframes;
    std::vector<card_event> m_dayEvents;
    // UTC-offset changes, drawn as dashed lines with the new offset's label.
    std::vector<nivra::CardSession::OffsetChange> m_offsetMarks;

    const nivra::Clock *m_clock = &nivra::Clock::steady();
    qint64 m_userViewAt = -1; // clock time of the last pan or zoom, -1 = never

    DragMode m_drag = NoDrag;
    bool m_scrubbing = false;
    qint64 m_scrubTarget = -1;
    qint64 m_lastSeekAt = -1; // clock time of the last seek request, -1 = none
    nivra::DragStart m_pressed;
    bool m_moved = false;
    qint64 m_requested = -1;
    bool m_pendingLanding = false;
    QString m_landingText;
    QTimer m_landingTimer;
};
