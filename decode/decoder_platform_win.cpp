// Windows: the system decoders are Media Foundation's, on the graphics card
// and in software, and Media Foundation also decodes AAC. FFmpeg's own
// Windows paths (D3D11VA, DXVA2) are in the common hardware path table.
#include "decode/decoder_platform.h"
#include "decode/mf_decoders.h"

#include <objbase.h>

namespace nivra {

QString systemDecoderToken()
{
    return QStringLiteral("MF");
}

QString systemGpuEntryLabel()
{
    return QStringLiteral("Media Foundation on the graphics card");
}

QString systemSoftwareEntryLabel()
{
    return QStringLiteral("Media Foundation in software");
}

std::unique_ptr<VideoDecoder> makeSystemVideoDecoder(int codec, bool graphicsCard, QString *reason)
{
    return makeMfVideoDecoder(codec, graphicsCard, reason);
}

bool platformHasSystemAac()
{
    return true;
}

std::unique_ptr<AudioDecoder> makeSystemAacDecoder(bool headerless, int sampleRate, int channels,
                                                   int objectType, QString *reason)
{
    return makeMfAacDecoder(headerless, sampleRate, channels, objectType, reason);
}

bool hevcExtensionNeeded(int codec)
{
    return codec == CodecH265 && !envListMatches("NIVRA_SKIP_SW", systemDecoderToken()) &&
           !mfHasSystemDecoder(CodecH265);
}

std::vector<HwPath> platformHwPaths()
{
    return {};
}

// Media Foundation needs COM on the thread that decodes; the multithreaded
// apartment because the transforms call back from their own threads.
DecoderThreadScope::DecoderThreadScope()
    : m_initialised(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)))
{}

DecoderThreadScope::~DecoderThreadScope()
{
    if (m_initialised)
        CoUninitialize();
}

} // namespace nivra
