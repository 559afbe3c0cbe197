// TimelineItem on real sessions of simulator cards. Painting is checked at
// the pixels the time mapping names; the axis under a 12-hour and a 24-hour
// locale (ctest runs the binary once per locale); the view rules with a
// hand-stepped clock; pointer, wheel and keys through a real QQuickWindow
// with the item created from QML as the program's module declares it.
#include "manual_clock.h"
#include "session/card_session.h"
#include "timeline/timeline_axis.h"
#include "timeline/timeline_item.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <memory>

using nivra::CardSession;

namespace {

constexpr int kW = 1000;
constexpr int kH = 110;

qint64 utc(const char *iso)
{
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODate).toMSecsSinceEpoch();
}

// The gaps card's day (recorded at offset 0) and its times.
const qint64 kDay = utc("2024-06-01T00:00:00Z");
qint64 at(int h, int m, int s = 0, int ms = 0)
{
    return kDay + ((h * 60 + m) * 60 + s) * 1000LL + ms;
}

bool twelveHourRun()
{
    return qgetenv("NIVRA_TEST_CLOCK") == "12";
}

QColor pal(int index, bool dark = false)
{
    return TimelineItem::paletteColor(index, dark);
}

// Returns src (with its alpha) painted over an opaque dst.
QColor over(const QColor &src, const QColor &dst)
{
    const double a = src.alphaF();
    return QColor::fromRgbF(src.redF() * a + dst.redF() * (1 - a), src.greenF() * a + dst.greenF() * (1 - a),
                            src.blueF() * a + dst.blueF() * (1 - a));
}

bool same(const QColor &a, const QColor &b, int tolerance = 2)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

QColor pixel(const QImage &image, double x, double y)
{
    return image.pixelColor(int(x), int(y));
}

QString describe(const QColor &c)
{
    return c.name(QColor::HexRgb);
}

#define QCOMPARE_COLOR(actual, expected)                                                                     \
    QVERIFY2(same((actual), (expected)),                                                                     \
             qPrintable(QStringLiteral("got %1, want %2").arg(describe(actual), describe(expected))))

// Sends one wheel event (angle in eighths of a degree) to the window.
void wheel(QWindow *window, QPoint pos, QPoint angle, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWheelEvent event(pos, window->mapToGlobal(pos), QPoint(), angle, Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QGuiApplication::sendEvent(window, &event);
}

QImage render(TimelineItem &item)
{
    QImage image(int(item.width()), int(item.height()), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, item.antialiasing());
    item.paint(&painter);
    return image;
}

// x of t in a kW-wide view, computed here rather than asked of the item.
double xOf(qint64 t, qint64 viewStart, qint64 span)
{
    return kW * double(t - viewStart) / double(span);
}

// How far a pixel lies from bg towards fg, 0..1, judged by the channel in
// which the two differ most.
double coverage(const QColor &px, const QColor &bg, const QColor &fg)
{
    const int dr = fg.red() - bg.red(), dg = fg.green() - bg.green(), db = fg.blue() - bg.blue();
    if (std::abs(dr) >= std::abs(dg) && std::abs(dr) >= std::abs(db))
        return double(px.red() - bg.red()) / dr;
    if (std::abs(dg) >= std::abs(db))
        return double(px.green() - bg.green()) / dg;
    return double(px.blue() - bg.blue()) / db;
}

} // namespace

class TestTimelineItem : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    // Painting
    void blocksAndStrip_data();
    void blocksAndStrip();
    void missingHatch_data();
    void missingHatch();
    void tinyChunkGetsOnePixel();
    void eventBands();
    void keyframeTicks();
    void offsetChangeLine_data();
    void offsetChangeLine();
    void selectionAndHandles_data();
    void selectionAndHandles();
    void landingMarkerAndText_data();
    void landingMarkerAndText();
    void positionMarkerAndTheme();
    void noPositionMarkerOffTheDay_data();
    void noPositionMarkerOffTheDay();

    // Axis
    void axisSteps_data();
    void axisSteps();
    void axisLabels_data();
    void axisLabels();
    void axisLabelsAcrossClockChange_data();
    void axisLabelsAcrossClockChange();

    // View
    void zoomClamp_data();
    void zoomClamp();
    void viewStartClamp();
    void dayChangePlacesPosition();
    void followPausesAfterWheel();
    void showTime();
    void revealRange_data();
    void revealRange();
    void tickDecision_data();
    void tickDecision();
    void sessionLifecycle();

    // Interaction through a window
    void scrubRateLimit();
    void markerRepaintsOnWholePixels();
    void scrubReleasedOverEmptyTime();
    void snapping_data();
    void snapping();
    void clickOnEmptyOrMissing_data();
    void clickOnEmptyOrMissing();
    void shiftDragCreate_data();
    void shiftDragCreate();
    void handleDrags_data();
    void handleDrags();
    void bodyMoveAndClick();
    void narrowHitZones();
    void keys_data();
    void keys();
    void selectionMethods();
    void landingTexts_data();
    void landingTexts();
    void hoverTextsAndCursors();
    void wheelZoomKeepsPointerTime();

private:
    // A window holding one item created from QML, showing the gaps card.
    struct Window
    {
        QQmlEngine engine;
        std::unique_ptr<QQuickWindow> window;
        TimelineItem *item = nullptr;
        ManualClock now;
    };
    std::unique_ptr<Window> makeWindow(CardSession *session);
    void showView(TimelineItem &item, int zoom, qint64 viewStart);

    CardSession m_gaps;
    CardSession m_demo;
    CardSession m_clockchange;
    CardSession m_big;
    std::unique_ptr<TimelineItem> m_item;
    ManualClock m_now;
};

void TestTimelineItem::initTestCase()
{
    QVERIFY2(m_gaps.openPath(QStringLiteral(GAPS_CARD)), qPrintable(m_gaps.errorString()));
    QVERIFY2(m_demo.openPath(QStringLiteral(DEMO_CARD)), qPrintable(m_demo.errorString()));
    QVERIFY2(m_clockchange.openPath(QStringLiteral(CLOCKCHANGE_CARD)),
             qPrintable(m_clockchange.errorString()));
    QVERIFY2(m_big.openPath(QStringLiteral(BIG_CARD)), qPrintable(m_big.errorString()));
    // The run's locale really is the one ctest chose.
    QCOMPARE(nivra::localeUsesTwelveHourClock(), twelveHourRun());
    // The gaps card as the checks below expect it.
    QCOMPARE(m_gaps.kindAt(at(10, 0, 5)), 0);
    QCOMPARE(m_gaps.kindAt(at(10, 45)), 1);
    QCOMPARE(m_gaps.kindAt(at(11, 30)), -1);
}

void TestTimelineItem::init()
{
    m_gaps.setTimeMode(CardSession::RecordingTime);
    m_clockchange.setTimeMode(CardSession::RecordingTime);
    m_item = std::make_unique<TimelineItem>();
    m_now.ms = 0;
    m_item->setClock(&m_now);
    m_item->setSize(QSizeF(kW, kH));
    m_item->setCard(&m_gaps);
    m_item->setDayStart(kDay);
}

void TestTimelineItem::showView(TimelineItem &item, int zoom, qint64 viewStart)
{
    item.setZoom(zoom);
    item.setViewStart(viewStart);
}

// ---- Painting ----------------------------------------------------------------

void TestTimelineItem::blocksAndStrip_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<bool>("dark");
    QTest::addColumn<int>("blockColor");
    QTest::addColumn<bool>("strip");
    // Level 2 has no key frames, so recorded blocks carry the strip; level 4
    // draws key frames instead.
    QTest::newRow("1h light") << 2 << false << int(TimelineItem::BlockCoarse) << true;
    QTest::newRow("1h dark") << 2 << true << int(TimelineItem::BlockCoarse) << true;
    QTest::newRow("1m light") << 4 << false << int(TimelineItem::BlockFine) << false;
    QTest::newRow("1m dark") << 4 << true << int(TimelineItem::BlockFine) << false;
}

