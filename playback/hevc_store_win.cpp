#include "playback/playback_engine.h"

#include <QDesktopServices>
#include <QUrl>

namespace nivra {

// Opens the Store app's page of the HEVC Video Extensions, or its web page
// when no Store app handles the link.
void openHevcStorePage()
{
    const QUrl app(QStringLiteral("ms-windows-store://pdp/?ProductId=9NMZLZ57R3T7"));
    if (QDesktopServices::openUrl(app))
        return;
    QDesktopServices::openUrl(QUrl(QStringLiteral("https://apps.microsoft.com/detail/9NMZLZ57R3T7")));
}

} // namespace nivra
