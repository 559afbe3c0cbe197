#include "decode/mf/mf_video.h"

#include "codec/param_sets.h"
#include "decode/mf/mf_com_win.h"

#include <d3d10.h>

#include <algorithm>
#include <deque>
#include <iterator>

namespace nivra::mf {

static_assert(MatrixBt709 == int(MFVideoTransferMatrix_BT709) &&
                  MatrixBt601 == int(MFVideoTransferMatrix_BT601) &&
                  MatrixBt2020_10 == int(MFVideoTransferMatrix_BT2020_10) &&
                  MatrixBt2020_12 == int(MFVideoTransferMatrix_BT2020_12),
              "transfer matrix values");
static_assert(PrimariesBt709 == int(MFVideoPrimaries_BT709) &&
                  PrimariesBt470_2_SysBG == int(MFVideoPrimaries_BT470_2_SysBG) &&
                  PrimariesSmpte170M == int(MFVideoPrimaries_SMPTE170M) &&
                  PrimariesBt2020 == int(MFVideoPrimaries_BT2020),
              "primaries values");

namespace {

// CODECAPI_AVLowLatencyMode, spelt out: codecapi.h's GUID macros need
// __uuidof support that not every compiler has.
const GUID kLowLatencyMode = {0x9c27891a, 0xed7a, 0x40e1, {0x88, 0xe8, 0xb2, 0x27, 0x27, 0xa0, 0x24, 0xee}};

// Returns true when an Annex-B frame holds a random-access unit.
bool isKeyframe(int codec, const uint8_t *data, uint64_t size)
{
    bool key = false;
    forEachNalUnit(data, size_t(size), [&](const NalUnit &unit) {
        const int type = nalUnitType(codec, unit);
        if (codec == PARAMS_H265 ? (type >= 16 && type <= 21) : type == 5)
            key = true;
    });
    return key;
}

} // namespace

struct VideoDecoderCore::State
{
    PictureSink *sink = nullptr;
    Logger logger;
    int codec = PARAMS_H264;

    std::vector<ComRef<IMFActivate>> activations;
    IMFActivate *activation = nullptr; // the one in use, held in activations
    ComRef<IMFTransform> transform;

    ComRef<ID3D11Device> device;
    ComRef<ID3D11DeviceContext> context;
    ComRef<ID3D10Multithread> multithread;
    ComRef<IMFDXGIDeviceManager> manager;
    UINT resetToken = 0;
    ComRef<ID3D11Texture2D> staging;
    UINT stagingWidth = 0;
    UINT stagingHeight = 0;

    bool mfStarted = false;
    bool graphicsCard = false;
    bool started = false;
    bool discontinuity = false;
    bool providesSamples = false;

    // Output description.
    int codedWidth = 0;
    int codedHeight = 0;
    // The stream's cropped size from its SPS (0 when unknown).
    int streamWidth = 0;
    int streamHeight = 0;
    DisplayArea area;
    int stride = 0;
    ColourSpace colourSpace = ColourBt601;
    bool fullRange = false;
    DWORD outputSize = 0;

    // Times of the inputs taken since the last flush (the newest 64): a
    // transform may still hand out a picture it held back from before the
    // flush (Wine's does), which must not reach a seek's new position.
    std::deque<int64_t> sentTimes;

    std::string name;
    Message error;
    int pictures = 0;
    int inputFailures = 0;