void TestTimelineItem::blocksAndStrip()
{
    QFETCH(int, zoom);
    QFETCH(bool, dark);
    QFETCH(int, blockColor);
    QFETCH(bool, strip);
    const qint64 viewStart = at(9, 59, 30);
    const qint64 span = TimelineItem::spanOfZoom(zoom);
    m_item->setDarkTheme(dark);
    showView(*m_item, zoom, viewStart);
    QCOMPARE(m_item->showingTicks(), !strip);
    QCOMPARE(m_item->fillColor(), pal(TimelineItem::Background, dark));
    const QImage image = render(*m_item);

    // Recorded from 10:00:00; empty lane before it.
    const double blockX = xOf(at(10, 0, 5), viewStart, span);
    const double emptyX = xOf(at(9, 59, 45), viewStart, span);
    QCOMPARE_COLOR(pixel(image, blockX, 50), pal(blockColor, dark));
    QCOMPARE_COLOR(pixel(image, emptyX, 50), pal(TimelineItem::Lane, dark));
    QCOMPARE_COLOR(pixel(image, blockX, 86),
                   strip ? pal(TimelineItem::BlockStrip, dark) : pal(TimelineItem::Background, dark));
    QCOMPARE_COLOR(pixel(image, emptyX, 86), pal(TimelineItem::Background, dark));
    QCOMPARE_COLOR(pixel(image, emptyX, 104), pal(TimelineItem::Background, dark));
}

void TestTimelineItem::missingHatch_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<bool>("dark");
    QTest::newRow("24h") << 0 << false;
    QTest::newRow("1h") << 2 << false;
    QTest::newRow("1h dark") << 2 << true;
}

void TestTimelineItem::missingHatch()
{
    QFETCH(int, zoom);
    QFETCH(bool, dark);
    m_item->setDarkTheme(dark);
    const qint64 viewStart = zoom == 0 ? kDay : at(10, 15);
    showView(*m_item, zoom, viewStart);
    const QImage image = render(*m_item);
    const qint64 span = TimelineItem::spanOfZoom(zoom);
    // The missing chunk runs 10:30 .. 11:00; look well inside it.
    const int x0 = int(xOf(at(10, 30), viewStart, span)) + 2;
    const int x1 = int(xOf(at(11, 0), viewStart, span)) - 2;
    QVERIFY(x1 - x0 >= 8);
    int fill = 0, hatch = 0, other = 0;
    for (int x = x0; x <= x1; ++x) {
        for (int y = 42; y <= 60; ++y) {
            const QColor c = image.pixelColor(x, y);
            if (same(c, pal(TimelineItem::MissingFill, dark)))
                ++fill;
            else if (same(c, pal(TimelineItem::MissingHatch, dark), 40))
                ++hatch;
            else
                ++other;
        }
    }
    QVERIFY2(fill > 0 && hatch > 0, qPrintable(QStringLiteral("fill %1 hatch %2").arg(fill).arg(hatch)));
    QVERIFY2(hatch * 3 < fill, "a hatch, not a solid fill");
    QCOMPARE(other, 0);
}

void TestTimelineItem::tinyChunkGetsOnePixel()
{
    // The 5 s span at 16:00 is 0.06 px wide at level 0 and still gets one
    // pixel; the coverage of the columns around it adds up to that pixel.
    showView(*m_item, 0, kDay);
    const QImage image = render(*m_item);
    const double x = xOf(at(16, 0), kDay, 86400000);
    double sum = 0;
    for (int c = int(x) - 2; c <= int(x) + 2; ++c)
        sum += coverage(image.pixelColor(c, 50), pal(TimelineItem::Lane), pal(TimelineItem::BlockCoarse));
    QVERIFY2(sum > 0.8 && sum < 1.2, qPrintable(QString::number(sum)));

    // On the big card thousands of 6 s chunks (the ring keeps the day's last
    // six hours) merge into a solid lane at level 0.
    TimelineItem big;
    big.setSize(QSizeF(kW, kH));
    big.setCard(&m_big);
    big.setDayStart(m_big.dayStartMs(2024, 1, 1));
    const QImage bigImage = render(big);
    const double mid = xOf(utc("2024-01-01T20:00:00Z"), big.viewStart(), 86400000);
    QVERIFY(coverage(bigImage.pixelColor(int(mid), 50), pal(TimelineItem::Lane),
                     pal(TimelineItem::BlockCoarse)) > 0.5);
    QVERIFY(coverage(bigImage.pixelColor(int(mid), 86), pal(TimelineItem::Background),
                     pal(TimelineItem::BlockStrip)) > 0.5);
}

void TestTimelineItem::eventBands()
{
    const qint64 viewStart = at(9, 50);
    showView(*m_item, 2, viewStart);
    const QImage image = render(*m_item);
    const qint64 span = 3600000;
    const QColor bg = pal(TimelineItem::Background);
    // Motion at 10:00:30 for 30 s lies in playable time: full colour.
    QCOMPARE_COLOR(pixel(image, xOf(at(10, 0, 45), viewStart, span), 37), pal(TimelineItem::EventStartTick));
    // Sound at 10:40 lies in the missing stretch: alpha 100.
    QColor faded = pal(TimelineItem::EventStartTick);
    faded.setAlpha(100);
    QCOMPARE_COLOR(pixel(image, xOf(at(10, 40, 30), viewStart, span), 37), over(faded, bg));
    // Nothing between them.
    QCOMPARE_COLOR(pixel(image, xOf(at(10, 20), viewStart, span), 37), bg);
}

void TestTimelineItem::keyframeTicks()
{
    // Level 4, 60 ms per pixel: key frames every 10 s, the one at 10:00:30
    // starts an event.
    const qint64 viewStart = at(9, 59, 59, 970);
    showView(*m_item, 4, viewStart);
    QVERIFY(m_item->showingTicks());
    const QImage image = render(*m_item);
    const double plain = xOf(at(10, 0, 20), viewStart, 60000); // 333.8
    const double start = xOf(at(10, 0, 30), viewStart, 60000); // 500.5
    QCOMPARE_COLOR(pixel(image, plain, 84), pal(TimelineItem::KeyframeTick));
    QCOMPARE_COLOR(pixel(image, plain, 78.5), pal(TimelineItem::Background)); // plain ticks start at 80
    QCOMPARE_COLOR(pixel(image, start, 84), pal(TimelineItem::EventStartTick));
    QCOMPARE_COLOR(pixel(image, start, 78.5), pal(TimelineItem::EventStartTick)); // event ticks from 78
    QCOMPARE_COLOR(pixel(image, start, 93.5), pal(TimelineItem::EventStartTick));
    // No strip while ticks are drawn.
    QCOMPARE_COLOR(pixel(image, xOf(at(10, 0, 25), viewStart, 60000), 86), pal(TimelineItem::Background));
}

void TestTimelineItem::offsetChangeLine_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("recording time") << int(CardSession::RecordingTime);
    QTest::newRow("computer time") << int(CardSession::ComputerTime);
}

void TestTimelineItem::offsetChangeLine()
{
    // The clockchange card switches from +01:00 to +02:00 at 01:00:00 UTC on
    // 31 March 2024, when Berlin (the run's zone) changes its clocks too.
    QFETCH(int, mode);
    m_clockchange.setTimeMode(mode);
    TimelineItem item;
    item.setSize(QSizeF(kW, kH));
    item.setCard(&m_clockchange);
    item.setDayStart(m_clockchange.dayStartMs(2024, 3, 31));
    const qint64 change = utc("2024-03-31T01:00:00Z");
    const qint64 viewStart = change - 30030; // the line's x is 500.5
    showView(item, 4, viewStart);
    QCOMPARE(item.viewStart(), viewStart);
    const QImage image = render(item);
    const QColor bg = pal(TimelineItem::Background);
    const double x = xOf(change, viewStart, 60000);
    int dash = 0, gap = 0;
    for (int y = 42; y < 78; ++y) {
        const QColor c = pixel(image, x, y);
        if (same(c, pal(TimelineItem::OffsetChange), 8))
            ++dash;
        else
            ++gap;
    }
    QVERIFY2(dash >= 10 && gap >= 5, qPrintable(QStringLiteral("dash %1 gap %2").arg(dash).arg(gap)));
    // The label sits right of the line on baseline 32, below the axis ticks.
    int ink = 0;
    for (int lx = int(x) + 3; lx < int(x) + 60; ++lx)
        ink += same(image.pixelColor(lx, 31), bg, 30) ? 0 : 1;
    QVERIFY2(ink >= 5, qPrintable(QString::number(ink)));
    // No line where the first chunk began, before the view: its offset holds there.
    const double before = xOf(change - 15000, viewStart, 60000);
    for (int y = 42; y < 78; ++y)
        QVERIFY(!same(pixel(image, before + 0.5, y), pal(TimelineItem::OffsetChange), 8));
}

