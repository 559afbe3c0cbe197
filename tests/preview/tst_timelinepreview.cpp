// TimelinePreview on a simulator card: the picture shown for a hovered time is
// the key frame at or before it (read back by its time stamp), bursts of
// hovers decode once, recent pictures come from the cache, and closing the
// card while a picture decodes is clean (also run under ThreadSanitizer).
//
// The "small" card: 320x240 H.264 at 10 fps, a key frame every 2 s, recorded
// 10:00:00-10:00:59.9 and 10:02:00-10:02:59.9 UTC on 2024-03-05.
#include "preview/timeline_preview.h"

#include "decode/decoder.h"
#include "session/card_session.h"
#include "stamp.h"

#include <QDateTime>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QSet>
#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <vector>

using nivra::CardSession;

namespace {

constexpr int kWaitMs = 20000;

qlonglong utcMs(const char *iso)
{
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODateWithMs).toMSecsSinceEpoch();
}

// The time stamp drawn into the picture, -1 when none can be read.
qlonglong stampOf(const QImage &image)
{
    const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
    int64_t value = -1;
    if (gray.isNull() || !nivra::test::readStamp(gray.constBits(), int(gray.bytesPerLine()), gray.width(),
                                                 gray.height(), &value))
        return -1;
    return qlonglong(value);
}

// An item at the card's picture size, so the stamp survives the scaling.
struct Rig
{
    CardSession session;
    TimelinePreview preview;
    QSignalSpy ready{&preview, &TimelinePreview::readyChanged};
    QSignalSpy shown{&preview, &TimelinePreview::shownKeyframeMsChanged};

    Rig() { preview.setSize(QSizeF(320, 240)); }
    bool open()
    {
        if (!session.openPath(QStringLiteral(SMALL_CARD)))
            return false;
        preview.setCard(&session);
        return true;
    }
    bool hover(qlonglong timeMs)
    {
        preview.setTimeMs(timeMs);
        QElapsedTimer timer;
        timer.start();
        // Ready only once the request went out: a cached picture shows then.
        QTest::qWait(0);
        while (!preview.isReady() && timer.elapsed() < kWaitMs)
            QTest::qWait(5);
        return preview.isReady();
    }
};

} // namespace

