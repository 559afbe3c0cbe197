#pragma once

// Every place where the program needs Qt API newer than Debian 12's Qt 6.4
// is listed here, with the fallback that 6.4 builds use. A build with a
// current Qt (the Windows release) takes the real API.
//
// - QQmlApplicationEngine::loadFromModule (6.5): load the main window's type
//   from its module. Fallback: load the compiled file by its resource URL.
// - QStyleHints::colorScheme (6.5): the platform's light/dark preference.
//   Fallback: judge the default palette's window colour.

#include <QtGlobal>
#include <QGuiApplication>
#include <QPalette>
#include <QQmlApplicationEngine>
#include <QUrl>
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
#include <QStyleHints>
#endif

namespace nivra::compat {

inline void loadFromModule(QQmlApplicationEngine &engine, const char *uri, const char *typeName)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    engine.loadFromModule(QLatin1String(uri), QLatin1String(typeName));
#else
    engine.load(QUrl(QStringLiteral("qrc:/qt/qml/%1/qml/%2.qml")
                         .arg(QLatin1String(uri), QLatin1String(typeName))));
#endif
}

inline bool systemPrefersDark()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    return QGuiApplication::styleHints()->colorScheme() == Qt::ColorScheme::Dark;
#else
    const QColor window = QGuiApplication::palette().color(QPalette::Window);
    return window.lightness() < 128;
#endif
}

} // namespace nivra::compat