void TestTimelineItem::selectionAndHandles_data()
{
    QTest::addColumn<qint64>("from");
    QTest::addColumn<qint64>("to");
    QTest::addColumn<bool>("narrow");
    QTest::addColumn<bool>("dark");
    QTest::newRow("normal") << at(10, 0, 12) << at(10, 0, 48) << false << false;
    QTest::newRow("normal dark") << at(10, 0, 12) << at(10, 0, 48) << false << true;
    QTest::newRow("narrow 60 px") << at(10, 0, 12) << at(10, 0, 15, 600) << true << false;
}

void TestTimelineItem::selectionAndHandles()
{
    QFETCH(qint64, from);
    QFETCH(qint64, to);
    QFETCH(bool, narrow);
    QFETCH(bool, dark);
    const qint64 viewStart = at(10, 0);
    m_item->setDarkTheme(dark);
    showView(*m_item, 4, viewStart);
    m_item->setSelectionLabel(QStringLiteral("36 s"));
    const QImage before = render(*m_item);
    m_item->setSelection(from, to);
    const QImage plain = render(*m_item); // not visible yet
    QCOMPARE(plain, before);
    m_item->setSelectionVisible(true);
    const QImage image = render(*m_item);

    const double xs = xOf(from, viewStart, 60000);
    const double xe = xOf(to, viewStart, 60000);
    QCOMPARE(xe - xs < 70, narrow);
    const double inside = narrow ? (xs + xe) / 2 : xs + 20;
    // The fill is laid over what was there.
    QCOMPARE_COLOR(pixel(image, inside, 45),
                   over(pal(TimelineItem::SelectionFill, dark), pixel(before, inside, 45)));
    QCOMPARE_COLOR(pixel(image, inside, 33.5),
                   over(pal(TimelineItem::SelectionFill, dark), pixel(before, inside, 33.5)));
    // Handles: centred on the ends, or wholly outside them when narrow.
    const double startHandle = narrow ? xs - 5 : xs;
    const double endHandle = narrow ? xe + 5 : xe;
    QCOMPARE_COLOR(pixel(image, startHandle, 40), pal(TimelineItem::SelectionOutline, dark));
    QCOMPARE_COLOR(pixel(image, endHandle, 40), pal(TimelineItem::SelectionOutline, dark));
    if (narrow) {
        QVERIFY(!same(pixel(image, xs + 3, 40), pal(TimelineItem::SelectionOutline, dark)));
        QVERIFY(!same(pixel(image, xe - 3, 40), pal(TimelineItem::SelectionOutline, dark)));
    }
    // The label's box in colour 0 at the middle, unless narrow.
    QFont font = QGuiApplication::font();
    font.setPixelSize(10);
    const double boxHalf = (QFontMetricsF(font).horizontalAdvance(QStringLiteral("36 s")) + 10) / 2;
    const double cx = (xs + xe) / 2;
    const QColor boxEdge = pixel(image, cx - boxHalf + 1.5, 51);
    if (narrow)
        QVERIFY(!same(boxEdge, pal(TimelineItem::Background, dark)));
    else
        QCOMPARE_COLOR(boxEdge, pal(TimelineItem::Background, dark));
}

void TestTimelineItem::landingMarkerAndText_data()
{
    QTest::addColumn<qint64>("landing");
    QTest::addColumn<bool>("flipped");
    QTest::newRow("middle") << at(10, 0, 36) << false;
    QTest::newRow("right edge") << at(10, 0, 59) << true;
}

void TestTimelineItem::landingMarkerAndText()
{
    QFETCH(qint64, landing);
    QFETCH(bool, flipped);
    const qint64 viewStart = at(10, 0);
    showView(*m_item, 4, viewStart);
    m_item->setSnapEnabled(false);
    m_item->seekAt(landing);
    m_item->setLanding(landing);
    QVERIFY(m_item->landingText().startsWith(QStringLiteral("Landed ")));
    const QImage image = render(*m_item);
    const double x = xOf(landing, viewStart, 60000);
    const QColor bg = pal(TimelineItem::Background);
    QCOMPARE_COLOR(pixel(image, x, 100), pal(TimelineItem::LandingDiamond));
    QCOMPARE_COLOR(pixel(image, x, 93), bg); // the diamond starts at y 94
    const QColor box = over(pal(TimelineItem::LandingBox), bg);
    const double inBox = flipped ? x - 15 : x + 15;
    const double outside = flipped ? x + 15 : x - 15;
    QCOMPARE_COLOR(pixel(image, inBox, 91), box);
    QVERIFY(!same(pixel(image, outside, 91), box));
}

void TestTimelineItem::positionMarkerAndTheme()
{
    const qint64 viewStart = at(10, 0);
    showView(*m_item, 4, viewStart);
    m_item->setFollow(false);
    m_item->setPosition(at(10, 0, 30)); // x 500
    for (bool dark : {false, true}) {
        QSignalSpy themeSpy(m_item.get(), &TimelineItem::darkThemeChanged);
        m_item->setDarkTheme(dark);
        m_item->setDarkTheme(dark);
        QCOMPARE(themeSpy.count(), dark ? 1 : 0);
        const QImage image = render(*m_item);
        QCOMPARE_COLOR(pixel(image, 499, 50), pal(TimelineItem::PositionMarker, dark));
        QCOMPARE_COLOR(pixel(image, 500, 70), pal(TimelineItem::PositionMarker, dark));
        QCOMPARE_COLOR(pixel(image, 503, 22), pal(TimelineItem::PositionMarker, dark)); // the dot
        QCOMPARE_COLOR(pixel(image, 503, 50), pal(TimelineItem::BlockFine, dark));
        QCOMPARE_COLOR(pixel(image, 500, 104), pal(TimelineItem::Background, dark));
    }
}

// No marker where the position is no place on the shown day: without a card
// (the engine reports 0) and at the first moment of the next day.
void TestTimelineItem::noPositionMarkerOffTheDay_data()
{
    QTest::addColumn<bool>("withCard");
    QTest::addColumn<qint64>("dayStart");
    QTest::addColumn<qint64>("position");
    QTest::addColumn<double>("x");
    QTest::newRow("no card, position 0") << false << qint64(0) << qint64(0) << 0.0;
    QTest::newRow("next day's first moment") << true << kDay << kDay + 86400000 << double(kW);
}

void TestTimelineItem::noPositionMarkerOffTheDay()
{
    QFETCH(bool, withCard);
    QFETCH(qint64, dayStart);
    QFETCH(qint64, position);
    QFETCH(double, x);
    TimelineItem item;
    item.setSize(QSizeF(kW, kH));
    if (withCard)
        item.setCard(&m_gaps);
    item.setDayStart(dayStart);
    item.setPosition(position);
    QCOMPARE(item.viewStart(), dayStart);
    const QImage image = render(item);
    const QColor marker = pal(TimelineItem::PositionMarker);
    for (int px = std::max(0, int(x) - 6); px <= std::min(kW - 1, int(x) + 6); ++px) {
        for (int y : {22, 50, 70})
            QVERIFY2(!same(image.pixelColor(px, y), marker, 30),
                     qPrintable(QStringLiteral("at %1,%2").arg(px).arg(y)));
    }
}

// ---- Axis --------------------------------------------------------------------