    ~State();
    // The failure text of this mode: the graphics-card text, else "could not
    // decode" with detail.
    Message failure(const std::string &detail) const
    {
        if (graphicsCard)
            return Message{TextGraphicsCard, std::string()};
        return Message{TextCouldNotDecode, detail};
    }
    bool createDevice();
    bool startTransform(const uint8_t *data, uint64_t size, std::string *lastMessage);
    bool negotiateOutput(std::string *message);
    void drainOutput();
    bool convert(IMFSample *sample);
    bool copyFromTexture(IMFMediaBuffer *buffer, const Nv12Target &target);
    bool copyFromMemory(IMFMediaBuffer *buffer, const Nv12Target &target);
};

VideoDecoderCore::State::~State()
{
    if (transform) {
        transform->ProcessMessage(MFT_MESSAGE_NOTIFY_END_STREAMING, 0);
        if (graphicsCard)
            transform->ProcessMessage(MFT_MESSAGE_SET_D3D_MANAGER, 0);
        transform.reset();
    }
    if (activation)
        activation->ShutdownObject();
    activations.clear();
    staging.reset();
    multithread.reset();
    context.reset();
    device.reset();
    manager.reset();
    if (mfStarted)
        MFShutdown();
}

bool VideoDecoderCore::State::createDevice()
{
    const D3D_FEATURE_LEVEL levels[] = {D3D_FEATURE_LEVEL_11_1, D3D_FEATURE_LEVEL_11_0,
                                        D3D_FEATURE_LEVEL_10_1, D3D_FEATURE_LEVEL_10_0};
    HRESULT hr = D3D11CreateDevice(nullptr, D3D_DRIVER_TYPE_HARDWARE, nullptr,
                                   D3D11_CREATE_DEVICE_VIDEO_SUPPORT, levels, UINT(std::size(levels)),
                                   D3D11_SDK_VERSION, device.put(), nullptr, context.put());
    std::string detail;
    if (FAILED(hr)) {
        detail = "D3D11CreateDevice " + codeText(hr);
    } else if (FAILED(device.query(IID_ID3D10Multithread, &multithread))) {
        detail = "no ID3D10Multithread";
    } else {
        // The transform works on the device from its own threads.
        multithread->SetMultithreadProtected(TRUE);
        hr = MFCreateDXGIDeviceManager(&resetToken, manager.put());
        if (SUCCEEDED(hr))
            hr = manager->ResetDevice(device.get(), resetToken);
        if (FAILED(hr))
            detail = "DXGI device manager " + codeText(hr);
    }
    if (detail.empty())
        return true;
    logLine(logger, "Media Foundation: no Direct3D 11 device for decoding (%s)", detail.c_str());
    return false;
}

std::unique_ptr<VideoDecoderCore> VideoDecoderCore::make(int codec, bool graphicsCard, PictureSink *sink,
                                                         const Logger &logger, Message *reason)
{
    auto state = std::make_unique<State>();
    state->sink = sink;
    state->logger = logger;
    state->codec = codec == 2 ? PARAMS_H265 : PARAMS_H264;
    state->graphicsCard = graphicsCard;
    const Message defaultText{TextGraphicsCard, std::string()};
    const bool comInitialised = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    std::unique_ptr<VideoDecoderCore> decoder;
    Message failure;
    const HRESULT hr = MFStartup(MF_VERSION, MFSTARTUP_LITE);
    if (FAILED(hr)) {
        logLine(logger, "Media Foundation not available (%s)", codeText(hr).c_str());
        failure = graphicsCard ? defaultText : Message{TextCouldNotDecode, codeText(hr)};
    } else {
        state->mfStarted = true;
        state->activations =
            listTransforms(MFT_CATEGORY_VIDEO_DECODER, MFMediaType_Video,
                           state->codec == PARAMS_H265 ? MFVideoFormat_HEVC : MFVideoFormat_H264);
        const char *codecText = state->codec == PARAMS_H265 ? "H.265" : "H.264";
        if (state->activations.empty()) {
            logLine(logger, "Media Foundation: Windows has no %s decoder", codecText);
            if (graphicsCard)
                failure = defaultText;
            else
                failure.id = state->codec == PARAMS_H265 ? TextNeedsHevcExtension : TextNoDecoder;
        } else if (graphicsCard && !state->createDevice()) {
            failure = defaultText;
        } else {
            decoder.reset(new VideoDecoderCore(std::move(state)));
        }
    }
    // What a failed make holds is released while COM is still initialised.
    state.reset();
    if (comInitialised)
        CoUninitialize();
    if (!decoder && reason)
        *reason = failure;
    return decoder;
}

VideoDecoderCore::VideoDecoderCore(std::unique_ptr<State> state) : d(std::move(state))
{}

VideoDecoderCore::~VideoDecoderCore() = default;

bool VideoDecoderCore::State::startTransform(const uint8_t *data, uint64_t size, std::string *lastMessage)
{
    ParamSets sets;
    collectFrameParamSets(codec, data, size_t(size), &sets);
    SpsInfo sps;
    readStreamParams(codec, sets, &sps);

    ComRef<IMFMediaType> input;
    HRESULT hr = MFCreateMediaType(input.put());
    if (FAILED(hr)) {
        *lastMessage = "input type " + codeText(hr);
        return false;
    }
    input->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Video);
    input->SetGUID(MF_MT_SUBTYPE, codec == PARAMS_H265 ? MFVideoFormat_HEVC : MFVideoFormat_H264);
    input->SetUINT32(MF_MT_INTERLACE_MODE, MFVideoInterlace_Progressive);
    if (sps.parsed && sps.width > 0 && sps.height > 0) {
        streamWidth = sps.width;
        streamHeight = sps.height;
    }
    if (sps.parsed && sps.width > 0 && sps.height > 0)
        input->SetUINT64(MF_MT_FRAME_SIZE, (UINT64(UINT32(sps.width)) << 32) | UINT32(sps.height));

