#include "app/app_platform.h"

namespace nivra {

int defaultDecodePolicy()
{
    return 0;
}

QString operatingSystemName()
{
    return QStringLiteral("Linux");
}

// Debian's fonts-noto-cjk carries both scripts.
QString cjkFontFamily(const QString &language)
{
    if (language == QLatin1String("ja"))
        return QStringLiteral("Noto Sans CJK JP");
    if (language == QLatin1String("zh_Hans"))
        return QStringLiteral("Noto Sans CJK SC");
    return QString();
}

// Qt Quick's default (OpenGL) draws on every Linux desktop and on Xvfb.
void chooseGraphicsBackEnd()
{}

} // namespace nivra