void TestTimelineItem::axisSteps_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<qint64>("labelStep");
    QTest::addColumn<qint64>("minorStep");
    QTest::newRow("1000 px, 24h") << 1000.0 << 0 << qint64(7200000) << qint64(1440000);
    QTest::newRow("1440 px, 24h") << 1440.0 << 0 << qint64(7200000) << qint64(1440000);
    QTest::newRow("3000 px, 24h") << 3000.0 << 0 << qint64(3600000) << qint64(720000);
    QTest::newRow("20 px, 24h: none fits") << 20.0 << 0 << qint64(21600000) << qint64(4320000);
    QTest::newRow("1000 px, 6h") << 1000.0 << 1 << qint64(1800000) << qint64(360000);
    QTest::newRow("1000 px, 10m") << 1000.0 << 3 << qint64(60000) << qint64(12000);
    QTest::newRow("1000 px, 1m") << 1000.0 << 4 << qint64(5000) << qint64(1000);
    QTest::newRow("200 px, 1m") << 200.0 << 4 << qint64(30000) << qint64(6000);
    QTest::newRow("5000 px, 1m: 1 s") << 5000.0 << 4 << qint64(1000) << qint64(500);
}

void TestTimelineItem::axisSteps()
{
    QFETCH(double, width);
    QFETCH(int, zoom);
    QFETCH(qint64, labelStep);
    QFETCH(qint64, minorStep);
    const nivra::TimelineAxis axis =
        nivra::timelineAxis(kDay, kDay, TimelineItem::spanOfZoom(zoom), width, twelveHourRun());
    QCOMPARE(axis.labelStep, labelStep);
    QCOMPARE(axis.minorStep, minorStep);
}

void TestTimelineItem::axisLabels_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<qint64>("viewStart");
    QTest::addColumn<QStringList>("h24");
    QTest::addColumn<QStringList>("h12");
    QStringList hours24, hours12;
    for (int h = 0; h <= 24; h += 2) {
        hours24 << QStringLiteral("%1").arg(h, 2, 10, QLatin1Char('0'));
        const int hh = h % 12 == 0 ? 12 : h % 12;
        hours12 << QStringLiteral("%1:00 %2")
                       .arg(hh)
                       .arg(h % 24 < 12 ? QStringLiteral("AM") : QStringLiteral("PM"));
    }
    QTest::newRow("1000 px, 24h") << 1000.0 << 0 << kDay << hours24 << hours12;
    QTest::newRow("1000 px, 10m") << 1000.0 << 3 << at(13, 0)
                                  << QStringList{"13:00", "13:01", "13:02", "13:03", "13:04", "13:05",
                                                 "13:06", "13:07", "13:08", "13:09", "13:10"}
                                  << QStringList{"1:00 PM", "1:01 PM", "1:02 PM", "1:03 PM",
                                                 "1:04 PM", "1:05 PM", "1:06 PM", "1:07 PM",
                                                 "1:08 PM", "1:09 PM", "1:10 PM"};
    QTest::newRow("200 px, 1m, off the step")
        << 200.0 << 4 << at(9, 59, 50) << QStringList{"10:00:00", "10:00:30"}
        << QStringList{"10:00:00 AM", "10:00:30 AM"};
    QTest::newRow("600 px, 6h: hour labels")
        << 600.0 << 1 << at(18, 0) << QStringList{"18", "19", "20", "21", "22", "23", "24"}
        << QStringList{"6:00 PM", "7:00 PM", "8:00 PM", "9:00 PM", "10:00 PM", "11:00 PM", "12:00 AM"};
    QTest::newRow("1000 px, 6h: half hours")
        << 1000.0 << 1 << at(18, 0)
        << QStringList{"18:00", "18:30", "19:00", "19:30", "20:00", "20:30", "21:00",
                       "21:30", "22:00", "22:30", "23:00", "23:30", "00:00"}
        << QStringList{"6:00 PM", "6:30 PM",  "7:00 PM",  "7:30 PM",  "8:00 PM",  "8:30 PM", "9:00 PM",
                       "9:30 PM", "10:00 PM", "10:30 PM", "11:00 PM", "11:30 PM", "12:00 AM"};
}

void TestTimelineItem::axisLabels()
{
    QFETCH(double, width);
    QFETCH(int, zoom);
    QFETCH(qint64, viewStart);
    QFETCH(QStringList, h24);
    QFETCH(QStringList, h12);
    const nivra::TimelineAxis axis =
        nivra::timelineAxis(kDay, viewStart, TimelineItem::spanOfZoom(zoom), width, twelveHourRun());
    QStringList texts;
    for (const nivra::AxisLabel &label : axis.labels)
        texts << label.text;
    QCOMPARE(texts, twelveHourRun() ? h12 : h24);
}

// On the clockchange card's 31 March (Berlin and the camera both go from
// +01:00 to +02:00 at 01:00 UTC) the labels read the clock of each tick in
// either time mode; the ticks keep their spacing.
void TestTimelineItem::axisLabelsAcrossClockChange_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<qint64>("viewStart");
    QTest::addColumn<QStringList>("h24");
    QTest::addColumn<QStringList>("h12");
    QStringList day24{"00"}, day12{"12:00 AM"};
    for (int k = 1; k <= 12; ++k) {
        const int h = (2 * k + 1) % 24;
        day24 << QStringLiteral("%1").arg(h, 2, 10, QLatin1Char('0'));
        day12 << QStringLiteral("%1:00 %2").arg(h % 12 == 0 ? 12 : h % 12).arg(h < 12 ? "AM" : "PM");
    }
    QTest::newRow("24h, recording time")
        << int(CardSession::RecordingTime) << 0 << qint64(-1) << day24 << day12;
    QStringList hour24, hour12;
    for (const char *clock : {"01:30", "01:35", "01:40", "01:45", "01:50", "01:55", "03:00", "03:05", "03:10",
                              "03:15", "03:20", "03:25", "03:30"}) {
        hour24 << QString::fromLatin1(clock);
        hour12 << QString::fromLatin1(clock + (clock[0] == '0' ? 1 : 0)) + QStringLiteral(" AM");
    }
    QTest::newRow("1h around the change, computer time")
        << int(CardSession::ComputerTime) << 2 << utc("2024-03-31T00:30:00Z") << hour24 << hour12;
}

void TestTimelineItem::axisLabelsAcrossClockChange()
{
    QFETCH(int, mode);
    QFETCH(int, zoom);
    QFETCH(qint64, viewStart);
    QFETCH(QStringList, h24);
    QFETCH(QStringList, h12);
    m_clockchange.setTimeMode(mode);
    TimelineItem item;
    item.setSize(QSizeF(kW, kH));
    item.setCard(&m_clockchange);
    item.setDayStart(m_clockchange.dayStartMs(2024, 3, 31));
    QCOMPARE(item.dayStart(), utc("2024-03-30T23:00:00Z"));
    showView(item, zoom, viewStart < 0 ? item.dayStart() : viewStart);
    const nivra::TimelineAxis axis = item.axis();
    QStringList texts;
    for (const nivra::AxisLabel &label : axis.labels)
        texts << label.text;
    QCOMPARE(texts, twelveHourRun() ? h12 : h24);
    QCOMPARE(axis.labels.value(1).t - axis.labels.value(0).t, axis.labelStep);
}

// ---- View --------------------------------------------------------------------

void TestTimelineItem::zoomClamp_data()
{
    QTest::addColumn<int>("requested");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<qint64>("span");
    QTest::newRow("7 is 4") << 7 << 4 << qint64(60000);
    QTest::newRow("-2 is 0") << -2 << 0 << qint64(86400000);
    QTest::newRow("3") << 3 << 3 << qint64(600000);
}

void TestTimelineItem::zoomClamp()
{
    QFETCH(int, requested);
    QFETCH(int, zoom);
    QFETCH(qint64, span);
    m_item->setZoom(1);
    QSignalSpy spy(m_item.get(), &TimelineItem::viewChanged);
    m_item->setZoom(requested);
    QCOMPARE(m_item->zoom(), zoom);
    QCOMPARE(m_item->viewSpan(), span);
    QCOMPARE(spy.count(), 1);
    m_item->setZoom(requested); // the same level again: nothing
    QCOMPARE(spy.count(), 1);
}

void TestTimelineItem::viewStartClamp()
{
    showView(*m_item, 0, at(5, 0));
    QCOMPARE(m_item->viewStart(), kDay);
    showView(*m_item, 2, at(23, 30));
    QCOMPARE(m_item->viewStart(), at(23, 0));
    m_item->setViewStart(kDay - 5000);
    QCOMPARE(m_item->viewStart(), kDay);
}