    for (ComRef<IMFActivate> &candidate : activations) {
        std::string candidateName = "?";
        WCHAR *friendly = nullptr;
        UINT32 length = 0;
        if (SUCCEEDED(candidate->GetAllocatedString(MFT_FRIENDLY_NAME_Attribute, &friendly, &length))) {
            candidateName = utf8(friendly);
            CoTaskMemFree(friendly);
            if (candidateName.empty())
                candidateName = "?";
        }
        ComRef<IMFTransform> candidateTransform;
        hr = candidate->ActivateObject(IID_IMFTransform, reinterpret_cast<void **>(candidateTransform.put()));
        if (FAILED(hr)) {
            *lastMessage = "cannot start " + candidateName + " (" + codeText(hr) + ")";
            logLine(logger, "Media Foundation: %s", lastMessage->c_str());
            continue;
        }
        std::string message;
        ComRef<IMFAttributes> attributes;
        if (SUCCEEDED(candidateTransform->GetAttributes(attributes.put())) && attributes)
            attributes->SetUINT32(kLowLatencyMode, TRUE);
        if (graphicsCard) {
            UINT32 aware = 0;
            if (attributes && SUCCEEDED(attributes->GetUINT32(MF_SA_D3D11_AWARE, &aware)) && aware) {
                hr = candidateTransform->ProcessMessage(MFT_MESSAGE_SET_D3D_MANAGER,
                                                        reinterpret_cast<ULONG_PTR>(manager.get()));
                if (FAILED(hr))
                    message = "refused the Direct3D 11 device (" + codeText(hr) + ")";
            } else {
                message = "cannot use Direct3D 11";
            }
        }
        if (message.empty()) {
            hr = candidateTransform->SetInputType(0, input.get(), 0);
            if (FAILED(hr))
                message = "input type " + codeText(hr);
        }
        if (message.empty()) {
            transform = std::move(candidateTransform);
            if (!negotiateOutput(&message))
                candidateTransform = std::move(transform);
        }
        if (message.empty()) {
            activation = candidate.get();
            name = candidateName;
            transform->ProcessMessage(MFT_MESSAGE_NOTIFY_BEGIN_STREAMING, 0);
            transform->ProcessMessage(MFT_MESSAGE_NOTIFY_START_OF_STREAM, 0);
            started = true;
            logLine(logger, "Media Foundation: %s%s", name.c_str(),
                    graphicsCard ? " with a Direct3D 11 device" : "");
            return true;
        }
        *lastMessage = message;
        logLine(logger, "Media Foundation: %s cannot be used: %s", candidateName.c_str(), message.c_str());
        if (graphicsCard)
            candidateTransform->ProcessMessage(MFT_MESSAGE_SET_D3D_MANAGER, 0);
        candidateTransform.reset();
        candidate->ShutdownObject();
    }
    return false;
}

