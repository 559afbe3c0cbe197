// MfAacDecoder: the Media Foundation AAC decoder as a nivra::AudioDecoder,
// over the Qt-free core in playback/mf/mf_aac_win.cpp.
#include "decode/mf/mf_aac.h"
#include "decode/mf_decoders.h"

namespace nivra {

namespace {

class MfAacDecoder final : public AudioDecoder
{
public:
    explicit MfAacDecoder(std::unique_ptr<mf::AacDecoderCore> core) : m_core(std::move(core)) {}

    bool decode(const uint8_t *data, uint64_t size, qlonglong timeMs, QList<AudioChunk> *chunks) override
    {
        m_decoded.clear();
        const bool ok = m_core->decode(data, size, timeMs, &m_decoded);
        for (const mf::AudioSamples &samples : m_decoded) {
            AudioChunk chunk;
            chunk.samples = QList<float>(samples.samples.begin(), samples.samples.end());
            chunk.sampleRate = samples.sampleRate;
            chunk.channels = samples.channels;
            chunk.timeMs = qlonglong(samples.timeMs);
            if (chunks)
                chunks->append(std::move(chunk));
        }
        return ok;
    }

    void flush() override { m_core->flush(); }

    QString info() const override { return QString::fromLatin1(mf::AacDecoderCore::info()); }

private:
    std::unique_ptr<mf::AacDecoderCore> m_core;
    std::vector<mf::AudioSamples> m_decoded; // reused between frames
};

} // namespace

std::unique_ptr<AudioDecoder> makeMfAacDecoder(bool headerless, int sampleRate, int channels, int objectType,
                                               QString *reason)
{
    std::string failure;
    std::unique_ptr<mf::AacDecoderCore> core =
        mf::AacDecoderCore::make(headerless, sampleRate, channels, objectType, &failure);
    if (!core) {
        if (reason)
            *reason = QString::fromStdString(failure);
        return nullptr;
    }
    return std::make_unique<MfAacDecoder>(std::move(core));
}

} // namespace nivra
