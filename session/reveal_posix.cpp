// Revealing an exported file on Linux and other freedesktop systems: the
// file manager's ShowItems call selects the file; without one, the folder
// opens in whatever handles file URLs.
#include "session/export_job.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#ifdef NIVRA_HAVE_DBUS
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#endif

namespace nivra {

namespace {

#ifdef NIVRA_HAVE_DBUS
// Returns true when a file manager took the request (asynchronously).
bool showItemsOverDBus(const QUrl &file)
{
    const QString service = QStringLiteral("org.freedesktop.FileManager1");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return false;
    const QDBusConnectionInterface *iface = bus.interface();
    if (!iface->isServiceRegistered(service).value() &&
        !iface->activatableServiceNames().value().contains(service))
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        service, QStringLiteral("/org/freedesktop/FileManager1"), service, QStringLiteral("ShowItems"));
    call << QStringList{file.toString()} << QString();
    return bus.send(call);
}
#endif

} // namespace

void revealInFileManager(const QString &path)
{
    const QUrl file = QUrl::fromLocalFile(path);
#ifdef NIVRA_HAVE_DBUS
    if (showItemsOverDBus(file))
        return;
#endif
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}

} // namespace nivra
