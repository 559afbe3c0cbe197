// Runs the built program the way the README demo and the acceptance scripts
// do: off-screen, driven by an "--autotest" script.
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class tst_Program : public QObject
{
    Q_OBJECT

private:
    struct Run
    {
        int exitCode = -1;
        QProcess::ExitStatus status = QProcess::CrashExit;
        QStringList autotestLines;
    };
    Run runPlayer(const QStringList &arguments, const QProcessEnvironment &env);
    QProcessEnvironment offscreenEnvironment() const;

    // The program's settings store lives here, not in the user's.
    QTemporaryDir m_config;

private slots:
    void scriptTakesScreenshotAndQuits_data();
    void scriptTakesScreenshotAndQuits();
    void scriptWithoutQuitEndsWithDone();
    void helpAndVersionNeedNoWindow_data();
    void helpAndVersionNeedNoWindow();
};

tst_Program::Run tst_Program::runPlayer(const QStringList &arguments, const QProcessEnvironment &env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(NIVRA_PLAYER_PATH), arguments);
    Run run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitCode();
    run.status = process.exitStatus();
    const QStringList lines = QString::fromUtf8(process.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        // The step itself, without the state fields that follow it.
        if (line.startsWith(QLatin1String("AUTOTEST")))
            run.autotestLines << line.section(QLatin1String(" | "), 0, 0).trimmed();
    }
    return run;
}

QProcessEnvironment tst_Program::offscreenEnvironment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
    env.insert(QStringLiteral("NIVRA_THEME"), QStringLiteral("dark"));
    return env;
}

void tst_Program::scriptTakesScreenshotAndQuits_data()
{
    QTest::addColumn<QString>("theme");
    QTest::addColumn<QColor>("background");

    QTest::newRow("dark") << "dark" << QColor(QStringLiteral("#17171f"));
    QTest::newRow("light") << "light" << QColor(QStringLiteral("#f6f6f5"));
}

void tst_Program::scriptTakesScreenshotAndQuits()
{
    QFETCH(QString, theme);
    QFETCH(QColor, background);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(m_config.isValid());
    const QString shot = dir.filePath(QStringLiteral("window.png"));

    // The theme reaches the window through the published settings object.
    QProcessEnvironment env = offscreenEnvironment();
    env.insert(QStringLiteral("NIVRA_THEME"), theme);
    const Run run =
        runPlayer({QStringLiteral("--autotest"), QStringLiteral("wait 1; shot %1; quit").arg(shot)}, env);
    QCOMPARE(run.status, QProcess::NormalExit);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.autotestLines,
             QStringList({QStringLiteral("AUTOTEST wait 1"), QStringLiteral("AUTOTEST shot ") + shot,
                          QStringLiteral("AUTOTEST quit")}));

    const QImage image(shot);
    QVERIFY2(!image.isNull(), "no PNG written");
    QCOMPARE(image.size(), QSize(1440, 920));
    // The margin left of the side column shows the window's background,
    // the centre the empty view.
    QCOMPARE(image.pixelColor(8, 400), background);
    bool logoDrawn = false;
    for (int x = 600; x < 840 && !logoDrawn; ++x)
        logoDrawn = image.pixelColor(x, 460) != background;
    QVERIFY(logoDrawn);
}

void tst_Program::scriptWithoutQuitEndsWithDone()
{
    const Run run = runPlayer({QStringLiteral("--autotest"), QStringLiteral(" ; wait 0.2 ;; bogus  x   y ;")},
                              offscreenEnvironment());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.autotestLines,
             QStringList({QStringLiteral("AUTOTEST wait 0.2"), QStringLiteral("AUTOTEST bogus x y"),
                          QStringLiteral("AUTOTEST done")}));
}

void tst_Program::helpAndVersionNeedNoWindow_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output"); // what standard output begins with
    QTest::addColumn<QString>("errors"); // what standard error holds
    QTest::newRow("--help") << QStringList{"--help"} << 0 << "Usage: nivra-player"
                            << "";
    QTest::newRow("-h after a folder") << QStringList{"/media/card", "-h"} << 0 << "Usage: nivra-player"
                                       << "";
    QTest::newRow("--version") << QStringList{"--version"} << 0 << "nivra-player "
                               << "";
    QTest::newRow("an unknown option") << QStringList{"--frobnicate"} << 2 << ""
                                       << "nivra-player: unknown option --frobnicate";
}

// Without a display: help and version come before any window.
void tst_Program::helpAndVersionNeedNoWindow()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QFETCH(QString, errors);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"),
               exitCode == 2 ? QStringLiteral("offscreen") : QStringLiteral("xcb"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(NIVRA_PLAYER_PATH), arguments);
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), exitCode);
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(output.isEmpty() || out.startsWith(output), qPrintable(out));
    QVERIFY2(err.contains(errors), qPrintable(err));
    if (exitCode == 0)
        QVERIFY2(!err.contains(QLatin1String("qt.qpa")), qPrintable(err));
}

QTEST_GUILESS_MAIN(tst_Program)
#include "tst_program.moc"