bool VideoDecoderCore::State::negotiateOutput(std::string *message)
{
    ComRef<IMFMediaType> type;
    for (DWORD i = 0;; ++i) {
        ComRef<IMFMediaType> offered;
        if (FAILED(transform->GetOutputAvailableType(0, i, offered.put())))
            break;
        GUID subtype{};
        if (SUCCEEDED(offered->GetGUID(MF_MT_SUBTYPE, &subtype)) && subtype == MFVideoFormat_NV12) {
            type = std::move(offered);
            break;
        }
    }
    const HRESULT hr = type ? transform->SetOutputType(0, type.get(), 0) : MF_E_INVALIDMEDIATYPE;
    if (FAILED(hr)) {
        *message = "no NV12 output (" + codeText(hr) + ")";
        return false;
    }
    UINT64 frameSize = 0;
    type->GetUINT64(MF_MT_FRAME_SIZE, &frameSize);
    codedWidth = int(UINT32(frameSize >> 32));
    codedHeight = int(UINT32(frameSize));
    UINT32 defaultStride = 0;
    stride = SUCCEEDED(type->GetUINT32(MF_MT_DEFAULT_STRIDE, &defaultStride)) ? int(INT32(defaultStride))
                                                                              : codedWidth;
    MFVideoArea aperture{};
    UINT32 blobSize = 0;
    DisplayArea shown;
    const bool hasAperture =
        SUCCEEDED(type->GetBlob(MF_MT_MINIMUM_DISPLAY_APERTURE, reinterpret_cast<UINT8 *>(&aperture),
                                sizeof aperture, &blobSize)) &&
        blobSize == sizeof aperture;
    if (hasAperture)
        shown = DisplayArea{aperture.OffsetX.value, aperture.OffsetY.value, int(aperture.Area.cx),
                            int(aperture.Area.cy)};
    area =
        chooseDisplayArea(hasAperture ? &shown : nullptr, codedWidth, codedHeight, streamWidth, streamHeight);
    UINT32 value = 0;
    const int matrix = SUCCEEDED(type->GetUINT32(MF_MT_YUV_MATRIX, &value)) ? int(value) : -1;
    const int primaries = SUCCEEDED(type->GetUINT32(MF_MT_VIDEO_PRIMARIES, &value)) ? int(value) : -1;
    colourSpace = chooseColourSpace(matrix, primaries, area.height);
    fullRange =
        SUCCEEDED(type->GetUINT32(MF_MT_VIDEO_NOMINAL_RANGE, &value)) && value == MFNominalRange_0_255;
    MFT_OUTPUT_STREAM_INFO info{};
    transform->GetOutputStreamInfo(0, &info);
    providesSamples =
        (info.dwFlags & (MFT_OUTPUT_STREAM_PROVIDES_SAMPLES | MFT_OUTPUT_STREAM_CAN_PROVIDE_SAMPLES)) != 0;
    const uint64_t planes = uint64_t(std::max(codedWidth, 1)) * uint64_t(std::max(codedHeight, 1)) * 3 / 2;
    outputSize = DWORD(std::min<uint64_t>(std::max<uint64_t>(info.cbSize, planes), 0x7FFFFFFF));
    if (codedWidth < 1 || codedHeight < 1) {
        *message = "no NV12 output (" + codeText(MF_E_INVALIDMEDIATYPE) + ")";
        return false;
    }
    return true;
}

bool VideoDecoderCore::send(const uint8_t *data, uint64_t size, int64_t timeMs)
{
    State &s = *d;
    if (!s.error.empty() || !data || size == 0)
        return false;
    const bool key = isKeyframe(s.codec, data, size);
    if (!s.started) {
        if (!key)
            return false;
        std::string lastMessage;
        if (!s.startTransform(data, size, &lastMessage)) {
            logLine(s.logger, "Media Foundation: no %s decoder takes the stream", codecName());
            s.error = s.failure(lastMessage);
            return false;
        }
    }
    ComRef<IMFSample> sample;
    HRESULT hr = makeInputSample(data, size, timeMs, &sample);
    if (SUCCEEDED(hr)) {
        if (key)
            sample->SetUINT32(MFSampleExtension_CleanPoint, 1);
        if (s.discontinuity) {
            sample->SetUINT32(MFSampleExtension_Discontinuity, 1);
            s.discontinuity = false;
        }
        hr = s.transform->ProcessInput(0, sample.get(), 0);
        if (hr == MF_E_NOTACCEPTING) {
            s.drainOutput();
            hr = s.transform->ProcessInput(0, sample.get(), 0);
        }
    }
    if (SUCCEEDED(hr)) {
        s.sentTimes.push_back(timeMs);
        if (s.sentTimes.size() > 64)
            s.sentTimes.pop_front();
    }
    if (FAILED(hr)) {
        // Before the first picture repeated failures mean this transform
        // cannot decode the stream; afterwards one bad packet is only lost.
        if (s.pictures == 0 && ++s.inputFailures == 3)
            s.error = s.failure(codeText(hr));
        return false;
    }
    s.drainOutput();
    return s.error.empty();
}

