// ActivityModel on the simulator's scene card, measured against the ground
// truth the simulator writes beside it: the search in an area, the still
// stretches, the strips TimelineItem paints from it, and the index reused
// from the cache when the card opens again.
#include "session/activity_model.h"
#include "session/card_session.h"
#include "timeline/timeline_item.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <map>

using nivra::ActivityModel;
using nivra::CardSession;

class TestActivityModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void areaSearchAgainstTheGroundTruth();
    void stillStretchesAndSound();
    void stripsShowWhatChanged();
    void theIndexIsReusedOnReopen();

private:
    void analyse(ActivityModel &model);
    QList<QJsonObject> truth(const QString &kind) const;

    QTemporaryDir m_cache;
    CardSession m_card;
    QJsonArray m_changes;
    qint64 m_dayStart = 0;
    std::unique_ptr<ActivityModel> m_model;
};

void TestActivityModel::initTestCase()
{
    QVERIFY(m_cache.isValid());
    QVERIFY2(m_card.openPath(QStringLiteral(ACTIVITY_CARD)), qPrintable(m_card.errorString()));
    QFile file(QStringLiteral(ACTIVITY_CARD "/ground_truth.json"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    m_changes = QJsonDocument::fromJson(file.readAll()).object().value("changes").toArray();
    QVERIFY(m_changes.size() >= 5);
    const QVariantMap date = m_card.dateOf(truth("object").first().value("startMs").toDouble());
    m_dayStart =
        m_card.dayStartMs(date.value("year").toInt(), date.value("month").toInt(), date.value("day").toInt());
    m_model = std::make_unique<ActivityModel>();
    analyse(*m_model);
    QCOMPARE(m_model->keyframes(), 360);
    QCOMPARE(m_model->holes(), 0);
}

void TestActivityModel::analyse(ActivityModel &model)
{
    model.setCacheDir(m_cache.path());
    model.setCard(&m_card);
    model.setDayStart(m_dayStart);
    model.setDayEnd(m_card.dayEndMs(m_dayStart));
    QVERIFY(model.analysing());
    QTRY_VERIFY_WITH_TIMEOUT(model.dayAnalysed(), 120000);
    QVERIFY(!model.analysing());
    QCOMPARE(model.progress(), 100);
}

QList<QJsonObject> TestActivityModel::truth(const QString &kind) const
{
    QList<QJsonObject> out;
    for (const QJsonValue &v : m_changes)
        if (v.toObject().value("kind").toString() == kind)
            out << v.toObject();
    return out;
}

void TestActivityModel::areaSearchAgainstTheGroundTruth()
{
    const QList<QJsonObject> objects = truth("object");
    QCOMPARE(objects.size(), 2);
    for (int i = 0; i < objects.size(); ++i) {
        const QJsonObject &o = objects[i];
        const QJsonObject &other = objects[1 - i];
        // The area the object crosses, from where it appears to where it goes.
        const double x = std::min(o["x"].toDouble(), o["toX"].toDouble());
        const double y = std::min(o["y"].toDouble(), o["toY"].toDouble());
        const double w = std::max(o["x"].toDouble(), o["toX"].toDouble()) + o["w"].toDouble() - x;
        const double h = std::max(o["y"].toDouble(), o["toY"].toDouble()) + o["h"].toDouble() - y;
        const QVariantList rows = m_model->findChanges(x, y, w, h, 0.02, false);
        QVERIFY2(!rows.isEmpty(), qPrintable(QString::number(i)));
        // Newest first: the last row is the first hit, within a key-frame interval.
        const qint64 first = rows.last().toMap().value("startMs").toLongLong();
        const qint64 start = qint64(o["startMs"].toDouble());
        QVERIFY2(first >= start && first <= start + 2000, qPrintable(QString::number(first - start)));
        for (const QVariant &row : rows) {
            const QVariantMap r = row.toMap();
            // The other object, outside this area, is no hit in it.
            QVERIFY(r["endMs"].toLongLong() < qint64(other["startMs"].toDouble()) ||
                    r["startMs"].toLongLong() > qint64(other["endMs"].toDouble()) + 2000);
            QVERIFY(!r["lighting"].toBool() && r["area"].toDouble() > 0.0);
        }
    }
    // Each lighting step is one lighting row over the whole picture, shown
    // only when asked for, and never a change of the area.
    const QList<QJsonObject> steps = truth("lighting");
    const QVariantList all = m_model->findChanges(0, 0, 1, 1, 0.02, true);
    int lighting = 0;
    for (const QVariant &row : all) {
        const QVariantMap r = row.toMap();
        const qint64 t = r["startMs"].toLongLong();
        const bool nearStep = std::any_of(steps.begin(), steps.end(), [&](const QJsonObject &s) {
            return t >= qint64(s["atMs"].toDouble()) && t <= qint64(s["atMs"].toDouble()) + 2000;
        });
        lighting += r["lighting"].toBool() ? 1 : 0;
        QCOMPARE(r["lighting"].toBool(), nearStep);
    }
    QCOMPARE(lighting, steps.size());
    for (const QVariant &row : m_model->findChanges(0, 0, 1, 1, 0.02, false))
        QVERIFY(!row.toMap()["lighting"].toBool());
    // The burned-in clock changes every second and is no change of its band.
    QVERIFY(m_model->findChanges(0, 0.23, 1, 0.19, 0.02, false).isEmpty());
}

void TestActivityModel::stillStretchesAndSound()
{
    const qint64 object = qint64(truth("object").first()["startMs"].toDouble());
    const qint64 recorded = m_card.firstPlayableMs();
    // Still from the first picture until the object: skipped to just before it.
    const qint64 end = m_model->stillEnd(recorded + 10000);
    QVERIFY2(end <= object && end >= object - 2000, qPrintable(QString::number(object - end)));
    // Not while it moves, nor in the last 2 s before it.
    QCOMPARE(m_model->stillEnd(object + 6000), -1);
    QCOMPARE(m_model->stillEnd(end - 1000), -1);
    // The loudest second is the burst's.
    const QJsonObject burst = truth("sound").first();
    const qint64 at = qint64(burst["startMs"].toDouble());
    QVERIFY(m_model->soundLevel(at, at + 1000) >= float(burst["dbfs"].toDouble()) - 3.0f);
    QVERIFY(m_model->soundLevel(recorded, at) < float(burst["dbfs"].toDouble()) - 20.0f);
}

void TestActivityModel::stripsShowWhatChanged()
{
    TimelineItem item;
    item.setSize(QSizeF(1000, 110));
    item.setCard(&m_card);
    item.setActivity(m_model.get());
    item.setDayStart(m_dayStart);
    item.setDayEnd(m_card.dayEndMs(m_dayStart));
    item.setFollow(false);
    for (int zoom : {0, 3}) {
        const qint64 object = qint64(truth("object").first()["startMs"].toDouble());
        item.setZoom(zoom);
        item.setViewStart(object - item.viewSpan() / 2);
        QImage image(1000, 110, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        item.paint(&painter);
        painter.end();
        const auto x = [&](qint64 t) {
            return int(double(t - item.viewStart()) * 1000.0 / double(item.viewSpan()));
        };
        const QColor change = TimelineItem::paletteColor(TimelineItem::PictureChange, false);
        const QColor track = TimelineItem::paletteColor(TimelineItem::ActivityTrack, false);
        // The strip's foot: coloured where the object moves, the analysed
        // track where nothing does (at 24 h the column holds both).
        QCOMPARE(image.pixelColor(x(object + 4000), 68), change);
        if (zoom == 3)
            QCOMPARE(image.pixelColor(x(object - 30000), 68), track);
    }
}

void TestActivityModel::theIndexIsReusedOnReopen()
{
    std::map<QString, QDateTime> written;
    for (QDirIterator it(m_cache.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        it.next();
        written[it.filePath()] = it.fileInfo().lastModified();
    }
    QVERIFY(!written.empty());
    ActivityModel again;
    analyse(again);
    QCOMPARE(again.keyframes(), m_model->keyframes());
    QCOMPARE(again.findChanges(0, 0, 1, 1, 0.02, true).size(),
             m_model->findChanges(0, 0, 1, 1, 0.02, true).size());
    // Nothing was decoded and stored again.
    for (QDirIterator it(m_cache.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        it.next();
        QCOMPARE(it.fileInfo().lastModified(), written[it.filePath()]);
    }
}

QTEST_MAIN(TestActivityModel)
#include "tst_activitymodel.moc"
