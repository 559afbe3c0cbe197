// The update checker against a real HTTP server on 127.0.0.1.
#include "app/app_settings.h"
#include "app/update_checker.h"

#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <QTimer>

#include <memory>

namespace {

// Answers every GET with the reply it is told to give, records each request
// head it received, and can hold connections open without answering.
class HttpServer : public QObject
{
    Q_OBJECT

public:
    enum Mode
    {
        Answer,
        Hold,
        Endless,   // a 200 reply that keeps coming (up to 64 MiB)
        Drip,      // a 200 reply of one byte every 100 ms (up to 10 minutes)
        HugeLength // headers announcing 100 GB, then nothing
    };

    HttpServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, &HttpServer::accept);
        m_server.listen(QHostAddress::LocalHost);
    }

    QString url() const
    {
        return QStringLiteral("http://127.0.0.1:%1/update.json").arg(m_server.serverPort());
    }
    void answer(int status, const QByteArray &body)
    {
        m_mode = Answer;
        m_status = status;
        m_body = body;
    }
    void hold() { m_mode = Hold; }
    void endless() { m_mode = Endless; }
    void drip() { m_mode = Drip; }
    // Headers that announce a document of 100 GB, then nothing.
    void hugeLength() { m_mode = HugeLength; }
    qint64 streamed = 0;        // bytes of the endless reply written so far
    QList<QByteArray> requests; // each request head, up to its blank line

private:
    void accept()
    {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        }
    }

    void read(QTcpSocket *socket)
    {
        QByteArray &buffer = m_buffers[socket];
        buffer += socket->readAll();
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            return;
        requests << buffer.left(end);
        buffer.clear();
        if (m_mode == Hold)
            return;
        if (m_mode == HugeLength) {
            socket->write(
                "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: 99999999999\r\n\r\n");
            return;
        }
        if (m_mode == Endless || m_mode == Drip) {
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\n\r\n"
                          "{\"latest\":\"0.7.0\",\"page\":\"https://nivra.example/dl\",\"notes\":{\"en\":\"");
            if (m_mode == Endless)
                stream(socket);
            else
                dripInto(socket);
            return;
        }
        const QByteArray reason = m_status == 200 ? "OK" : "Not Found";
        socket->write("HTTP/1.1 " + QByteArray::number(m_status) + ' ' + reason +
                      "\r\nContent-Type: application/json\r\nContent-Length: " +
                      QByteArray::number(m_body.size()) + "\r\nConnection: close\r\n\r\n" + m_body);
        socket->disconnectFromHost();
    }

    // Keeps the socket's send buffer filled as the client drains it.
    void stream(QTcpSocket *socket)
    {
        const auto fill = [this, socket] {
            constexpr qint64 kLimit = 64 << 20;
            while (socket->bytesToWrite() < (256 << 10) && streamed < kLimit) {
                socket->write(QByteArray(16 << 10, 'a'));
                streamed += 16 << 10;
            }
        };
        connect(socket, &QTcpSocket::bytesWritten, socket, fill);
        fill();
    }
    void dripInto(QTcpSocket *socket)
    {
        auto *timer = new QTimer(socket);
        auto left = std::make_shared<int>(6000);
        connect(timer, &QTimer::timeout, socket, [socket, timer, left] {
            socket->write("a", 1);
            if (--*left == 0)
                timer->stop();
        });
        timer->start(100);
    }

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_buffers;
    Mode m_mode = Answer;
    int m_status = 200;
    QByteArray m_body;
};

// A header's value in a recorded request head.
QByteArray header(const QByteArray &head, const QByteArray &name)
{
    for (const QByteArray &line : head.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == name.toLower())
            return line.mid(colon + 1).trimmed();
    }
    return QByteArray();
}

} // namespace

class tst_UpdateChecker : public QObject
{
    Q_OBJECT

private:
    void seed(const QString &key, const QString &value);
    QString stored(const QString &key) const;
    // The remembered answer every test starts with, to see what changes it.
    void seedRemembered();
    bool rememberedUntouched() const;

    std::unique_ptr<QTemporaryDir> m_dir;

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void versionComparison_data();
    void versionComparison();
    void address_data();
    void address();
    void replies_data();
    void replies();
    void failures_data();
    void failures();
    void requestHeaders();
    void oneRequestAtATime();
    void startupCheck_data();
    void startupCheck();
    void notes_data();
    void notes();
    void skipAndDismiss();
    void hostileServers_data();
    void hostileServers();
    void longNotesAreCut();
    void unconfiguredStatusIsTranslated();
};

