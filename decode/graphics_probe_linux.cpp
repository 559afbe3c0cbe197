// The graphics capability probe on Linux: asks VA-API on the first DRM render
// node whether it decodes H.264 and HEVC Main into NV12 (4:2:0) surfaces.
#include "decode/decoder_platform.h"

#include <QDir>

#include <fcntl.h>
#include <unistd.h>

#include <va/va.h>
#include <va/va_drm.h>

#include <algorithm>
#include <vector>

namespace nivra {

namespace {

bool decodesTo420(VADisplay display, const std::vector<VAProfile> &offered,
                  std::initializer_list<VAProfile> wanted)
{
    for (VAProfile profile : wanted) {
        if (std::find(offered.begin(), offered.end(), profile) == offered.end())
            continue;
        int count = vaMaxNumEntrypoints(display);
        std::vector<VAEntrypoint> entrypoints(size_t(qMax(count, 1)));
        if (vaQueryConfigEntrypoints(display, profile, entrypoints.data(), &count) != VA_STATUS_SUCCESS)
            continue;
        entrypoints.resize(size_t(count));
        if (std::find(entrypoints.begin(), entrypoints.end(), VAEntrypointVLD) == entrypoints.end())
            continue;
        VAConfigAttrib attribute{VAConfigAttribRTFormat, 0};
        if (vaGetConfigAttributes(display, profile, VAEntrypointVLD, &attribute, 1) != VA_STATUS_SUCCESS)
            continue;
        if (attribute.value != VA_ATTRIB_NOT_SUPPORTED && (attribute.value & VA_RT_FORMAT_YUV420))
            return true;
    }
    return false;
}

} // namespace

GraphicsCapability probeGraphicsCapability()
{
    GraphicsCapability capability;
    const QStringList nodes =
        QDir(QStringLiteral("/dev/dri")).entryList({QStringLiteral("renderD*")}, QDir::System, QDir::Name);
    if (nodes.isEmpty()) {
        capability.failure = QStringLiteral("no graphics render node (/dev/dri/renderD*)");
        return capability;
    }
    const QByteArray path = QByteArrayLiteral("/dev/dri/") + nodes.first().toLocal8Bit();
    const int fd = ::open(path.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        capability.failure = QStringLiteral("cannot open %1").arg(QString::fromLocal8Bit(path));
        return capability;
    }
    VADisplay display = vaGetDisplayDRM(fd);
    int major = 0;
    int minor = 0;
    if (!display || vaInitialize(display, &major, &minor) != VA_STATUS_SUCCESS) {
        capability.failure = QStringLiteral("no VA-API driver for %1").arg(QString::fromLocal8Bit(path));
        if (display)
            vaTerminate(display);
        ::close(fd);
        return capability;
    }
    capability.adapterName = QString::fromUtf8(vaQueryVendorString(display));
    int count = vaMaxNumProfiles(display);
    std::vector<VAProfile> profiles(size_t(qMax(count, 1)));
    if (vaQueryConfigProfiles(display, profiles.data(), &count) == VA_STATUS_SUCCESS) {
        profiles.resize(size_t(count));
        capability.probed = true;
        capability.h264 = decodesTo420(
            display, profiles, {VAProfileH264High, VAProfileH264Main, VAProfileH264ConstrainedBaseline});
        capability.h265 = decodesTo420(display, profiles, {VAProfileHEVCMain});
    } else {
        capability.failure = QStringLiteral("the VA-API driver lists no profiles");
    }
    vaTerminate(display);
    ::close(fd);
    return capability;
}

} // namespace nivra
