#include "app/app_platform.h"
#include "app/app_settings.h"
#include "app/qt_compat.h"
#include "app/startup.h"
#include "app/update_checker.h"
#include "playback/audio_output.h"
#include "playback/trace.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QQmlContext>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QtQml>

#include <cstdio>
#include <memory>

namespace {

// Script-mode lines must begin with "AUTOTEST"; the QML console's category
// prefix is left out, everything else keeps Qt's standard format.
void messageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const QString line = context.category && qstrcmp(context.category, "qml") == 0
                             ? message
                             : qFormatLogMessage(type, context, message);
    // UTF-8 on every system: Windows' 8-bit code page would garble the
    // script log's translated texts.
    fprintf(stderr, "%s\n", line.toUtf8().constData());
    fflush(stderr);
}

// With NIVRA_FRAME_STATS set, prints one line per frame the window shows:
// "FRAME <wall ms> <us from synchronising to swapped>", for the benchmarks.
void traceFrames(QQmlApplicationEngine &engine)
{
    const auto roots = engine.rootObjects();
    auto *window = roots.isEmpty() ? nullptr : qobject_cast<QQuickWindow *>(roots.first());
    if (!window)
        return;
    auto clock = std::make_shared<QElapsedTimer>();
    QObject::connect(
        window, &QQuickWindow::beforeSynchronizing, window, [clock] { clock->start(); },
        Qt::DirectConnection);
    QObject::connect(
        window, &QQuickWindow::frameSwapped, window,
        [clock] {
            if (!clock->isValid())
                return;
            fprintf(stderr, "FRAME %lld %lld\n", QDateTime::currentMSecsSinceEpoch(),
                    clock->nsecsElapsed() / 1000);
            fflush(stderr);
        },
        Qt::DirectConnection);
}

// Prints the usage or the version the command line asks for; the exit code,
// or -1 when the window is to run.
int answerWithoutWindow(const nivra::CommandLine &commandLine)
{
    if (commandLine.action == nivra::CommandLine::Help) {
        fputs(qPrintable(nivra::usageText()), stdout);
        return 0;
    }
    if (commandLine.action == nivra::CommandLine::Version) {
        fprintf(stdout, "nivra-player %s\n", qPrintable(AppSettings::version()));
        return 0;
    }
    return -1;
}

} // namespace

int main(int argc, char *argv[])
{
    // Where start-up goes, for the benchmarks.
    const auto mark = [](const char *phase) {
        if (nivra::traceEnabled()) {
            fprintf(stderr, "TRACE startup %s\n", phase);
            fflush(stderr);
        }
    };
    mark("main");
    // Help and version need no window (nor a display): answered before the
    // application is made when they come before any of Qt's own options,
    // else once Qt has taken those out.
    QStringList rawArguments;
    for (int i = 0; i < argc; ++i)
        rawArguments.append(QString::fromLocal8Bit(argv[i]));
    if (const int code = answerWithoutWindow(nivra::parseCommandLine(rawArguments)); code >= 0)
        return code;

    qInstallMessageHandler(messageHandler);
    qputenv("QT_MEDIA_BACKEND", nivra::mediaBackendName());
    nivra::chooseGraphicsBackEnd();

    QGuiApplication app(argc, argv);
    mark("application");
    QGuiApplication::setOrganizationName(QStringLiteral("NIVRA"));
    QGuiApplication::setApplicationName(QStringLiteral("NIVRA Player"));
    QGuiApplication::setApplicationVersion(AppSettings::version());

    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/nivra-%1.png").arg(size), QSize(size, size));
    QGuiApplication::setWindowIcon(icon);

    for (const char *face : {"Regular", "Medium", "SemiBold", "Bold"})
        QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/Inter-%1.ttf").arg(QLatin1String(face)));
#ifdef Q_OS_WIN
    // The monospace texts name Consolas; where Windows has none (Wine, some
    // editions) they would fall back to a serif face.
    if (!QFontDatabase::families().contains(QStringLiteral("Consolas"))) {
        for (const char *face : {"", "-Bold"})
            QFontDatabase::addApplicationFont(
                QStringLiteral(":/fonts/DejaVuSansMono%1.ttf").arg(QLatin1String(face)));
        QFont::insertSubstitution(QStringLiteral("Consolas"), QStringLiteral("DejaVu Sans Mono"));
    }
#endif

    QQuickStyle::setStyle(QStringLiteral("Fusion"));

    AppSettings settings;
    settings.setLanguageOverride(qEnvironmentVariable("NIVRA_LANG"));
    settings.applyLanguage();

    nivra::registerMediaTypes();

    // Qt's own options (-platform, -style) are taken out by now.
    const nivra::CommandLine commandLine = nivra::parseCommandLine(QGuiApplication::arguments());
    if (const int code = answerWithoutWindow(commandLine); code >= 0)
        return code;
    if (commandLine.action == nivra::CommandLine::Error) {
        fprintf(stderr, "nivra-player: %s\n\n%s", qPrintable(commandLine.error),
                qPrintable(nivra::usageText()));
        return 2;
    }

    UpdateChecker updater(&settings);

    // Declared last, so destroyed first: the QML objects go before the
    // updater and the settings they use.
    QQmlApplicationEngine engine;
    settings.setEngine(&engine);
    settings.applyLanguage();

    QQmlContext *context = engine.rootContext();
    context->setContextProperty(QStringLiteral("appSettings"), &settings);
    context->setContextProperty(QStringLiteral("updater"), &updater);
    context->setContextProperty(QStringLiteral("initialPath"), commandLine.initialPath);
    context->setContextProperty(QStringLiteral("autotestScript"), commandLine.autotestScript);

    QObject::connect(
        &engine, &QQmlApplicationEngine::objectCreationFailed, &app, [] { QCoreApplication::exit(1); },
        Qt::QueuedConnection);
    mark("load");
    nivra::compat::loadFromModule(engine, "NivraPlayer", "Main");
    mark("window");
    if (qEnvironmentVariableIsSet("NIVRA_FRAME_STATS"))
        traceFrames(engine);

    const int status = QGuiApplication::exec();
    // Last, after every static the sound back end made while running.
    nivra::protectExitFromSoundTeardown();
    return status;
}
