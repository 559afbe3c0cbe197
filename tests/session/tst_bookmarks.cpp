// Bookmarks on a real session: kept across restarts and found again from
// another path to the same card; a damaged file and hostile entries are
// skipped with a warning, the rest kept.
#include "session/bookmarks.h"
#include "session/card_session.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using nivra::Bookmarks;
using nivra::CardSession;

namespace {

// 2024-03-05 10:00:00 UTC, the small card's first second.
constexpr qint64 kFirst = 1709632800000;

QString noteOf(const Bookmarks &b, int i)
{
    return b.entries().at(size_t(i)).note;
}

} // namespace

class TestBookmarks : public QObject
{
    Q_OBJECT

private slots:
    void keptAcrossRestartsAndPaths();
    void damagedAndHostileEntriesAreSkipped();
    void notesAreOneCleanLine_data();
    void notesAreOneCleanLine();
};

void TestBookmarks::keptAcrossRestartsAndPaths()
{
    QTemporaryDir store;
    QTemporaryDir links;
    CardSession card;
    QVERIFY(card.openPath(QStringLiteral(SMALL_CARD)));
    {
        Bookmarks b;
        b.setFolder(store.path());
        b.setCard(&card);
        QCOMPARE(b.count(), 0);
        const int late = b.add(kFirst + 30000, QStringLiteral("the gate opens"));
        const int early = b.add(kFirst + 5000, QString());
        QVERIFY(late > 0 && early > 0 && late != early);
        QCOMPARE(b.add(kFirst - 60000, QStringLiteral("before the card")), -1);
        QCOMPARE(b.entries().front().ms, kFirst + 5000); // in time order
        QVERIFY(b.setNote(early, QStringLiteral("a car")));
        QVERIFY(b.remove(late));
        QVERIFY(!b.remove(late));
        b.add(kFirst + 40000, QStringLiteral("a dog"));
    }
    // Another path to the same card, another session: the same bookmarks.
    const QString other = links.path() + QStringLiteral("/card");
    QVERIFY(QFile::link(QStringLiteral(SMALL_CARD), other));
    CardSession again;
    QVERIFY(again.openPath(other));
    Bookmarks b;
    b.setFolder(store.path());
    b.setCard(&again);
    QCOMPARE(b.count(), 2);
    QCOMPARE(noteOf(b, 0), QStringLiteral("a car"));
    QCOMPARE(noteOf(b, 1), QStringLiteral("a dog"));
    QCOMPARE(b.inRange(kFirst, kFirst + 10000).size(), 1);
    // Nothing of it is on the card.
    QVERIFY(QDir(QStringLiteral(SMALL_CARD)).entryList({QStringLiteral("*.json")}).isEmpty());
}

void TestBookmarks::damagedAndHostileEntriesAreSkipped()
{
    QTemporaryDir store;
    CardSession card;
    QVERIFY(card.openPath(QStringLiteral(SMALL_CARD)));
    QString path;
    {
        Bookmarks b;
        b.setFolder(store.path());
        b.setCard(&card);
        b.add(kFirst + 1000, QStringLiteral("kept"));
        path = QDir(store.path()).entryInfoList({QStringLiteral("*.json")}).value(0).absoluteFilePath();
    }
    QVERIFY(!path.isEmpty());

    // Hostile entries beside a good one: only the good one stays.
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QByteArray huge(Bookmarks::kMaxNote + 1, 'x');
    file.write(
        "{\"version\":1,\"bookmarks\":[{\"ms\":" + QByteArray::number(kFirst + 1000) +
        ",\"note\":\"kept\"},{\"ms\":" + QByteArray::number(kFirst + 2000) + ",\"note\":\"" + huge +
        "\"},{\"ms\":" + QByteArray::number(kFirst + 3000) +
        ",\"note\":\"bell\\u0007\"},{\"ms\":1000,\"note\":\"1970\"},{\"ms\":\"soon\",\"note\":\"\"}]}");
    file.close();
    {
        Bookmarks b;
        QSignalSpy warnings(&b, &Bookmarks::warning);
        b.setFolder(store.path());
        b.setCard(&card);
        QCOMPARE(b.count(), 1);
        QCOMPARE(noteOf(b, 0), QStringLiteral("kept"));
        QCOMPARE(warnings.count(), 1);
    }

    // A damaged file is set aside, not overwritten: the next bookmark
    // starts a new one.
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\"version\":1,\"bookm");
    file.close();
    Bookmarks b;
    QSignalSpy warnings(&b, &Bookmarks::warning);
    b.setFolder(store.path());
    b.setCard(&card);
    QCOMPARE(b.count(), 0);
    QCOMPARE(warnings.count(), 1);
    QVERIFY(QFile::exists(path + QStringLiteral(".damaged")));
    QVERIFY(b.add(kFirst + 4000, QStringLiteral("new")) > 0);
    Bookmarks reread;
    reread.setFolder(store.path());
    reread.setCard(&card);
    QCOMPARE(reread.count(), 1);
}

void TestBookmarks::notesAreOneCleanLine_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("lines") << QStringLiteral("two\nlines\r\tand a tab")
                           << QStringLiteral("two lines and a tab");
    QTest::newRow("controls") << QStringLiteral("a\u0001b\u001bc") << QStringLiteral("a b c");
    QTest::newRow("long") << QString(600, QLatin1Char('y')) << QString(Bookmarks::kMaxNote, QLatin1Char('y'));
    // Cut before a pair that would be split.
    QTest::newRow("surrogate") << QString(Bookmarks::kMaxNote - 1, QLatin1Char('z')) +
                                      QStringLiteral("\U0001F600")
                               << QString(Bookmarks::kMaxNote - 1, QLatin1Char('z'));
}

void TestBookmarks::notesAreOneCleanLine()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QCOMPARE(Bookmarks::cleanNote(typed), kept);
}

QTEST_GUILESS_MAIN(TestBookmarks)
#include "tst_bookmarks.moc"
