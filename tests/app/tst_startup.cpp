#include "app/startup.h"
#include "playback/trace.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QtTest>

class tst_Startup : public QObject
{
    Q_OBJECT

private slots:
    void commandLine_data();
    void commandLine();
    void traceFlags_data();
    void traceFlags();
    void iconsInSevenSizes();
    void interFacesLoad();
    void licenceTexts_data();
    void licenceTexts();
    void logosRender();
    void mediaTypesCreatableFromQml();
};

void tst_Startup::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("initialPath");
    QTest::addColumn<QString>("autotestScript");

    QTest::newRow("none") << QStringList{"nivra-player"} << QString() << QString();
    QTest::newRow("one path") << QStringList{"nivra-player", "/media/card"} << "/media/card" << QString();
    QTest::newRow("second plain argument wins")
        << QStringList{"nivra-player", "/a", "/b"} << "/b" << QString();
    QTest::newRow("script and folder")
        << QStringList{"nivra-player", "--autotest", "wait 1; quit", "/media/card"} << "/media/card"
        << "wait 1; quit";
    QTest::newRow("folder before script")
        << QStringList{"nivra-player", "/media/card", "--autotest", "quit"} << "/media/card"
        << "quit";
    QTest::newRow("lone --autotest is a path")
        << QStringList{"nivra-player", "--autotest"} << "--autotest" << QString();
    QTest::newRow("trailing --autotest replaces the path")
        << QStringList{"nivra-player", "/a", "--autotest"} << "--autotest" << QString();
    QTest::newRow("later script replaces earlier")
        << QStringList{"nivra-player", "--autotest", "one", "--autotest", "two"} << QString() << "two";
    QTest::newRow("script may be --autotest itself")
        << QStringList{"nivra-player", "--autotest", "--autotest"} << QString() << "--autotest";
    QTest::newRow("program name is never a path")
        << QStringList{"/usr/bin/nivra-player"} << QString() << QString();
    QTest::newRow("after --, an option-like folder")
        << QStringList{"nivra-player", "--", "-card"} << "-card" << QString();
}

void tst_Startup::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, initialPath);
    QFETCH(QString, autotestScript);

    const nivra::CommandLine line = nivra::parseCommandLine(arguments);
    QCOMPARE(line.initialPath, initialPath);
    QCOMPARE(line.autotestScript, autotestScript);
}

void tst_Startup::traceFlags_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("unset");
    QTest::addColumn<bool>("trace");
    QTest::addColumn<bool>("verbose");

    QTest::newRow("unset") << QByteArray() << true << false << false;
    QTest::newRow("0") << QByteArray("0") << false << false << false;
    QTest::newRow("1") << QByteArray("1") << false << true << false;
    QTest::newRow("2") << QByteArray("2") << false << true << true;
    QTest::newRow("3") << QByteArray("3") << false << true << true;
    QTest::newRow("negative") << QByteArray("-1") << false << true << false;
    QTest::newRow("not a number") << QByteArray("yes") << false << false << false;
    QTest::newRow("empty") << QByteArray("") << false << false << false;
}

void tst_Startup::traceFlags()
{
    QFETCH(QByteArray, value);
    QFETCH(bool, unset);
    QFETCH(bool, trace);
    QFETCH(bool, verbose);

    if (unset)
        qunsetenv("NIVRA_TRACE");
    else
        qputenv("NIVRA_TRACE", value);
    const nivra::TraceFlags flags = nivra::readTraceFlags();
    qunsetenv("NIVRA_TRACE");
    QCOMPARE(flags.trace, trace);
    QCOMPARE(flags.verbose, verbose);
}

void tst_Startup::iconsInSevenSizes()
{
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QImage image(QStringLiteral(":/icons/nivra-%1.png").arg(size));
        QVERIFY2(!image.isNull(), qPrintable(QString::number(size)));
        QCOMPARE(image.size(), QSize(size, size));
    }
}

void tst_Startup::interFacesLoad()
{
    QStringList styles;
    for (const char *face : {"Regular", "Medium", "SemiBold", "Bold"}) {
        const QString path = QStringLiteral(":/fonts/Inter-%1.ttf").arg(QLatin1String(face));
        const int id = QFontDatabase::addApplicationFont(path);
        QVERIFY2(id >= 0, qPrintable(path));
        QCOMPARE(QFontDatabase::applicationFontFamilies(id).value(0), QStringLiteral("Inter"));
    }
    QVERIFY(QFontDatabase::families().contains(QStringLiteral("Inter")));
}

void tst_Startup::licenceTexts_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected");

    QTest::newRow("notices") << "THIRD-PARTY-NOTICES.txt"
                             << "FFmpeg";
    QTest::newRow("ofl") << "inter-ofl-1.1.txt"
                         << "PERMISSION & CONDITIONS";
    QTest::newRow("lgpl-2.1") << "lgpl-2.1.txt"
                              << "Version 2.1, February 1999";
    QTest::newRow("lgpl-3.0") << "lgpl-3.0.txt"
                              << "Version 3, 29 June 2007";
    QTest::newRow("gpl-3.0") << "gpl-3.0.txt"
                             << "GNU GENERAL PUBLIC LICENSE";
}

void tst_Startup::licenceTexts()
{
    QFETCH(QString, file);
    QFETCH(QString, expected);

    QFile f(QStringLiteral(":/licenses/") + file);
    QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(file));
    const QString text = QString::fromUtf8(f.readAll());
    QVERIFY2(text.contains(expected), qPrintable(file));
}

void tst_Startup::logosRender()
{
    for (const char *name : {":/brand/nivra-logo.svg", ":/brand/nivra-logo-white.svg"}) {
        const QImage logo(QString::fromLatin1(name));
        QVERIFY2(!logo.isNull(), name);
        QVERIFY(logo.width() > logo.height());
    }
}

void tst_Startup::mediaTypesCreatableFromQml()
{
    nivra::registerMediaTypes();
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData("import QtQuick\n"
                      "import Nivra.Media\n"
                      "Item {\n"
                      "  property CardSession session: CardSession {}\n"
                      "  property PlaybackEngine engine: PlaybackEngine { card: session }\n"
                      "  property ExportJob job: ExportJob {}\n"
                      "}\n",
                      QUrl());
    QScopedPointer<QObject> root(component.create());
    QVERIFY2(root, qPrintable(component.errorString()));
    QVERIFY(root->property("session").value<QObject *>()->inherits("nivra::CardSession"));
    QVERIFY(root->property("engine").value<QObject *>()->inherits("nivra::PlaybackEngine"));
    QVERIFY(root->property("job").value<QObject *>()->inherits("nivra::ExportJob"));
}

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
