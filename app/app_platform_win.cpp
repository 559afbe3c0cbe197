#include "app/app_platform.h"

namespace nivra {

// Media Foundation opens no sound device before the program asks for one.
void keepMediaBackendOffTheSoundServer()
{}

int defaultDecodePolicy()
{
    return 1;
}

QString operatingSystemName()
{
    return QStringLiteral("Windows");
}

QString cjkFontFamily(const QString &language)
{
    if (language == QLatin1String("ja"))
        return QStringLiteral("Yu Gothic UI");
    if (language == QLatin1String("zh_Hans"))
        return QStringLiteral("Microsoft YaHei UI");
    return QString();
}

} // namespace nivra
