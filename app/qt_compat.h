#pragma once

// Every place where the program needs Qt API newer than Debian 12's Qt 6.4
// is listed here, with the fallback that 6.4 builds use. A build with a
// current Qt (the Windows release) takes the real API.
//
// - QQmlApplicationEngine::loadFromModule (6.5): load the main window's type
//   from its module. Fallback: load the compiled file by its resource URL.
// - QStyleHints::colorScheme (6.5): the platform's light/dark preference.
//   Fallback: judge the default palette's window colour.
// - QStyleHints::colorSchemeChanged (6.5): follow a change of that
//   preference. Fallback: none; 6.4 keeps the preference seen at start-up.
// - QStyleHints::setColorScheme (6.8): ask the platform for a scheme (window
//   frames, native dialogs). Fallback: none; the palette carries the theme.

#include <QGuiApplication>
#include <QPalette>
#include <QQmlApplicationEngine>
#include <QUrl>
#include <QtGlobal>
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
#include <QStyleHints>
#endif

namespace nivra::compat {

inline void loadFromModule(QQmlApplicationEngine &engine, const char *uri, const char *typeName)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    engine.loadFromModule(QLatin1String(uri), QLatin1String(typeName));
#else
    engine.load(
        QUrl(QStringLiteral("qrc:/qt/qml/%1/qml/%2.qml").arg(QLatin1String(uri), QLatin1String(typeName))));
#endif
}

inline bool systemPrefersDark()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    return QGuiApplication::styleHints()->colorScheme() == Qt::ColorScheme::Dark;
#else
    // Once the program installs its own palette the application palette no
    // longer tells the platform's, so judge it the first time we are asked;
    // the settings object asks before it installs one.
    static const bool dark = QGuiApplication::palette().color(QPalette::Window).lightness() < 128;
    return dark;
#endif
}

enum class ColorScheme
{
    Unknown, // follow the system
    Light,
    Dark
};

inline void setColorScheme(ColorScheme scheme)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QGuiApplication::styleHints()->setColorScheme(scheme == ColorScheme::Dark    ? Qt::ColorScheme::Dark
                                                  : scheme == ColorScheme::Light ? Qt::ColorScheme::Light
                                                                                 : Qt::ColorScheme::Unknown);
#else
    Q_UNUSED(scheme)
#endif
}

// Calls handler on the receiver's thread whenever the platform's preference
// changes, for the receiver's life.
template <typename Handler> inline void onColorSchemeChanged(QObject *receiver, Handler handler)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    QObject::connect(QGuiApplication::styleHints(), &QStyleHints::colorSchemeChanged, receiver,
                     [handler](Qt::ColorScheme) { handler(); });
#else
    Q_UNUSED(receiver)
    Q_UNUSED(handler)
#endif
}

} // namespace nivra::compat