void TestTimelineItem::dayChangePlacesPosition()
{
    TimelineItem item;
    item.setSize(QSizeF(kW, kH));
    item.setCard(&m_demo);
    item.setZoom(2);
    const qint64 day13 = m_demo.dayStartMs(2024, 5, 13);
    const qint64 position = utc("2024-05-13T08:20:00Z");
    item.setFollow(false);
    item.setPosition(position);
    QSignalSpy daySpy(&item, &TimelineItem::dayStartChanged);
    item.setDayStart(day13);
    QCOMPARE(daySpy.count(), 1);
    QCOMPARE(item.viewStart(), position - 360000);
    QCOMPARE(item.xForTime(position), kW / 10.0);
    // Without the position in the day, the first chunk of the day leads.
    item.setPosition(-1);
    const qint64 day12 = m_demo.dayStartMs(2024, 5, 12);
    item.setDayStart(day12);
    QCOMPARE(item.viewStart(), utc("2024-05-12T06:30:00Z") - 360000);
    // A day change clears the selection.
    item.setSelection(utc("2024-05-12T07:00:00Z"), utc("2024-05-12T07:01:00Z"));
    QVERIFY(item.selStart() >= 0);
    item.setDayStart(day13);
    QCOMPARE(item.selStart(), -1);
}

void TestTimelineItem::followPausesAfterWheel()
{
    auto w = makeWindow(&m_gaps);
    TimelineItem *item = w->item;
    showView(*item, 3, at(10, 0));
    w->now.ms += 6000; // past the pause that the zoom change began
    item->setPosition(at(10, 1));
    QCOMPARE(item->viewStart(), at(10, 0));
    // Playback leaving the view pulls it along.
    item->setPosition(at(10, 9, 40));
    QCOMPARE(item->viewStart(), at(10, 9, 40) - 60000);
    // A wheel pan pauses that for 6 s.
    wheel(w->window.get(), QPoint(500, 50), QPoint(-120, 0));
    const qint64 panned = item->viewStart();
    QCOMPARE(panned, at(10, 9, 40) - 60000 + 60000);
    w->now.ms += 5999;
    item->setPosition(at(10, 30));
    QCOMPARE(item->viewStart(), panned);
    w->now.ms += 1;
    item->setPosition(at(10, 31));
    QCOMPARE(item->viewStart(), at(10, 31) - 60000);
    // Following is off: the view stays.
    item->setFollow(false);
    item->setPosition(at(12, 0));
    QCOMPARE(item->viewStart(), at(10, 31) - 60000);
}

void TestTimelineItem::showTime()
{
    showView(*m_item, 3, at(10, 0));
    QSignalSpy seeks(m_item.get(), &TimelineItem::seekRequested);
    m_item->showTime(at(10, 5));
    QCOMPARE(m_item->viewStart(), at(10, 0));
    m_item->showTime(at(12, 0));
    QCOMPARE(m_item->viewStart(), at(12, 0) - 60000);
    QCOMPARE(seeks.count(), 0);
}

void TestTimelineItem::revealRange_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<qint64>("viewStart");
    QTest::addColumn<qint64>("from");
    QTest::addColumn<qint64>("to");
    QTest::addColumn<int>("expectedZoom");
    QTest::addColumn<qint64>("expectedStart"); // -1: anywhere the range is in view
    QTest::newRow("fits and in view") << 3 << at(10, 0) << at(10, 2) << at(10, 5) << 3 << at(10, 0);
    QTest::newRow("fits, out of view: centred")
        << 2 << at(10, 0) << at(12, 0) << at(12, 10) << 2 << at(11, 35);
    // 10 min + a tenth does not fit 10 min.
    QTest::newRow("just too long") << 3 << at(10, 0) << at(10, 0) << at(10, 10) << 2 << qint64(-1);
    QTest::newRow("six hours need the day") << 4 << at(10, 0) << at(8, 0) << at(14, 0) << 0 << qint64(-1);
}

void TestTimelineItem::revealRange()
{
    QFETCH(int, zoom);
    QFETCH(qint64, viewStart);
    QFETCH(qint64, from);
    QFETCH(qint64, to);
    QFETCH(int, expectedZoom);
    QFETCH(qint64, expectedStart);
    showView(*m_item, zoom, viewStart);
    m_item->revealRange(from, to);
    QCOMPARE(m_item->zoom(), expectedZoom);
    if (expectedStart >= 0)
        QCOMPARE(m_item->viewStart(), expectedStart);
    QVERIFY(m_item->viewStart() <= from);
    QVERIFY(m_item->viewStart() + m_item->viewSpan() >= to);
}

void TestTimelineItem::tickDecision_data()
{
    QTest::addColumn<qint64>("viewStart");
    QTest::addColumn<double>("width");
    QTest::addColumn<bool>("ticks");
    // 14:00 holds two key frames 10 s apart; 16:00 one.
    QTest::newRow("two entries 16.7 px apart") << at(13, 55) << 1000.0 << true;
    QTest::newRow("two entries 3 px apart") << at(13, 55) << 180.0 << false;
    QTest::newRow("one entry") << at(15, 55) << 180.0 << true;
    QTest::newRow("none") << at(15, 0) << 1000.0 << false;
}

void TestTimelineItem::tickDecision()
{
    QFETCH(qint64, viewStart);
    QFETCH(double, width);
    QFETCH(bool, ticks);
    m_item->setWidth(width);
    showView(*m_item, 3, viewStart);
    QCOMPARE(m_item->showingTicks(), ticks);
    // A width change alone decides again.
    m_item->setWidth(width == 1000.0 ? 180.0 : 1000.0);
    if (viewStart == at(13, 55))
        QCOMPARE(m_item->showingTicks(), !ticks);
}

void TestTimelineItem::sessionLifecycle()
{
    auto session = std::make_unique<CardSession>();
    QVERIFY(session->openPath(QStringLiteral(GAPS_CARD)));
    TimelineItem item;
    item.setSize(QSizeF(kW, kH));
    QSignalSpy cardSpy(&item, &TimelineItem::cardChanged);
    QObject notASession;
    item.setCard(&notASession);
    QCOMPARE(item.card(), nullptr);
    QCOMPARE(cardSpy.count(), 0);
    item.setCard(session.get());
    QCOMPARE(cardSpy.count(), 1);
    item.setDayStart(kDay);
    item.setSelection(at(10, 0), at(10, 1));
    QSignalSpy selSpy(&item, &TimelineItem::selectionChanged);
    QVERIFY(session->reload()); // changed() clears the selection
    QCOMPARE(item.selStart(), -1);
    QVERIFY(selSpy.count() >= 1);
    showView(item, 2, at(9, 59, 30));
    QVERIFY(same(render(item).pixelColor(int(xOf(at(10, 0, 5), at(9, 59, 30), 3600000)), 50),
                 pal(TimelineItem::BlockCoarse)));
    session.reset();
    QCOMPARE(item.card(), nullptr);
    QCOMPARE(cardSpy.count(), 2);
    // Without a session the lane is empty.
    QVERIFY(same(render(item).pixelColor(int(xOf(at(10, 0, 5), at(9, 59, 30), 3600000)), 50),
                 pal(TimelineItem::Lane)));
}

// ---- Interaction ---------------------------------------------------------------

std::unique_ptr<TestTimelineItem::Window> TestTimelineItem::makeWindow(CardSession *session)
{
    auto w = std::make_unique<Window>();
    QQmlComponent component(&w->engine);
    component.setData("import NivraPlayer\nTimelineItem { width: 1000; height: 96 }", QUrl());
    QObject *object = component.create();
    if (!object)
        qWarning() << component.errorString();
    w->item = qobject_cast<TimelineItem *>(object);
    if (!w->item)
        return w;
    w->window = std::make_unique<QQuickWindow>();
    w->window->resize(kW, kH);
    w->item->setParent(w->window.get());
    w->item->setParentItem(w->window->contentItem());
    Window *raw = w.get();
    w->item->setClock(&raw->now);
    w->item->setCard(session);
    w->item->setDayStart(kDay);
    w->window->show();
    w->window->requestActivate();
    if (!QTest::qWaitForWindowExposed(w->window.get()) || !QTest::qWaitForWindowActive(w->window.get()))
        w->item = nullptr;
    return w;
}