void VideoDecoderCore::State::drainOutput()
{
    while (error.empty()) {
        ComRef<IMFSample> produced;
        const Output got = takeOutput(transform.get(), providesSamples, outputSize, &produced);
        if (got == Output::StreamChange) {
            std::string message;
            if (!negotiateOutput(&message)) {
                error = failure(message);
                return;
            }
            continue;
        }
        if (got == Output::Nothing)
            return;
        if (convert(produced.get()))
            ++pictures;
    }
}

bool VideoDecoderCore::State::convert(IMFSample *sample)
{
    LONGLONG time = 0;
    const bool timed = SUCCEEDED(sample->GetSampleTime(&time));
    const int64_t timeMs = timed ? int64_t(time / 10000) : 0;
    if (timed) {
        const auto sent = std::find(sentTimes.begin(), sentTimes.end(), timeMs);
        if (sent == sentTimes.end())
            return false;
        sentTimes.erase(sent);
    }
    ComRef<IMFMediaBuffer> buffer;
    if (graphicsCard ? FAILED(sample->GetBufferByIndex(0, buffer.put()))
                     : FAILED(sample->ConvertToContiguousBuffer(buffer.put())))
        return false;
    if (graphicsCard) {
        // Checked before a picture is begun: a transform that hands back
        // system memory here is not decoding on the graphics card at all.
        ComRef<IMFDXGIBuffer> probe;
        if (FAILED(buffer.query(IID_IMFDXGIBuffer, &probe))) {
            logLine(logger, "Media Foundation: %s decodes in software, not on the graphics card",
                    name.c_str());
            error = Message{TextGraphicsCard, std::string()};
            return false;
        }
    }
    const PictureFormat format{area.width, area.height, colourSpace, fullRange};
    Nv12Target target;
    if (!sink || !sink->begin(format, &target))
        return false;
    const bool ok =
        graphicsCard ? copyFromTexture(buffer.get(), target) : copyFromMemory(buffer.get(), target);
    sink->end(ok, timeMs);
    return ok;
}

bool VideoDecoderCore::State::copyFromTexture(IMFMediaBuffer *buffer, const Nv12Target &target)
{
    ComRef<IMFDXGIBuffer> dxgi;
    ComRef<ID3D11Texture2D> texture;
    UINT subresource = 0;
    if (FAILED(buffer->QueryInterface(IID_IMFDXGIBuffer, reinterpret_cast<void **>(dxgi.put()))) ||
        FAILED(dxgi->GetResource(IID_ID3D11Texture2D, reinterpret_cast<void **>(texture.put()))) ||
        FAILED(dxgi->GetSubresourceIndex(&subresource)))
        return false;
    D3D11_TEXTURE2D_DESC desc{};
    texture->GetDesc(&desc);
    if (desc.Format != DXGI_FORMAT_NV12 || uint64_t(desc.Width) < uint64_t(area.x) + uint64_t(area.width) ||
        uint64_t(desc.Height) < uint64_t(area.y) + uint64_t(area.height))
        return false;
    if (!staging || stagingWidth != desc.Width || stagingHeight != desc.Height) {
        staging.reset();
        D3D11_TEXTURE2D_DESC stagingDesc{};
        stagingDesc.Width = desc.Width;
        stagingDesc.Height = desc.Height;
        stagingDesc.MipLevels = 1;
        stagingDesc.ArraySize = 1;
        stagingDesc.Format = DXGI_FORMAT_NV12;
        stagingDesc.SampleDesc.Count = 1;
        stagingDesc.Usage = D3D11_USAGE_STAGING;
        stagingDesc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
        if (FAILED(device->CreateTexture2D(&stagingDesc, nullptr, staging.put())))
            return false;
        stagingWidth = desc.Width;
        stagingHeight = desc.Height;
    }
    // The transform decodes into the same device from its own threads.
    multithread->Enter();
    context->CopySubresourceRegion(staging.get(), 0, 0, 0, 0, texture.get(), subresource, nullptr);
    D3D11_MAPPED_SUBRESOURCE mapped{};
    bool ok = false;
    if (SUCCEEDED(context->Map(staging.get(), 0, D3D11_MAP_READ, 0, &mapped))) {
        const auto *base = static_cast<const uint8_t *>(mapped.pData);
        const size_t lumaBytes = size_t(mapped.RowPitch) * desc.Height;
        const Nv12Source source{base, lumaBytes, base + lumaBytes,
                                size_t(mapped.RowPitch) * (desc.Height / 2), int(mapped.RowPitch)};
        ok = copyNv12Area(source, area, target);
        context->Unmap(staging.get(), 0);
    }
    multithread->Leave();
    return ok;
}

