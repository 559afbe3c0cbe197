#include "app/app_platform.h"

#include <QtGlobal>

#include <windows.h>

namespace nivra {

void chooseGraphicsBackEnd()
{
    // Wine's ntdll exports its version; Windows' own does not.
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (!ntdll || !GetProcAddress(ntdll, "wine_get_version"))
        return;
    if (!qEnvironmentVariableIsSet("QSG_RHI_BACKEND"))
        qputenv("QSG_RHI_BACKEND", "opengl");
    // With a render thread, the process never ends under Wine: its exit
    // waits on that thread for good.
    if (!qEnvironmentVariableIsSet("QSG_RENDER_LOOP"))
        qputenv("QSG_RENDER_LOOP", "basic");
}

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
