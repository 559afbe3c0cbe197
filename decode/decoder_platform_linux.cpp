// Linux: FFmpeg's own software decoders are the system decoders, there is no
// system AAC decoder and no separate system path to the graphics card (the
// FFmpeg entry reaches it through VA-API or VDPAU).
#include "decode/decoder_platform.h"
#include "decode/ffmpeg_video_decoder.h"

#include <QCoreApplication>

namespace nivra {

QString systemDecoderToken()
{
    return QStringLiteral("SYSTEM");
}

QString systemGpuEntryLabel()
{
    return QStringLiteral("system decoder on the graphics card");
}

QString systemSoftwareEntryLabel()
{
    return QStringLiteral("FFmpeg in software");
}

std::unique_ptr<VideoDecoder> makeSystemVideoDecoder(int codec, bool graphicsCard, QString *reason)
{
    if (graphicsCard) {
        if (reason)
            *reason = QCoreApplication::translate("Decoder", "Your graphics card cannot decode this video.");
        return nullptr;
    }
    return makeFfmpegVideoDecoder(codec, false, reason);
}

bool platformHasSystemAac()
{
    return false;
}

std::unique_ptr<AudioDecoder> makeSystemAacDecoder(bool, int, int, int, QString *reason)
{
    if (reason)
        *reason = QStringLiteral("this system has no AAC decoder of its own");
    return nullptr;
}

bool hevcExtensionNeeded(int)
{
    return false;
}

std::vector<HwPath> platformHwPaths()
{
    return {
        {AV_HWDEVICE_TYPE_VAAPI, AV_PIX_FMT_VAAPI, "VA-API"},
        {AV_HWDEVICE_TYPE_VDPAU, AV_PIX_FMT_VDPAU, "VDPAU"},
    };
}

DecoderThreadScope::DecoderThreadScope() = default;
DecoderThreadScope::~DecoderThreadScope() = default;

} // namespace nivra