bool VideoDecoderCore::State::copyFromMemory(IMFMediaBuffer *buffer, const Nv12Target &target)
{
    ComRef<IMF2DBuffer> buffer2d;
    BYTE *scan0 = nullptr;
    LONG pitch = 0;
    if (SUCCEEDED(buffer->QueryInterface(IID_IMF2DBuffer, reinterpret_cast<void **>(buffer2d.put()))) &&
        SUCCEEDED(buffer2d->Lock2D(&scan0, &pitch))) {
        bool ok = false;
        if (pitch > 0) {
            const size_t lumaBytes = size_t(pitch) * size_t(codedHeight);
            const Nv12Source source{scan0, lumaBytes, scan0 + lumaBytes,
                                    size_t(pitch) * size_t((codedHeight + 1) / 2), int(pitch)};
            ok = copyNv12Area(source, area, target);
        }
        buffer2d->Unlock2D();
        return ok;
    }
    BYTE *bytes = nullptr;
    DWORD length = 0;
    if (FAILED(buffer->Lock(&bytes, nullptr, &length)))
        return false;
    const int pitch1d = stride > 0 ? stride : codedWidth;
    const size_t lumaBytes = size_t(pitch1d) * size_t(codedHeight);
    bool ok = false;
    if (pitch1d > 0 && length >= lumaBytes * 3 / 2) {
        const Nv12Source source{bytes, lumaBytes, bytes + lumaBytes, size_t(length) - lumaBytes, pitch1d};
        ok = copyNv12Area(source, area, target);
    }
    buffer->Unlock();
    return ok;
}

void VideoDecoderCore::drain()
{
    State &s = *d;
    if (!s.started || !s.error.empty())
        return;
    if (SUCCEEDED(s.transform->ProcessMessage(MFT_MESSAGE_COMMAND_DRAIN, 0)))
        s.drainOutput();
}

void VideoDecoderCore::flush()
{
    if (d->started)
        d->transform->ProcessMessage(MFT_MESSAGE_COMMAND_FLUSH, 0);
    d->sentTimes.clear();
    d->discontinuity = true;
}

std::string VideoDecoderCore::info() const
{
    return std::string("Windows ") + codecName() + " decoder (Media Foundation, " +
           (d->graphicsCard ? "GPU" : "software") + ")";
}

const Message &VideoDecoderCore::error() const
{
    return d->error;
}

const char *VideoDecoderCore::codecName() const
{
    return d->codec == PARAMS_H265 ? "H.265" : "H.264";
}

bool VideoDecoderCore::graphicsCard() const
{
    return d->graphicsCard;
}

const std::string &VideoDecoderCore::transformName() const
{
    return d->name;
}

int VideoDecoderCore::picturesDecoded() const
{
    return d->pictures;
}

bool hasSystemDecoder(int codec)
{
    const bool comInitialised = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    bool found = false;
    if (SUCCEEDED(MFStartup(MF_VERSION, MFSTARTUP_LITE))) {
        found = !listTransforms(MFT_CATEGORY_VIDEO_DECODER, MFMediaType_Video,
                                codec == 2 ? MFVideoFormat_HEVC : MFVideoFormat_H264)
                     .empty();
        MFShutdown();
    }
    if (comInitialised)
        CoUninitialize();
    return found;
}

ComThreadScope::ComThreadScope() : m_initialised(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)))
{}

ComThreadScope::~ComThreadScope()
{
    if (m_initialised)
        CoUninitialize();
}

} // namespace nivra::mf