void tst_UpdateChecker::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("NIVRA"));
    QCoreApplication::setApplicationName(QStringLiteral("NIVRA Player"));
}

void tst_UpdateChecker::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir->path());
    qunsetenv("NIVRA_UPDATE_URL");
}

void tst_UpdateChecker::cleanup()
{
    qunsetenv("NIVRA_UPDATE_URL");
}

void tst_UpdateChecker::seed(const QString &key, const QString &value)
{
    QSettings store;
    store.setValue(key, value);
    store.sync();
}

QString tst_UpdateChecker::stored(const QString &key) const
{
    return QSettings().value(key).toString();
}

void tst_UpdateChecker::seedRemembered()
{
    seed(QStringLiteral("update/lastCheck"), QStringLiteral("1000"));
    seed(QStringLiteral("update/latest"), QStringLiteral("0.6.5"));
    seed(QStringLiteral("update/page"), QStringLiteral("https://old.example/download"));
}

bool tst_UpdateChecker::rememberedUntouched() const
{
    return stored(QStringLiteral("update/lastCheck")) == QLatin1String("1000") &&
           stored(QStringLiteral("update/latest")) == QLatin1String("0.6.5") &&
           stored(QStringLiteral("update/page")) == QLatin1String("https://old.example/download");
}

void tst_UpdateChecker::versionComparison_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("expected");

    QTest::newRow("0.6.10 > 0.6.9") << "0.6.10"
                                    << "0.6.9" << 1;
    QTest::newRow("0.7 > 0.6.1") << "0.7"
                                 << "0.6.1" << 1;
    QTest::newRow("0.6.1-beta = 0.6.1") << "0.6.1-beta"
                                        << "0.6.1" << 0;
    QTest::newRow("0.6.1+2 > 0.6.1") << "0.6.1+2"
                                     << "0.6.1" << 1;
    QTest::newRow("missing part is 0") << "1.0"
                                       << "1.0.0" << 0;
    QTest::newRow("blanks trimmed") << " 0.6.2 "
                                    << "0.6.1" << 1;
    QTest::newRow("older") << "0.5.99"
                           << "0.6.1" << -1;
    QTest::newRow("word counts 0") << "0.x.5"
                                   << "0.0.4" << 1;
    QTest::newRow("empty parts kept") << "0..2"
                                      << "0.0.1" << 1;
}

void tst_UpdateChecker::versionComparison()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, expected);
    QCOMPARE(UpdateChecker::compareVersions(a, b), expected);
    QCOMPARE(UpdateChecker::compareVersions(b, a), -expected);
}

void tst_UpdateChecker::address_data()
{
    QTest::addColumn<QString>("builtIn");
    QTest::addColumn<QString>("environment"); // null: unset
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("configured");

    QTest::newRow("nothing") << "" << QString() << "" << false;
    QTest::newRow("empty variable") << ""
                                    << ""
                                    << "" << false;
    QTest::newRow("built in") << "https://nivra.example/update.json" << QString()
                              << "https://nivra.example/update.json" << true;
    QTest::newRow("empty variable keeps built in") << "https://nivra.example/update.json"
                                                   << ""
                                                   << "https://nivra.example/update.json" << true;
    QTest::newRow("variable replaces built in") << "https://nivra.example/update.json"
                                                << "http://127.0.0.1:9/u.json"
                                                << "http://127.0.0.1:9/u.json" << true;
    QTest::newRow("variable alone") << ""
                                    << "http://127.0.0.1:9/u.json"
                                    << "http://127.0.0.1:9/u.json" << true;
}

void tst_UpdateChecker::address()
{
    QFETCH(QString, builtIn);
    QFETCH(QString, environment);
    QFETCH(QString, url);
    QFETCH(bool, configured);

    if (!environment.isNull())
        qputenv("NIVRA_UPDATE_URL", environment.toUtf8());
    AppSettings settings;
    UpdateChecker checker(&settings, builtIn);
    QCOMPARE(checker.url(), url);
    QCOMPARE(checker.configured(), configured);
}

