#include "app/qt_compat.h"
#include "app/startup.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QQmlContext>
#include <QQuickStyle>
#include <QtQml>

#include <cstdio>

namespace {

// Script-mode lines must begin with "AUTOTEST"; the QML console's category
// prefix is left out, everything else keeps Qt's standard format.
void messageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const QString line = context.category && qstrcmp(context.category, "qml") == 0
                             ? message
                             : qFormatLogMessage(type, context, message);
    fprintf(stderr, "%s\n", qPrintable(line));
    fflush(stderr);
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(messageHandler);
    qputenv("QT_MEDIA_BACKEND", nivra::mediaBackendName());

    QGuiApplication app(argc, argv);
    QGuiApplication::setOrganizationName(QStringLiteral("NIVRA"));
    QGuiApplication::setApplicationName(QStringLiteral("NIVRA Player"));
    QGuiApplication::setApplicationVersion(QStringLiteral("0.6.1"));

    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/nivra-%1.png").arg(size), QSize(size, size));
    QGuiApplication::setWindowIcon(icon);

    for (const char *face : {"Regular", "Medium", "SemiBold", "Bold"})
        QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/Inter-%1.ttf").arg(QLatin1String(face)));

    QQuickStyle::setStyle(QStringLiteral("Fusion"));

    nivra::registerMediaTypes();

    const nivra::CommandLine commandLine = nivra::parseCommandLine(QGuiApplication::arguments());

    QQmlApplicationEngine engine;
    QQmlContext *context = engine.rootContext();
    context->setContextProperty(QStringLiteral("appSettings"), QVariant::fromValue<QObject *>(nullptr));
    context->setContextProperty(QStringLiteral("updater"), QVariant::fromValue<QObject *>(nullptr));
    context->setContextProperty(QStringLiteral("initialPath"), commandLine.initialPath);
    context->setContextProperty(QStringLiteral("autotestScript"), commandLine.autotestScript);

    QObject::connect(
        &engine, &QQmlApplicationEngine::objectCreationFailed, &app, [] { QCoreApplication::exit(1); },
        Qt::QueuedConnection);
    nivra::compat::loadFromModule(engine, "NivraPlayer", "Main");

    return QGuiApplication::exec();
}