#define MAKE_WINDOW(w)                                                                                       \
    auto w = makeWindow(&m_gaps);                                                                            \
    QVERIFY(w->item)

// Playing moves the position many times per pixel of the marker: the
// timeline is drawn again only once the marker has moved a whole pixel.
void TestTimelineItem::markerRepaintsOnWholePixels()
{
    MAKE_WINDOW(w);
    showView(*w->item, 4, at(10, 0)); // 60 ms per px
    w->item->setFollow(false);
    QSignalSpy frames(w->window.get(), &QQuickWindow::frameSwapped);
    w->item->setPosition(at(10, 0, 30));
    QTRY_VERIFY(frames.count() > 0);
    // Let whatever else was pending draw first.
    QTest::qWait(100);
    frames.clear();
    for (const qint64 ms : {20, 40, 50}) {
        w->item->setPosition(at(10, 0, 30) + ms);
        QTest::qWait(50);
    }
    QCOMPARE(frames.count(), 0);
    w->item->setPosition(at(10, 0, 30) + 75);
    QTRY_VERIFY(frames.count() > 0);
}

void TestTimelineItem::scrubRateLimit()
{
    MAKE_WINDOW(w);
    showView(*w->item, 4, at(10, 0)); // 60 ms per px
    w->item->setSnapEnabled(false);
    QSignalSpy seeks(w->item, &TimelineItem::seekRequested);
    QQuickWindow *win = w->window.get();
    QTest::mousePress(win, Qt::LeftButton, {}, QPoint(100, 50));
    QVERIFY(w->item->isScrubbing());
    QCOMPARE(seeks.count(), 1);
    QCOMPARE(seeks.at(0).at(0).toLongLong(), at(10, 0, 6));
    // Moves 50 ms apart: one request per 120 ms at most.
    for (int i = 1; i <= 10; ++i) {
        w->now.ms += 50;
        QTest::mouseMove(win, QPoint(100 + 10 * i, 50));
    }
    // Sent at 0, 150, 300, 450 ms.
    QCOMPARE(seeks.count(), 4);
    QCOMPARE(seeks.at(1).at(0).toLongLong(), at(10, 0, 6) + 30 * 60);
    QTest::mouseRelease(win, Qt::LeftButton, {}, QPoint(200, 50));
    QCOMPARE(seeks.count(), 5);
    QCOMPARE(seeks.at(4).at(0).toLongLong(), at(10, 0, 12));
    QCOMPARE(seeks.at(4).at(1).toBool(), false);
    QVERIFY(!w->item->isScrubbing());
    // A grab taken away before the release ends the scrub.
    QTest::mousePress(win, Qt::LeftButton, {}, QPoint(300, 50));
    QVERIFY(w->item->isScrubbing());
    w->item->ungrabMouse();
    QVERIFY(!w->item->isScrubbing());
    QTest::mouseRelease(win, Qt::LeftButton, {}, QPoint(300, 50));
}

void TestTimelineItem::scrubReleasedOverEmptyTime()
{
    MAKE_WINDOW(w);
    // 10:01:00 .. 10:02:00 recorded, then nothing: the view 10:01:30 .. 10:02:30.
    showView(*w->item, 4, at(10, 1, 30));
    w->item->setSnapEnabled(false);
    QSignalSpy seeks(w->item, &TimelineItem::seekRequested);
    QQuickWindow *win = w->window.get();
    QTest::mousePress(win, Qt::LeftButton, {}, QPoint(400, 50)); // 10:01:54
    w->now.ms += 200;
    QTest::mouseMove(win, QPoint(450, 50)); // 10:01:57
    w->now.ms += 200;
    QTest::mouseMove(win, QPoint(800, 50)); // empty: no request
    QCOMPARE(seeks.count(), 2);
    QTest::mouseRelease(win, Qt::LeftButton, {}, QPoint(800, 50));
    QCOMPARE(seeks.count(), 3);
    QCOMPARE(seeks.last().at(0).toLongLong(), at(10, 1, 57));
}

void TestTimelineItem::snapping_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<bool>("alt");
    QTest::addColumn<bool>("snap");
    QTest::addColumn<qint64>("target");
    QTest::addColumn<bool>("snapped");
    // Key frames every 10 s from 10:00:00; the view starts at 10:00:10, so
    // x 50 is 10:00:13 and x 100 is 10:00:16.
    QTest::newRow("3 s after a key frame") << 50 << false << true << at(10, 0, 10) << true;
    QTest::newRow("Alt held") << 50 << true << true << at(10, 0, 13) << false;
    QTest::newRow("snapping off") << 50 << false << false << at(10, 0, 13) << false;
    QTest::newRow("nearer the next one") << 100 << false << true << at(10, 0, 20) << true;
}

void TestTimelineItem::snapping()
{
    QFETCH(int, x);
    QFETCH(bool, alt);
    QFETCH(bool, snap);
    QFETCH(qint64, target);
    QFETCH(bool, snapped);
    MAKE_WINDOW(w);
    showView(*w->item, 4, at(10, 0, 10));
    w->item->setSnapEnabled(snap);
    QSignalSpy seeks(w->item, &TimelineItem::seekRequested);
    const Qt::KeyboardModifiers mods = alt ? Qt::AltModifier : Qt::NoModifier;
    // A quick click still ends with a request: the release is final.
    QTest::mouseClick(w->window.get(), Qt::LeftButton, mods, QPoint(x, 50));
    QCOMPARE(seeks.count(), 2);
    QCOMPARE(seeks.last().at(0).toLongLong(), target);
    QCOMPARE(seeks.last().at(1).toBool(), snapped);
}

void TestTimelineItem::clickOnEmptyOrMissing_data()
{
    QTest::addColumn<qint64>("viewStart");
    QTest::addColumn<int>("x");
    QTest::addColumn<QString>("signal");
    QTest::addColumn<qint64>("value");
    QTest::newRow("empty before a recording") << at(11, 0) << 500 << "seek" << at(12, 0);
    QTest::newRow("after the last recording") << at(17, 0) << 500 << "nothing" << at(17, 30);
    QTest::newRow("missing file") << at(10, 30) << 250 << "missing" << at(10, 45);
}

void TestTimelineItem::clickOnEmptyOrMissing()
{
    QFETCH(qint64, viewStart);
    QFETCH(int, x);
    QFETCH(QString, signal);
    QFETCH(qint64, value);
    MAKE_WINDOW(w);
    showView(*w->item, 2, viewStart);
    QSignalSpy seeks(w->item, &TimelineItem::seekRequested);
    QSignalSpy nothing(w->item, &TimelineItem::nothingAfter);
    QSignalSpy missing(w->item, &TimelineItem::missingClicked);
    QTest::mouseClick(w->window.get(), Qt::LeftButton, {}, QPoint(x, 50));
    QCOMPARE(seeks.count(), signal == "seek" ? 1 : 0);
    QCOMPARE(nothing.count(), signal == "nothing" ? 1 : 0);
    QCOMPARE(missing.count(), signal == "missing" ? 1 : 0);
    QSignalSpy &spy = signal == "seek" ? seeks : signal == "nothing" ? nothing : missing;
    QCOMPARE(spy.at(0).at(0).toLongLong(), value);
    if (signal == "seek")
        QCOMPARE(spy.at(0).at(1).toBool(), true);
}

void TestTimelineItem::shiftDragCreate_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<qint64>("selStart");
    QTest::addColumn<qint64>("selEnd");
    // 60 ms per px from 10:00:00.
    QTest::newRow("rightwards") << 100 << 300 << at(10, 0, 6) << at(10, 0, 18);
    QTest::newRow("leftwards, rounded") << 310 << 105 << at(10, 0, 6) << at(10, 0, 19);
    QTest::newRow("shorter than 1 s") << 100 << 108 << qint64(-1) << qint64(-1);
}

