#include "decode/mf/mf_aac.h"

#include "decode/mf/mf_com_win.h"

#include <algorithm>

namespace nivra::mf {

struct AacDecoderCore::State
{
    ComRef<IMFTransform> transform;
    bool mfStarted = false;
    bool providesSamples = false;
    int sampleRate = 0;
    int channels = 0;
    int bitsPerSample = 0;
    bool isFloat = false;
    DWORD outputSize = 0;

    ~State()
    {
        transform.reset();
        if (mfStarted)
            MFShutdown();
    }
    HRESULT negotiateOutput();
    void drain(int64_t fallbackMs, std::vector<AudioSamples> *out);
};

HRESULT AacDecoderCore::State::negotiateOutput()
{
    ComRef<IMFMediaType> floatType;
    ComRef<IMFMediaType> pcmType;
    for (DWORD i = 0; !floatType; ++i) {
        ComRef<IMFMediaType> offered;
        if (FAILED(transform->GetOutputAvailableType(0, i, offered.put())))
            break;
        GUID subtype{};
        if (FAILED(offered->GetGUID(MF_MT_SUBTYPE, &subtype)))
            continue;
        if (subtype == MFAudioFormat_Float)
            floatType = std::move(offered);
        else if (subtype == MFAudioFormat_PCM && !pcmType)
            pcmType = std::move(offered);
    }
    ComRef<IMFMediaType> type = floatType ? std::move(floatType) : std::move(pcmType);
    if (!type)
        return MF_E_INVALIDMEDIATYPE;
    HRESULT hr = transform->SetOutputType(0, type.get(), 0);
    if (FAILED(hr))
        return hr;
    GUID subtype{};
    type->GetGUID(MF_MT_SUBTYPE, &subtype);
    isFloat = subtype == MFAudioFormat_Float;
    UINT32 value = 0;
    sampleRate = SUCCEEDED(type->GetUINT32(MF_MT_AUDIO_SAMPLES_PER_SECOND, &value)) ? int(value) : 0;
    channels = SUCCEEDED(type->GetUINT32(MF_MT_AUDIO_NUM_CHANNELS, &value)) ? int(value) : 1;
    bitsPerSample =
        SUCCEEDED(type->GetUINT32(MF_MT_AUDIO_BITS_PER_SAMPLE, &value)) ? int(value) : (isFloat ? 32 : 16);
    MFT_OUTPUT_STREAM_INFO info{};
    transform->GetOutputStreamInfo(0, &info);
    providesSamples =
        (info.dwFlags & (MFT_OUTPUT_STREAM_PROVIDES_SAMPLES | MFT_OUTPUT_STREAM_CAN_PROVIDE_SAMPLES)) != 0;
    outputSize = std::max<DWORD>(info.cbSize, DWORD(std::max(channels, 1)) * 16384);
    // Floats are copied as 4-byte values, so any other float width would be
    // read as garbage.
    const bool usable =
        sampleRate >= 1 && channels >= 1 && (isFloat ? bitsPerSample == 32 : bitsPerSample == 16);
    return usable ? S_OK : MF_E_INVALIDMEDIATYPE;
}

std::unique_ptr<AacDecoderCore> AacDecoderCore::make(bool headerless, int sampleRate, int channels,
                                                     int objectType, std::string *reason)
{
    auto state = std::make_unique<State>();
    std::string failure;
    HRESULT hr = MFStartup(MF_VERSION, MFSTARTUP_LITE);
    if (FAILED(hr)) {
        if (reason)
            *reason = "Media Foundation is not available (" + codeText(hr) + ")";
        return nullptr;
    }
    state->mfStarted = true;
    std::vector<ComRef<IMFActivate>> list =
        listTransforms(MFT_CATEGORY_AUDIO_DECODER, MFMediaType_Audio, MFAudioFormat_AAC);
    if (list.empty()) {
        failure = "Windows has no AAC decoder";
    } else {
        hr =
            list.front()->ActivateObject(IID_IMFTransform, reinterpret_cast<void **>(state->transform.put()));
        if (FAILED(hr))
            failure = "cannot start the Windows AAC decoder (" + codeText(hr) + ")";
    }
    if (failure.empty()) {
        ComRef<IMFMediaType> input;
        hr = MFCreateMediaType(input.put());
        if (SUCCEEDED(hr)) {
            const std::array<uint8_t, 14> userData =
                aacUserData(headerless, objectType, sampleRate, channels);
            input->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Audio);
            input->SetGUID(MF_MT_SUBTYPE, MFAudioFormat_AAC);
            input->SetUINT32(MF_MT_AUDIO_SAMPLES_PER_SECOND, UINT32(sampleRate < 1 ? 16000 : sampleRate));
            input->SetUINT32(MF_MT_AUDIO_NUM_CHANNELS, UINT32(std::max(channels, 1)));
            input->SetUINT32(MF_MT_AAC_PAYLOAD_TYPE, headerless ? 0 : 1);
            input->SetBlob(MF_MT_USER_DATA, userData.data(), UINT32(userData.size()));
            hr = state->transform->SetInputType(0, input.get(), 0);
        }
        if (FAILED(hr))
            failure = "the Windows AAC decoder does not take this stream (" + codeText(hr) + ")";
    }
    if (failure.empty()) {
        hr = state->negotiateOutput();
        if (FAILED(hr))
            failure = "the Windows AAC decoder offers no usable output (" + codeText(hr) + ")";
    }
    if (!failure.empty()) {
        if (reason)
            *reason = failure;
        return nullptr;
    }
    state->transform->ProcessMessage(MFT_MESSAGE_NOTIFY_BEGIN_STREAMING, 0);
    state->transform->ProcessMessage(MFT_MESSAGE_NOTIFY_START_OF_STREAM, 0);
    return std::unique_ptr<AacDecoderCore>(new AacDecoderCore(std::move(state)));
}