void tst_UpdateChecker::replies_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("manual");
    QTest::addColumn<QString>("skip");
    QTest::addColumn<bool>("available");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("page"); // remembered afterwards; null: nothing remembered

    const QByteArray newer = R"({"latest":"0.6.2","page":"https://nivra.example/dl"})";
    QTest::newRow("latest equal, manual")
        << QByteArray(R"({"latest":"0.6.1","page":"https://nivra.example/dl"})") << true << "" << false
        << "You have the latest version."
        << "https://nivra.example/dl";
    QTest::newRow("latest newer, manual") << newer << true << "" << true << "Version 0.6.2 is available."
                                          << "https://nivra.example/dl";
    QTest::newRow("latest newer, automatic") << newer << false << "" << true << ""
                                             << "https://nivra.example/dl";
    QTest::newRow("skipped, automatic") << newer << false << "0.6.2" << false << ""
                                        << "https://nivra.example/dl";
    QTest::newRow("skipped, manual offers it")
        << newer << true << "0.6.2" << true << "Version 0.6.2 is available."
        << "https://nivra.example/dl";
    QTest::newRow("windows.url when page is empty")
        << QByteArray(R"({"latest":"0.7.0","page":"","windows":{"url":"http://nivra.example/win"}})") << true
        << "" << true << "Version 0.7.0 is available."
        << "http://nivra.example/win";
    QTest::newRow("page and windows.url empty")
        << QByteArray(R"({"latest":"0.7.0","page":"","windows":{"url":""}})") << true << "" << false
        << "The update information could not be read." << QString();
    QTest::newRow("ftp page") << QByteArray(R"({"latest":"0.7.0","page":"ftp://nivra.example/dl"})") << true
                              << "" << false << "The update information could not be read." << QString();
    QTest::newRow("latest missing") << QByteArray(R"({"page":"https://nivra.example/dl"})") << true << ""
                                    << false << "The update information could not be read." << QString();
    QTest::newRow("unparsable body") << QByteArray("<html>not json</html>") << true << "" << false
                                     << "The update information could not be read." << QString();
    QTest::newRow("unparsable body, automatic")
        << QByteArray("{\"latest\":") << false << "" << false << "" << QString();
}

void tst_UpdateChecker::replies()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, manual);
    QFETCH(QString, skip);
    QFETCH(bool, available);
    QFETCH(QString, status);
    QFETCH(QString, page);

    HttpServer server;
    server.answer(200, body);
    qputenv("NIVRA_UPDATE_URL", server.url().toUtf8());
    seedRemembered();
    seed(QStringLiteral("update/lastCheck"), QStringLiteral("0")); // due for an automatic check
    if (!skip.isEmpty())
        seed(QStringLiteral("update/skipVersion"), skip);

    AppSettings settings;
    UpdateChecker checker(&settings);
    QSignalSpy changed(&checker, &UpdateChecker::changed);
    const qint64 before = QDateTime::currentMSecsSinceEpoch();
    if (manual)
        checker.checkNow();
    else
        checker.startupCheck();
    QVERIFY(checker.checking());
    QCOMPARE(checker.status(), manual ? QStringLiteral("Checking…") : QString());
    QCOMPARE(changed.count(), 1);
    QTRY_VERIFY(!checker.checking());
    QCOMPARE(changed.count(), 2);
    QCOMPARE(server.requests.size(), 1);

    QCOMPARE(checker.available(), available);
    QCOMPARE(checker.status(), status);
    if (page.isNull()) {
        QCOMPARE(stored(QStringLiteral("update/lastCheck")), QStringLiteral("0"));
        QCOMPARE(stored(QStringLiteral("update/latest")), QStringLiteral("0.6.5"));
        QCOMPARE(stored(QStringLiteral("update/page")), QStringLiteral("https://old.example/download"));
        return;
    }
    const QString latest = QJsonDocument::fromJson(body).object().value(QLatin1String("latest")).toString();
    QCOMPARE(checker.latestVersion(), latest);
    QCOMPARE(stored(QStringLiteral("update/latest")), latest);
    QCOMPARE(stored(QStringLiteral("update/page")), page);
    const qint64 lastCheck = stored(QStringLiteral("update/lastCheck")).toLongLong();
    QVERIFY(lastCheck >= before && lastCheck <= QDateTime::currentMSecsSinceEpoch());
    QCOMPARE(stored(QStringLiteral("update/skipVersion")), skip);
}

void tst_UpdateChecker::failures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("manual");

    for (const char *kind : {"404", "refused", "timeout"}) {
        QTest::addRow("%s, manual", kind) << QString::fromLatin1(kind) << true;
        QTest::addRow("%s, automatic", kind) << QString::fromLatin1(kind) << false;
    }
}