void TestTimelineItem::shiftDragCreate()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(qint64, selStart);
    QFETCH(qint64, selEnd);
    MAKE_WINDOW(w);
    showView(*w->item, 4, at(10, 0));
    QSignalSpy finished(w->item, &TimelineItem::selectionFinished);
    QSignalSpy seeks(w->item, &TimelineItem::seekRequested);
    QStringList tooltips; // hoverText at each hoverChanged
    connect(w->item, &TimelineItem::hoverChanged, this, [&] { tooltips << w->item->hoverText(); });
    QQuickWindow *win = w->window.get();
    QTest::mousePress(win, Qt::LeftButton, Qt::ShiftModifier, QPoint(from, 50));
    QCOMPARE(w->item->dragMode(), TimelineItem::CreateDrag);
    QTest::mouseMove(win, QPoint((from + to) / 2, 50));
    QTest::mouseMove(win, QPoint(to, 50));
    if (selStart >= 0) {
        // The tooltip follows the moving end; the selection being made is
        // drawn although selections are not shown.
        QCOMPARE(w->item->hoverText(), m_gaps.formatClock(from < to ? selEnd : selStart, true));
        QVERIFY(!w->item->selectionVisible());
        const QImage image = render(*w->item);
        QCOMPARE_COLOR(pixel(image, (from + to) / 2, 33),
                       over(pal(TimelineItem::SelectionFill), pal(TimelineItem::Background)));
    }
    const int beforeRelease = int(tooltips.size());
    QTest::mouseRelease(win, Qt::LeftButton, Qt::ShiftModifier, QPoint(to, 50));
    QCOMPARE(w->item->selStart(), selStart);
    QCOMPARE(w->item->selEnd(), selEnd);
    QCOMPARE(finished.count(), selStart < 0 ? 0 : 1);
    QCOMPARE(seeks.count(), 0);
    // The release clears the drag tooltip first (the window may hover again after it).
    QVERIFY(tooltips.size() > beforeRelease);
    QCOMPARE(tooltips.at(beforeRelease), QString());
}

void TestTimelineItem::handleDrags_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<qint64>("viewStart");
    QTest::addColumn<qint64>("from");
    QTest::addColumn<qint64>("to");
    QTest::addColumn<bool>("startHandle");
    QTest::addColumn<int>("dropX");
    QTest::addColumn<qint64>("selStart");
    QTest::addColumn<qint64>("selEnd");
    QTest::newRow("start handle past the end")
        << 4 << at(10, 0) << at(10, 0, 12) << at(10, 0, 30) << true << 900 << at(10, 0, 29) << at(10, 0, 30);
    QTest::newRow("end handle before the start")
        << 4 << at(10, 0) << at(10, 0, 12) << at(10, 0, 30) << false << 10 << at(10, 0, 12) << at(10, 0, 13);
    QTest::newRow("end handle into the last second") << 4 << at(23, 59) << at(23, 59, 10) << at(23, 59, 30)
                                                     << false << 990 << at(23, 59, 10) << kDay + 86399999;
    QTest::newRow("start handle to the day's start")
        << 2 << kDay << at(0, 10) << at(0, 30) << true << -50 << kDay << at(0, 30);
}

void TestTimelineItem::handleDrags()
{
    QFETCH(int, zoom);
    QFETCH(qint64, viewStart);
    QFETCH(qint64, from);
    QFETCH(qint64, to);
    QFETCH(bool, startHandle);
    QFETCH(int, dropX);
    QFETCH(qint64, selStart);
    QFETCH(qint64, selEnd);
    MAKE_WINDOW(w);
    showView(*w->item, zoom, viewStart);
    w->item->setSelectionVisible(true);
    w->item->setSelection(from, to);
    QSignalSpy finished(w->item, &TimelineItem::selectionFinished);
    QQuickWindow *win = w->window.get();
    const int grab = qRound(w->item->xForTime(startHandle ? from : to)) + (startHandle ? -3 : 3);
    QTest::mousePress(win, Qt::LeftButton, {}, QPoint(grab, 50));
    QCOMPARE(w->item->dragMode(), startHandle ? TimelineItem::StartHandleDrag : TimelineItem::EndHandleDrag);
    QTest::mouseMove(win, QPoint((grab + dropX) / 2, 50));
    QTest::mouseMove(win, QPoint(dropX, 50));
    QCOMPARE(w->item->hoverX(), w->item->xForTime(startHandle ? w->item->selStart() : w->item->selEnd()));
    QTest::mouseRelease(win, Qt::LeftButton, {}, QPoint(dropX, 50));
    QCOMPARE(w->item->selStart(), selStart);
    QCOMPARE(w->item->selEnd(), selEnd);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(w->item->dragMode(), TimelineItem::NoDrag);
}

void TestTimelineItem::bodyMoveAndClick()
{
    MAKE_WINDOW(w);
    showView(*w->item, 4, at(10, 0));
    w->item->setSelectionVisible(true);
    w->item->setSelection(at(10, 0, 12), at(10, 0, 30)); // x 200 .. 500
    QQuickWindow *win = w->window.get();
    QSignalSpy finished(w->item, &TimelineItem::selectionFinished);
    QSignalSpy seeks(w->item, &TimelineItem::seekRequested);
    QTest::mousePress(win, Qt::LeftButton, {}, QPoint(300, 50));
    QCOMPARE(w->item->dragMode(), TimelineItem::MoveDrag);
    QTest::mouseMove(win, QPoint(301, 50)); // under the drag distance
    QCOMPARE(w->item->selStart(), at(10, 0, 12));
    QTest::mouseMove(win, QPoint(340, 50));
    QTest::mouseMove(win, QPoint(392, 50)); // +92 px = 5.52 s → 6 s
    QCOMPARE(w->item->selStart(), at(10, 0, 18));
    QCOMPARE(w->item->selEnd(), at(10, 0, 36));
    QCOMPARE(w->item->hoverText(), m_gaps.formatClock(at(10, 0, 18), true) + QStringLiteral(" \u2013 ") +
                                       m_gaps.formatClock(at(10, 0, 36), true));
    QCOMPARE(w->item->hoverX(), (w->item->xForTime(at(10, 0, 18)) + w->item->xForTime(at(10, 0, 36))) / 2);
    QTest::mouseRelease(win, Qt::LeftButton, {}, QPoint(392, 50));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(seeks.count(), 0);
    // A click on the body without moving seeks there, finally.
    w->item->setSnapEnabled(false);
    QTest::mouseClick(win, Qt::LeftButton, {}, QPoint(450, 50));
    QCOMPARE(seeks.count(), 1);
    QCOMPARE(seeks.at(0).at(0).toLongLong(), at(10, 0, 27));
    QCOMPARE(w->item->selStart(), at(10, 0, 18));
}

void TestTimelineItem::narrowHitZones()
{
    MAKE_WINDOW(w);
    showView(*w->item, 4, at(10, 0));
    w->item->setSelectionVisible(true);
    w->item->setSelection(at(10, 0, 12), at(10, 0, 15, 600)); // x 200 .. 260: narrow
    QQuickWindow *win = w->window.get();
    const struct
    {
        int x;
        TimelineItem::DragMode mode;
    } cases[] = {{168, TimelineItem::StartHandleDrag}, {200, TimelineItem::StartHandleDrag},
                 {230, TimelineItem::MoveDrag},        {260, TimelineItem::EndHandleDrag},
                 {292, TimelineItem::EndHandleDrag},   {294, TimelineItem::NoDrag},
                 {166, TimelineItem::NoDrag}};
    for (const auto &c : cases) {
        QTest::mousePress(win, Qt::LeftButton, {}, QPoint(c.x, 50));
        QVERIFY2(w->item->dragMode() == c.mode, qPrintable(QString::number(c.x)));
        QTest::mouseRelease(win, Qt::LeftButton, {}, QPoint(c.x, 50));
        w->item->setSelection(at(10, 0, 12), at(10, 0, 15, 600));
    }
}