AacDecoderCore::AacDecoderCore(std::unique_ptr<State> state) : d(std::move(state))
{}

AacDecoderCore::~AacDecoderCore() = default;

bool AacDecoderCore::decode(const uint8_t *data, uint64_t size, int64_t timeMs,
                            std::vector<AudioSamples> *out)
{
    if (!data || size == 0)
        return false;
    ComRef<IMFSample> sample;
    HRESULT hr = makeInputSample(data, size, timeMs, &sample);
    if (SUCCEEDED(hr)) {
        hr = d->transform->ProcessInput(0, sample.get(), 0);
        if (hr == MF_E_NOTACCEPTING) {
            d->drain(timeMs, out);
            hr = d->transform->ProcessInput(0, sample.get(), 0);
        }
    }
    if (FAILED(hr))
        return false;
    d->drain(timeMs, out);
    return true;
}

void AacDecoderCore::State::drain(int64_t fallbackMs, std::vector<AudioSamples> *out)
{
    for (;;) {
        ComRef<IMFSample> produced;
        const Output got = takeOutput(transform.get(), providesSamples, outputSize, &produced);
        if (got == Output::StreamChange) {
            if (FAILED(negotiateOutput()))
                return;
            continue;
        }
        if (got == Output::Nothing)
            return;
        ComRef<IMFMediaBuffer> buffer;
        if (FAILED(produced->ConvertToContiguousBuffer(buffer.put())))
            continue;
        BYTE *bytes = nullptr;
        DWORD length = 0;
        if (FAILED(buffer->Lock(&bytes, nullptr, &length)))
            continue;
        AudioSamples chunk;
        chunk.sampleRate = sampleRate;
        chunk.channels = channels;
        // A sample without a time belongs to the frame just sent, not to
        // the start of the epoch.
        LONGLONG time = 0;
        chunk.timeMs = SUCCEEDED(produced->GetSampleTime(&time)) ? int64_t(time / 10000) : fallbackMs;
        if (isFloat) {
            chunk.samples.resize(length / 4);
            memcpy(chunk.samples.data(), bytes, chunk.samples.size() * 4);
        } else {
            chunk.samples.resize(length / 2);
            for (size_t i = 0; i < chunk.samples.size(); ++i) {
                int16_t value;
                memcpy(&value, bytes + 2 * i, 2);
                chunk.samples[i] = float(value) * (1.0f / 32768.0f);
            }
        }
        buffer->Unlock();
        if (!chunk.samples.empty() && out)
            out->push_back(std::move(chunk));
    }
}

void AacDecoderCore::flush()
{
    d->transform->ProcessMessage(MFT_MESSAGE_COMMAND_FLUSH, 0);
}

const char *AacDecoderCore::info()
{
    return "Windows AAC decoder (Media Foundation)";
}

int AacDecoderCore::sampleRate() const
{
    return d->sampleRate;
}

int AacDecoderCore::channels() const
{
    return d->channels;
}

bool AacDecoderCore::floatOutput() const
{
    return d->isFloat;
}

} // namespace nivra::mf
