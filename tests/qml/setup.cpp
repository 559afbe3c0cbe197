// Prepares each test file's engine like the program's start-up does: the
// settings object (on a throw-away store), the update checker, the media
// types and the program's QML module, which is linked in; and gives the
// tests a way to drop files on a window.
#include "app/app_settings.h"
#include "app/startup.h"
#include "app/update_checker.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QMimeData>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QSettings>
#include <QTemporaryDir>
#include <QtQuickTest>

#include <memory>

// Drops files on a window as a file manager does: real MIME data through
// enter, move and drop, which Qt Quick's own drag items cannot carry.
class DropHelper : public QObject
{
    Q_OBJECT

public:
    // Drops the paths or URLs at the window's middle; true when accepted.
    Q_INVOKABLE bool drop(QQuickWindow *window, const QStringList &targets)
    {
        if (!window)
            return false;
        QMimeData data;
        QList<QUrl> urls;
        for (const QString &target : targets)
            urls << QUrl::fromUserInput(target, QString(), QUrl::AssumeLocalFile);
        data.setUrls(urls);
        const QPoint at(window->width() / 2, window->height() / 2);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &move);
        if (!move.isAccepted()) {
            QDragLeaveEvent leave;
            QCoreApplication::sendEvent(window, &leave);
            return false;
        }
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &dropped);
        return dropped.isAccepted();
    }
};

class Setup : public QObject
{
    Q_OBJECT

public slots:
    void applicationAvailable()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("NIVRA"));
        QCoreApplication::setApplicationName(QStringLiteral("NIVRA Player"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_store.path());
        qunsetenv("NIVRA_THEME");
        for (const char *face : {"Regular", "Medium", "SemiBold", "Bold"})
            QFontDatabase::addApplicationFont(
                QStringLiteral(":/fonts/Inter-%1.ttf").arg(QLatin1String(face)));
        QQuickStyle::setStyle(QStringLiteral("Fusion"));
        nivra::registerMediaTypes();
    }

    void qmlEngineAvailable(QQmlEngine *engine)
    {
        // One settings object for the whole run, created once the
        // application object exists; each test file gets its own engine.
        if (!m_settings) {
            m_settings = std::make_unique<AppSettings>();
            m_updater = std::make_unique<UpdateChecker>(m_settings.get(), QString());
        }
        m_settings->setEngine(engine);
        m_settings->applyLanguage();
        engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
        QQmlContext *context = engine->rootContext();
        context->setContextProperty(QStringLiteral("appSettings"), m_settings.get());
        context->setContextProperty(QStringLiteral("updater"), m_updater.get());
        context->setContextProperty(QStringLiteral("initialPath"), QString());
        context->setContextProperty(QStringLiteral("autotestScript"), QString());
        // Simulator cards written by nivra_sim_card, one folder per name.
        context->setContextProperty(QStringLiteral("simcardRoot"), QStringLiteral(NIVRA_SIMCARD_ROOT));
        context->setContextProperty(QStringLiteral("dropHelper"), &m_drops);
    }

private:
    QTemporaryDir m_store;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<UpdateChecker> m_updater;
    DropHelper m_drops;
};

QUICK_TEST_MAIN_WITH_SETUP(qml, Setup)

#include "setup.moc"