void TestTimelineItem::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<qint64>("selStart");
    QTest::addColumn<qint64>("selEnd");
    QTest::newRow("Home") << int(Qt::Key_Home) << false << kDay << at(0, 0, 30);
    QTest::newRow("End") << int(Qt::Key_End) << false << kDay + 86399999 - 30000 << kDay + 86399999;
    QTest::newRow("Left") << int(Qt::Key_Left) << false << at(9, 59, 59) << at(10, 0, 29);
    QTest::newRow("Shift+Left") << int(Qt::Key_Left) << true << at(9, 59) << at(9, 59, 30);
    QTest::newRow("Right") << int(Qt::Key_Right) << false << at(10, 0, 1) << at(10, 0, 31);
    QTest::newRow("Shift+Right") << int(Qt::Key_Right) << true << at(10, 1) << at(10, 1, 30);
}

void TestTimelineItem::keys()
{
    QFETCH(int, key);
    QFETCH(bool, shift);
    QFETCH(qint64, selStart);
    QFETCH(qint64, selEnd);
    MAKE_WINDOW(w);
    w->item->setSelectionVisible(true);
    w->item->setSelection(at(10, 0), at(10, 0, 30));
    w->item->forceActiveFocus();
    QVERIFY(w->item->hasActiveFocus());
    QSignalSpy finished(w->item, &TimelineItem::selectionFinished);
    const Qt::KeyboardModifiers mods = shift ? Qt::ShiftModifier : Qt::NoModifier;
    // Not editable: the keys do nothing.
    w->item->setSelectionEditable(false);
    QTest::keyClick(w->window.get(), Qt::Key(key), mods);
    QCOMPARE(w->item->selStart(), at(10, 0));
    w->item->setSelectionEditable(true);
    QTest::keyClick(w->window.get(), Qt::Key(key), mods);
    QCOMPARE(w->item->selStart(), selStart);
    QCOMPARE(w->item->selEnd(), selEnd);
    QCOMPARE(finished.count(), 1);
}

void TestTimelineItem::selectionMethods()
{
    QSignalSpy changed(m_item.get(), &TimelineItem::selectionChanged);
    QSignalSpy finished(m_item.get(), &TimelineItem::selectionFinished);
    m_item->setSelection(at(10, 0, 30), at(10, 0)); // reversed
    QCOMPARE(m_item->selStart(), at(10, 0));
    QCOMPARE(m_item->selEnd(), at(10, 0, 30));
    m_item->setSelection(at(10, 0), at(10, 0, 30));
    QCOMPARE(changed.count(), 1);
    m_item->setSelection(at(23, 59), at(23, 59, 59, 100)); // end in the last second
    QCOMPARE(m_item->selEnd(), kDay + 86399999);
    m_item->setSelection(at(10, 0), at(10, 0, 0, 999)); // too short
    QCOMPARE(m_item->selStart(), -1);
    m_item->setSelection(at(10, 0), at(10, 0, 30));
    m_item->nudgeSelection(1, 100000); // start stops a second before the end
    QCOMPARE(m_item->selStart(), at(10, 0, 29));
    m_item->nudgeSelection(2, -kDay); // end stops a second after the start
    QCOMPARE(m_item->selEnd(), at(10, 0, 30));
    m_item->selectionToBoundary(1, false);
    QCOMPARE(m_item->selStart(), kDay);
    m_item->selectionToBoundary(2, true);
    QCOMPARE(m_item->selEnd(), kDay + 86399999);
    m_item->selectionToBoundary(2, false);
    QCOMPARE(m_item->selEnd(), kDay + 1000);
    m_item->selectionToBoundary(0, true);
    QCOMPARE(m_item->selStart(), kDay + 86399999 - 1000);
    QCOMPARE(m_item->selEnd(), kDay + 86399999);
    QCOMPARE(finished.count(), 6);
    const int before = changed.count();
    m_item->clearSelection();
    m_item->clearSelection();
    QCOMPARE(changed.count(), before + 1);
    m_item->nudgeSelection(0, 1000); // nothing to nudge
    QCOMPARE(finished.count(), 6);
}

void TestTimelineItem::landingTexts_data()
{
    QTest::addColumn<qint64>("delta");
    QTest::addColumn<QString>("text");
    const QString decimal = twelveHourRun() ? QStringLiteral("1.2") : QStringLiteral("1,2");
    QTest::newRow("snapped back")
        << qint64(-1234) << QStringLiteral("Landed %1 (keyframe, snapped \u2190 %2 s)").arg("%1", decimal);
    QTest::newRow("snapped forward") << qint64(2260)
                                     << QStringLiteral("Landed %1 (keyframe, snapped \u2192 %2 s)")
                                            .arg("%1", twelveHourRun() ? "2.3" : "2,3");
    QTest::newRow("30 ms away") << qint64(30) << QStringLiteral("Landed %1");
    QTest::newRow("49 ms before") << qint64(-49) << QStringLiteral("Landed %1");
}

void TestTimelineItem::landingTexts()
{
    QFETCH(qint64, delta);
    QFETCH(QString, text);
    m_item->setSnapEnabled(false);
    const qint64 requested = at(10, 0, 45);
    QSignalSpy landingSpy(m_item.get(), &TimelineItem::landingChanged);
    m_item->seekAt(requested);
    const qint64 landed = requested + delta;
    m_item->setLanding(landed);
    QCOMPARE(m_item->landingText(), text.arg(m_gaps.formatClockMs(landed)));
    QCOMPARE(landingSpy.count(), 1);
    // Only the landing after a final seek gets a text.
    m_item->setLanding(landed + 5000);
    QCOMPARE(m_item->landingText(), text.arg(m_gaps.formatClockMs(landed)));
    QCOMPARE(landingSpy.count(), 2);
}

void TestTimelineItem::hoverTextsAndCursors()
{
    MAKE_WINDOW(w);
    showView(*w->item, 2, at(10, 0)); // 3600 ms per px
    w->item->setSelectionVisible(true);
    w->item->setSelection(at(10, 10), at(10, 20)); // x 166.7 .. 333.3
    QQuickWindow *win = w->window.get();
    QSignalSpy hover(w->item, &TimelineItem::hoverChanged);
    QTest::mouseMove(win, QPoint(10, 50)); // 10:00:36 recorded
    QTRY_VERIFY(hover.count() > 0);
    QCOMPARE(w->item->hoverText(), m_gaps.formatClock(at(10, 0, 36), true));
    QCOMPARE(w->item->hoverX(), 10.0);
    QCOMPARE(w->item->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseMove(win, QPoint(250, 50)); // 10:15 empty, inside the body
    QCOMPARE(w->item->hoverText(), QString());
    QCOMPARE(w->item->cursor().shape(), Qt::OpenHandCursor);
    QTest::mouseMove(win, QPoint(340, 50)); // near the end handle
    QCOMPARE(w->item->hoverText(), m_gaps.formatClock(at(10, 20), true));
    QCOMPARE(w->item->hoverX(), w->item->xForTime(at(10, 20)));
    QCOMPARE(w->item->cursor().shape(), Qt::SizeHorCursor);
    QTest::mouseMove(win, QPoint(750, 50)); // 10:45 missing
    QCOMPARE(w->item->hoverText(),
             QStringLiteral("%1  Recording file not found").arg(m_gaps.formatClock(at(10, 45), true)));
    QCOMPARE(w->item->cursor().shape(), Qt::ArrowCursor);
}

void TestTimelineItem::wheelZoomKeepsPointerTime()
{
    MAKE_WINDOW(w);
    TimelineItem *item = w->item;
    showView(*item, 1, at(9, 0));
    QQuickWindow *win = w->window.get();
    const qint64 under = item->timeAtX(300);
    wheel(win, QPoint(300, 50), QPoint(0, 120));
    QCOMPARE(item->zoom(), 2);
    QVERIFY(std::abs(item->timeAtX(300) - under) <= 3600);
    wheel(win, QPoint(300, 50), QPoint(0, -120));
    QCOMPARE(item->zoom(), 1);
    QVERIFY(std::abs(item->timeAtX(300) - under) <= 21600);
    // Shift turns the vertical wheel into a pan towards earlier times.
    const qint64 start = item->viewStart();
    wheel(win, QPoint(300, 50), QPoint(0, 120), Qt::ShiftModifier);
    QCOMPARE(item->viewStart(), start - 2160000);
}

QTEST_MAIN(TestTimelineItem)
#include "tst_timelineitem.moc"
