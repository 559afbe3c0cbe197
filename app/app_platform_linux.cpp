#include "app/app_platform.h"

#include <dlfcn.h>

namespace nivra {

// The program takes no device from GStreamer (the sound goes through the
// sound thread alone), so the device providers that talk to the sound
// server leave GStreamer's registry before Qt's back end starts its device
// monitor. GStreamer is loaded by that back end anyway; it is reached by name
// so that the build needs none of its headers.
void keepMediaBackendOffTheSoundServer()
{
    void *gst = dlopen("libgstreamer-1.0.so.0", RTLD_NOW | RTLD_GLOBAL);
    if (!gst)
        return;
    using Init = void (*)(int *, char ***);
    using Registry = void *(*)();
    using Lookup = void *(*)(void *, const char *);
    using Remove = void (*)(void *, void *);
    using Unref = void (*)(void *);
    auto init = reinterpret_cast<Init>(dlsym(gst, "gst_init"));
    auto registry = reinterpret_cast<Registry>(dlsym(gst, "gst_registry_get"));
    auto lookup = reinterpret_cast<Lookup>(dlsym(gst, "gst_registry_lookup_feature"));
    auto remove = reinterpret_cast<Remove>(dlsym(gst, "gst_registry_remove_feature"));
    auto unref = reinterpret_cast<Unref>(dlsym(gst, "gst_object_unref"));
    if (!init || !registry || !lookup || !remove || !unref)
        return;
    init(nullptr, nullptr);
    for (const char *name : {"pulsedeviceprovider", "alsadeviceprovider"}) {
        if (void *feature = lookup(registry(), name)) {
            remove(registry(), feature);
            unref(feature);
        }
    }
}

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
