#include "decode/decoder.h"
#include "decode/decoder_chain.h"
#include "decode/decoder_platform.h"
#include "decode/ffmpeg_video_decoder.h"
#include "storage/card.h"

#include <QCoreApplication>
#include <QtDebug>

#include <atomic>
#include <mutex>

// The decoders take the card's codec numbers as they stand.
static_assert(int(nivra::CodecH264) == CARD_CODEC_H264 && int(nivra::CodecH265) == CARD_CODEC_H265,
              "codec numbers differ from the card's");

namespace nivra {

namespace {

std::atomic<int> g_savedPolicy{PolicyHardware};

} // namespace

int decodePolicyOverride(const QString &text)
{
    const QString value = text.trimmed().toLower();
    if (value == QLatin1String("hw"))
        return PolicyHardware;
    if (value == QLatin1String("sw"))
        return PolicySoftware;
    if (value == QLatin1String("auto"))
        return PolicyAuto;
    return -1;
}

void setDecodePolicy(int policy)
{
    g_savedPolicy.store(policy);
}

int decodePolicy()
{
    return g_savedPolicy.load();
}

int effectiveDecodePolicy()
{
    static const int override = decodePolicyOverride(qEnvironmentVariable("NIVRA_DECODE"));
    return override >= 0 ? override : g_savedPolicy.load();
}

bool listMatches(const QString &value, const QString &token)
{
    const QStringList parts = value.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const QString trimmed = part.trimmed();
        if (trimmed.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0 ||
            trimmed.compare(token, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool envListMatches(const char *variable, const QString &token)
{
    return listMatches(qEnvironmentVariable(variable), token);
}

std::vector<ChainEntry> videoChainEntries(int codec, int policy)
{
    std::vector<ChainEntry> entries;
    if (policy != PolicySoftware) {
        entries.push_back({QStringLiteral("FFmpeg on the graphics card"),
                           [codec](QString *reason) { return makeFfmpegVideoDecoder(codec, true, reason); }});
        if (!envListMatches("NIVRA_SKIP_HW", systemDecoderToken()))
            entries.push_back({systemGpuEntryLabel(), [codec](QString *reason) {
                                   return makeSystemVideoDecoder(codec, true, reason);
                               }});
    }
    if (policy != PolicyHardware && !envListMatches("NIVRA_SKIP_SW", systemDecoderToken()))
        entries.push_back({systemSoftwareEntryLabel(), [codec](QString *reason) {
                               return makeSystemVideoDecoder(codec, false, reason);
                           }});
    return entries;
}

std::unique_ptr<VideoDecoder> makeVideoDecoder(int codec, QString *reason)
{
    if (codec != CodecH264 && codec != CodecH265) {
        if (reason)
            *reason = QCoreApplication::translate("Decoder", "This video format is not supported.");
        return nullptr;
    }
    return startChainDecoder(videoChainEntries(codec, effectiveDecodePolicy()), reason);
}

const GraphicsCapability &graphicsCapability()
{
    static const GraphicsCapability capability = probeGraphicsCapability();
    return capability;
}

} // namespace nivra