void tst_UpdateChecker::failures()
{
    QFETCH(QString, kind);
    QFETCH(bool, manual);

    HttpServer server;
    QString url = server.url();
    if (kind == QLatin1String("404")) {
        server.answer(404, R"({"latest":"0.9.0","page":"https://nivra.example/dl"})");
    } else if (kind == QLatin1String("timeout")) {
        server.hold();
    } else {
        // A port that was just free: nobody listens there.
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        url = QStringLiteral("http://127.0.0.1:%1/update.json").arg(closed.serverPort());
    }
    qputenv("NIVRA_UPDATE_URL", url.toUtf8());
    seedRemembered();

    AppSettings settings;
    UpdateChecker checker(&settings);
    checker.setTransferTimeout(300);
    QSignalSpy changed(&checker, &UpdateChecker::changed);
    if (manual) {
        checker.checkNow();
    } else {
        // The remembered answer is old, so this asks the server.
        checker.startupCheck();
    }
    QVERIFY(checker.checking());
    QTRY_VERIFY(!checker.checking());
    QCOMPARE(changed.count(), 2);
    QVERIFY(!checker.available());
    QVERIFY(checker.latestVersion().isEmpty());
    if (manual) {
        QVERIFY2(checker.status().startsWith(QLatin1String("Could not check for updates (")) &&
                     checker.status().endsWith(QLatin1String(").")) &&
                     checker.status().size() > int(strlen("Could not check for updates ().")),
                 qPrintable(checker.status()));
    } else {
        QCOMPARE(checker.status(), QString());
    }
    QVERIFY(rememberedUntouched());
    if (kind != QLatin1String("refused"))
        QCOMPARE(server.requests.size(), 1);
}

void tst_UpdateChecker::requestHeaders()
{
    HttpServer server;
    server.answer(200, R"({"latest":"0.6.1","page":"https://nivra.example/dl"})");
    qputenv("NIVRA_UPDATE_URL", server.url().toUtf8());
    AppSettings settings;
    UpdateChecker checker(&settings);
    checker.checkNow();
    QTRY_COMPARE(server.requests.size(), 1);
    const QByteArray head = server.requests.first();
    QVERIFY2(head.startsWith("GET /update.json HTTP/1.1\r\n"), head.constData());
    QCOMPARE(header(head, "User-Agent"),
             "NIVRA-Player/0.6.1 (Linux; " + QSysInfo::buildCpuArchitecture().toUtf8() + ")");
    QCOMPARE(header(head, "Cache-Control"), QByteArray("no-cache"));
    QTRY_VERIFY(!checker.checking());
}

void tst_UpdateChecker::oneRequestAtATime()
{
    HttpServer server;
    server.answer(200, R"({"latest":"0.6.2","page":"https://nivra.example/dl"})");
    qputenv("NIVRA_UPDATE_URL", server.url().toUtf8());
    AppSettings settings;
    UpdateChecker checker(&settings);
    QSignalSpy changed(&checker, &UpdateChecker::changed);
    checker.checkNow();
    checker.checkNow();
    checker.startupCheck();
    QCOMPARE(changed.count(), 1);
    QTRY_VERIFY(!checker.checking());
    QCOMPARE(server.requests.size(), 1);
    QCOMPARE(changed.count(), 2);
    QVERIFY(checker.available());

    // Idle again: the next check asks once more.
    checker.checkNow();
    QTRY_VERIFY(!checker.checking());
    QCOMPARE(server.requests.size(), 2);
}

void tst_UpdateChecker::startupCheck_data()
{
    QTest::addColumn<bool>("checkUpdates");
    QTest::addColumn<qint64>("age"); // ms since the remembered check; min: nothing remembered
    QTest::addColumn<QString>("latest");
    QTest::addColumn<QString>("skip");
    QTest::addColumn<bool>("request");
    QTest::addColumn<bool>("available");

    const qint64 hour = 3600 * 1000;
    const qint64 none = std::numeric_limits<qint64>::min();
    QTest::newRow("19 hours old, newer remembered") << true << 19 * hour << "0.7.0"
                                                    << "" << false << true;
    QTest::newRow("just under 20 hours") << true << 20 * hour - 1000 << "0.7.0"
                                         << "" << false << true;
    QTest::newRow("21 hours old") << true << 21 * hour << "0.7.0"
                                  << "" << true << false;
    QTest::newRow("never checked") << true << none << ""
                                   << "" << true << false;
    QTest::newRow("remembered version skipped") << true << hour << "0.7.0"
                                                << "0.7.0" << false << false;
    QTest::newRow("remembered version not newer") << true << hour << "0.6.1"
                                                  << "" << false << false;
    QTest::newRow("checks switched off") << false << 21 * hour << "0.7.0"
                                         << "" << false << false;
    QTest::newRow("stamped in the future") << true << -2 * hour << "0.7.0"
                                           << "" << true << false;
}

void tst_UpdateChecker::startupCheck()
{
    QFETCH(bool, checkUpdates);
    QFETCH(qint64, age);
    QFETCH(QString, latest);
    QFETCH(QString, skip);
    QFETCH(bool, request);
    QFETCH(bool, available);

    HttpServer server;
    server.hold();
    qputenv("NIVRA_UPDATE_URL", server.url().toUtf8());
    if (age != std::numeric_limits<qint64>::min())
        seed(QStringLiteral("update/lastCheck"), QString::number(QDateTime::currentMSecsSinceEpoch() - age));
    seed(QStringLiteral("update/latest"), latest);
    seed(QStringLiteral("update/page"), QStringLiteral("https://nivra.example/dl"));
    seed(QStringLiteral("update/skipVersion"), skip);

    AppSettings settings;
    settings.setCheckUpdates(checkUpdates);
    UpdateChecker checker(&settings);
    QSignalSpy changed(&checker, &UpdateChecker::changed);
    checker.startupCheck();
    QCOMPARE(checker.checking(), request);
    QCOMPARE(checker.available(), available);
    QCOMPARE(changed.count(), request || available ? 1 : 0);
    if (available)
        QCOMPARE(checker.latestVersion(), latest);
    if (request)
        QTRY_COMPARE(server.requests.size(), 1);
    QCOMPARE(checker.status(), QString());
}

void tst_UpdateChecker::notes_data()
{
    QTest::addColumn<QByteArray>("notes");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("expected");

    const QByteArray both = R"({"de":"Neu in 0.7","en":"New in 0.7"})";
    QTest::newRow("own language") << both << "de"
                                  << "Neu in 0.7";
    QTest::newRow("falls back to en") << both << "fr"
                                      << "New in 0.7";
    QTest::newRow("empty own entry falls back") << QByteArray(R"({"ja":"","en":"New"})") << "ja"
                                                << "New";
    QTest::newRow("neither") << QByteArray(R"({"fr":"Nouveau"})") << "de"
                             << "";
}

void tst_UpdateChecker::notes()
{
    QFETCH(QByteArray, notes);
    QFETCH(QString, language);
    QFETCH(QString, expected);

    HttpServer server;
    server.answer(200, R"({"latest":"0.7.0","page":"https://nivra.example/dl","notes":)" + notes + "}");
    qputenv("NIVRA_UPDATE_URL", server.url().toUtf8());
    AppSettings settings;
    settings.setLanguage(language);
    UpdateChecker checker(&settings);
    checker.checkNow();
    QTRY_VERIFY(!checker.checking());
    QCOMPARE(checker.notes(), expected);

    // The notes follow a change of language.
    QSignalSpy changed(&checker, &UpdateChecker::changed);
    settings.setLanguage(QStringLiteral("en"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(checker.notes(), QJsonDocument::fromJson(notes).object().value(QLatin1String("en")).toString());
}

void tst_UpdateChecker::hostileServers_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("status");
    const QString unreadable = QStringLiteral("The update information could not be read.");
    // Memory must not grow without end, a slow drip must not outlast the
    // limit, and markup in place of a version must not reach the banner.
    QTest::newRow("endless reply") << "endless" << unreadable;
    QTest::newRow("a declared length over the cap") << "huge" << unreadable;
    QTest::newRow("slow drip") << "drip"
                               << "Could not check for updates (";
    QTest::newRow("markup as the version") << "markup" << unreadable;
    QTest::newRow("words as the version") << "words" << unreadable;
}

void tst_UpdateChecker::hostileServers()
{
    QFETCH(QString, kind);
    QFETCH(QString, status);
    HttpServer server;
    if (kind == QLatin1String("endless"))
        server.endless();
    else if (kind == QLatin1String("drip"))
        server.drip();
    else if (kind == QLatin1String("huge"))
        server.hugeLength();
    else if (kind == QLatin1String("markup"))
        server.answer(
            200,
            R"({"latest":"<img src='http://tracker.example/p.png'>","page":"https://nivra.example/dl"})");
    else
        server.answer(200, R"({"latest":"the newest one","page":"https://nivra.example/dl"})");
    qputenv("NIVRA_UPDATE_URL", server.url().toUtf8());
    seedRemembered();
    AppSettings settings;
    UpdateChecker checker(&settings);
    // Each byte of the drip comes well within this, the whole reply never;
    // a length over the cap is refused long before it.
    checker.setTransferTimeout(kind == QLatin1String("huge") ? 60000 : 1500);
    checker.checkNow();
    QTRY_VERIFY_WITH_TIMEOUT(!checker.checking(), kind == QLatin1String("huge") ? 10000 : 20000);
    // Reading stops at the cap: what the server got out is what the
    // sockets' buffers hold, not the reply.
    QVERIFY2(server.streamed < (16 << 20), qPrintable(QString::number(server.streamed)));
    QVERIFY2(checker.status().startsWith(status), qPrintable(checker.status()));
    QVERIFY(!checker.available());
    QVERIFY(checker.latestVersion().isEmpty());
    QVERIFY(rememberedUntouched());
}

void tst_UpdateChecker::longNotesAreCut()
{
    HttpServer server;
    const QByteArray notes(5000, 'n');
    server.answer(200,
                  R"({"latest":"0.7.0","page":"https://nivra.example/dl","notes":{"en":")" + notes + "\"}}");
    qputenv("NIVRA_UPDATE_URL", server.url().toUtf8());
    AppSettings settings;
    UpdateChecker checker(&settings);
    checker.checkNow();
    QTRY_VERIFY(!checker.checking());
    QVERIFY(checker.available());
    QCOMPARE(checker.notes().size(), 1000);
    QVERIFY(checker.notes().endsWith(QChar(0x2026)));
}

void tst_UpdateChecker::skipAndDismiss()
{
    HttpServer server;
    server.answer(200, R"({"latest":"0.7.0","page":"https://nivra.example/dl"})");
    qputenv("NIVRA_UPDATE_URL", server.url().toUtf8());
    AppSettings settings;
    {
        UpdateChecker checker(&settings);
        checker.startupCheck();
        QTRY_VERIFY(checker.available());
        QSignalSpy changed(&checker, &UpdateChecker::changed);
        checker.dismiss();
        QVERIFY(!checker.available());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(stored(QStringLiteral("update/skipVersion")), QString());
    }
    {
        // Dismissing was for that run only: the next start offers it again.
        UpdateChecker checker(&settings);
        checker.startupCheck();
        QVERIFY(!checker.checking());
        QVERIFY(checker.available());
        checker.skipThisVersion();
        QVERIFY(!checker.available());
        QCOMPARE(stored(QStringLiteral("update/skipVersion")), QStringLiteral("0.7.0"));
    }
    UpdateChecker checker(&settings);
    checker.startupCheck();
    QVERIFY(!checker.available());
    QCOMPARE(server.requests.size(), 1);
}

void tst_UpdateChecker::unconfiguredStatusIsTranslated()
{
    AppSettings settings;
    UpdateChecker checker(&settings, QString());
    QSignalSpy changed(&checker, &UpdateChecker::changed);
    settings.setLanguage(QStringLiteral("en"));
    checker.checkNow();
    QCOMPARE(checker.status(), QStringLiteral("No update address is set in this build."));
    QCOMPARE(changed.count(), 1);
    checker.startupCheck();
    QCOMPARE(changed.count(), 1);

    settings.setLanguage(QStringLiteral("de"));
    checker.checkNow();
    QVERIFY(!checker.status().isEmpty());
    QVERIFY(checker.status() != QLatin1String("No update address is set in this build."));
    QCOMPARE(checker.status(),
             QCoreApplication::translate("UpdateChecker", "No update address is set in this build."));
    settings.setLanguage(QStringLiteral("en"));
}

QTEST_MAIN(tst_UpdateChecker)
#include "tst_updatechecker.moc"