class TestTimelinePreview : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(QFileInfo::exists(QStringLiteral(SMALL_CARD "/index.dat"))); }

    void showsTheKeyFrameAtOrBefore_data()
    {
        QTest::addColumn<qlonglong>("hover");
        QTest::addColumn<qlonglong>("keyframe");
        QTest::newRow("inside a group")
            << utcMs("2024-03-05T10:00:05.500Z") << utcMs("2024-03-05T10:00:04.000Z");
        QTest::newRow("on a key frame")
            << utcMs("2024-03-05T10:00:06.000Z") << utcMs("2024-03-05T10:00:06.000Z");
        QTest::newRow("just before the next")
            << utcMs("2024-03-05T10:00:07.999Z") << utcMs("2024-03-05T10:00:06.000Z");
        QTest::newRow("last of a recording")
            << utcMs("2024-03-05T10:00:59.900Z") << utcMs("2024-03-05T10:00:58.000Z");
        QTest::newRow("last of the card")
            << utcMs("2024-03-05T10:02:59.900Z") << utcMs("2024-03-05T10:02:58.000Z");
        QTest::newRow("second recording")
            << utcMs("2024-03-05T10:02:01.300Z") << utcMs("2024-03-05T10:02:00.000Z");
    }

    void showsTheKeyFrameAtOrBefore()
    {
        QFETCH(qlonglong, hover);
        QFETCH(qlonglong, keyframe);
        Rig rig;
        QVERIFY(rig.open());
        QVERIFY(rig.hover(hover));
        QCOMPARE(rig.preview.shownKeyframeMs(), keyframe);
        QCOMPARE(rig.preview.image().size(), QSize(320, 240));
        QCOMPARE(stampOf(rig.preview.image()), keyframe);
        QCOMPARE(rig.ready.count(), 1);
        QCOMPARE(rig.shown.count(), 1);

        // No time: not ready, the picture stays until the next one.
        rig.preview.setTimeMs(-1);
        QCOMPARE(rig.preview.isReady(), false);
        QCOMPARE(rig.preview.shownKeyframeMs(), keyframe);
        QCOMPARE(rig.ready.count(), 2);
    }

    void scalesIntoTheItem()
    {
        CardSession session;
        QVERIFY(session.openPath(QStringLiteral(SMALL_CARD)));
        TimelinePreview preview; // the default 160 x 90
        QCOMPARE(QSizeF(preview.width(), preview.height()), QSizeF(160, 90));
        preview.setCard(&session);
        preview.setTimeMs(utcMs("2024-03-05T10:00:10.000Z"));
        QTRY_VERIFY_WITH_TIMEOUT(preview.isReady(), kWaitMs);
        // 4:3 into 16:9, centred when painted.
        QCOMPARE(preview.image().size(), QSize(120, 90));
        QCOMPARE(preview.decodeCount(), 1);
    }

    void burstsDecodeOnceAndRecentPicturesAreKept()
    {
        Rig rig;
        QVERIFY(rig.open());
        // A sweep over ten key frames within one turn of the event loop.
        const qlonglong first = utcMs("2024-03-05T10:00:20.000Z");
        for (int i = 0; i < 10; ++i)
            rig.preview.setTimeMs(first + 2000 * i + 700);
        const qlonglong last = first + 2000 * 9;
        QCOMPARE(rig.preview.isReady(), false);
        QTRY_VERIFY_WITH_TIMEOUT(rig.preview.isReady(), kWaitMs);
        QCOMPARE(rig.preview.shownKeyframeMs(), last);
        QCOMPARE(stampOf(rig.preview.image()), last);
        QCOMPARE(rig.preview.decodeCount(), 1);

        // Another key frame decodes; going back to the first comes from the
        // cache, as does another time in the same group.
        QVERIFY(rig.hover(first + 300));
        QCOMPARE(rig.preview.decodeCount(), 2);
        rig.preview.setTimeMs(last + 1500);
        QCOMPARE(rig.preview.shownKeyframeMs(), last); // at once
        QVERIFY(rig.preview.isReady());
        QCOMPARE(stampOf(rig.preview.image()), last);
        QCOMPARE(rig.preview.decodeCount(), 2);

        // More key frames than the cache holds push the oldest out.
        const qlonglong second = utcMs("2024-03-05T10:02:00.000Z");
        for (int i = 0; i < TimelinePreview::kCacheSize; ++i)
            QVERIFY(rig.hover(second + 2000 * i));
        QCOMPARE(rig.preview.decodeCount(), 2 + TimelinePreview::kCacheSize);
        QVERIFY(rig.hover(first));
        QCOMPARE(rig.preview.decodeCount(), 3 + TimelinePreview::kCacheSize);
    }

    void closingTheCardWhileDecoding()
    {
        Rig rig;
        QVERIFY(rig.open());
        for (int i = 0; i < 20; ++i) {
            rig.preview.setTimeMs(utcMs("2024-03-05T10:00:01.000Z") + 2000 * i);
            // Let the request go out, then close while it decodes.
            QCoreApplication::processEvents();
            rig.session.close();
            QCOMPARE(rig.preview.isReady(), false);
            QCOMPARE(rig.preview.shownKeyframeMs(), -1);
            QTest::qWait(i % 4); // pictures of the closed card may be on their way
            QCOMPARE(rig.preview.shownKeyframeMs(), -1);
            QVERIFY(rig.session.openPath(QStringLiteral(SMALL_CARD)));
        }
        // Reopened, it shows pictures again.
        const qlonglong keyframe = utcMs("2024-03-05T10:00:40.000Z");
        QVERIFY(rig.hover(keyframe + 10));
        QCOMPARE(stampOf(rig.preview.image()), keyframe);
        // Destroyed while decoding: joins its thread first.
        auto late = std::make_unique<TimelinePreview>();
        late->setCard(&rig.session);
        late->setTimeMs(keyframe - 4000);
        QCoreApplication::processEvents();
        late.reset();
    }

    void anEventPictureIsItsKeyFrame()
    {
        CardSession session;
        QVERIFY(session.openPath(QStringLiteral(SMALL_CARD)));
        EventThumb thumb;
        thumb.setSize(QSizeF(320, 240));
        thumb.setCard(&session);
        thumb.setTimeMs(utcMs("2024-03-05T10:02:13.300Z"));
        QTRY_VERIFY_WITH_TIMEOUT(thumb.isReady(), kWaitMs);
        const qlonglong keyframe = utcMs("2024-03-05T10:02:12.000Z");
        QCOMPARE(thumb.shownKeyframeMs(), keyframe);
        QCOMPARE(stampOf(thumb.image()), keyframe);
        // A second row of the same key frame comes from the cache.
        const int decodes = nivra::PreviewHub::of(&session)->decodeCount();
        EventThumb again;
        again.setSize(QSizeF(320, 240));
        again.setCard(&session);
        again.setTimeMs(keyframe + 1500);
        QVERIFY(again.isReady());
        QCOMPARE(nivra::PreviewHub::of(&session)->decodeCount(), decodes);
    }

    void eventPicturesOnlyWhileTheirRowsExist()
    {
        CardSession session;
        QVERIFY(session.openPath(QStringLiteral(SMALL_CARD)));
        nivra::PreviewHub *hub = nivra::PreviewHub::of(&session);
        QList<qlonglong> decoded;
        connect(hub, &nivra::PreviewHub::pictureDecoded, hub,
                [&decoded](qlonglong keyframeMs, const QSize &, const QImage &) { decoded << keyframeMs; });
        // Thirty rows, one key frame each, laid out; twenty scroll away
        // before they are given their size.
        const qlonglong first = utcMs("2024-03-05T10:00:00.000Z");
        std::vector<std::unique_ptr<EventThumb>> rows;
        for (int i = 0; i < 30; ++i) {
            rows.push_back(std::make_unique<EventThumb>());
            rows.back()->setSize(QSizeF(0, 0));
            rows.back()->setCard(&session);
            rows.back()->setTimeMs(first + 2000 * i);
        }
        rows.erase(rows.begin() + 5, rows.begin() + 25);
        for (auto &row : rows)
            row->setSize(QSizeF(56, 32));
        QTRY_VERIFY_WITH_TIMEOUT(
            std::all_of(rows.begin(), rows.end(), [](const auto &r) { return r->isReady(); }), kWaitMs);
        QTest::qWait(50); // nothing else is on its way
        // Exactly the rows that stayed: none of those that left.
        QSet<qlonglong> remaining;
        for (const auto &row : rows)
            remaining << row->timeMs();
        QCOMPARE(QSet<qlonglong>(decoded.begin(), decoded.end()), remaining);
        const int decodes = hub->decodeCount();
        // The same rows again, as after scrolling back: all from the cache.
        std::vector<std::unique_ptr<EventThumb>> back;
        for (const auto &row : rows) {
            back.push_back(std::make_unique<EventThumb>());
            back.back()->setSize(QSizeF(56, 32));
            back.back()->setCard(&session);
            back.back()->setTimeMs(row->timeMs());
            QVERIFY(back.back()->isReady());
        }
        QCOMPARE(hub->decodeCount(), decodes);
    }

    void aPictureOnItsWayIsNotDecodedAgain()
    {
        // Without a turn of the event loop the owner takes nothing: the
        // first picture waits to be taken while the list names it again.
        CardSession session;
        QVERIFY(session.openPath(QStringLiteral(SMALL_CARD)));
        QObject owner;
        nivra::PreviewSource source(session.reader(), session.stream().video_codec);
        QVERIFY(source.start(&owner, [] {}));
        const qlonglong a = utcMs("2024-03-05T10:00:10.000Z");
        const qlonglong b = utcMs("2024-03-05T10:00:20.000Z");
        const QSize box(56, 32);
        source.setBackground({{a, box}});
        QTRY_COMPARE_WITH_TIMEOUT(source.decodeCount(), 1, kWaitMs);
        source.setBackground({{b, box}, {a, box}});
        QTRY_COMPARE_WITH_TIMEOUT(source.decodeCount(), 2, kWaitMs);
        QThread::msleep(100); // a third decode would have come by now
        const std::vector<nivra::PreviewSource::Picture> pictures = source.takePictures();
        QCOMPARE(int(pictures.size()), 2);
        QCOMPARE(pictures.at(0).keyframeMs, a);
        QCOMPARE(pictures.at(1).keyframeMs, b);
        QCOMPARE(source.decodeCount(), 2);
    }

    void isAQmlElement()
    {
        CardSession session;
        QVERIFY(session.openPath(QStringLiteral(SMALL_CARD)));
        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData("import NivraPlayer\nTimelinePreview { width: 320; height: 240 }", QUrl());
        std::unique_ptr<QObject> object(component.create());
        QVERIFY2(object, qPrintable(component.errorString()));
        auto *preview = qobject_cast<TimelinePreview *>(object.get());
        QVERIFY(preview);
        QVERIFY(object->setProperty("card", QVariant::fromValue<QObject *>(&session)));
        QVERIFY(object->setProperty("timeMs", utcMs("2024-03-05T10:02:10.500Z")));
        QTRY_VERIFY_WITH_TIMEOUT(object->property("ready").toBool(), kWaitMs);
        QCOMPARE(object->property("shownKeyframeMs").toLongLong(), utcMs("2024-03-05T10:02:10.000Z"));
    }
};

QTEST_MAIN(TestTimelinePreview)
#include "tst_timelinepreview.moc"
