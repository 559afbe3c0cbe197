// Windows-only helpers shared by the Media Foundation sources: an owning COM
// pointer, the transform listing, samples around plain bytes and UTF-16 to
// UTF-8 conversion. Included only by *_win.cpp files of this folder.
#pragma once

#include "decode/mf/mf_formats.h"

// std::min and std::max, not the macros of windows.h.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// GUIDs used here are defined (as selectany) in each source that includes
// this, so no import library of GUIDs is needed.
#include <initguid.h>

#include <d3d11.h>
#include <mfapi.h>
#include <mferror.h>
#include <mfidl.h>
#include <mftransform.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace nivra::mf {

// One owned reference to a COM object; released when replaced or destroyed.
template <typename T> class ComRef
{
public:
    ComRef() = default;
    ~ComRef() { reset(); }
    ComRef(const ComRef &) = delete;
    ComRef &operator=(const ComRef &) = delete;
    ComRef(ComRef &&other) noexcept : m_p(other.m_p) { other.m_p = nullptr; }
    ComRef &operator=(ComRef &&other) noexcept
    {
        if (this != &other) {
            reset();
            m_p = other.m_p;
            other.m_p = nullptr;
        }
        return *this;
    }
    // Releases the held object.
    void reset()
    {
        if (m_p)
            m_p->Release();
        m_p = nullptr;
    }
    // Takes over a reference the caller owns.
    void attach(T *p)
    {
        reset();
        m_p = p;
    }
    T *get() const { return m_p; }
    T *operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // Releases the held object and returns the slot for an out-parameter.
    T **put()
    {
        reset();
        return &m_p;
    }
    // Queries another interface of the held object into *out.
    template <typename U> HRESULT query(REFIID iid, ComRef<U> *out) const
    {
        if (!m_p)
            return E_POINTER;
        return m_p->QueryInterface(iid, reinterpret_cast<void **>(out->put()));
    }

private:
    T *m_p = nullptr;
};

constexpr UINT32 kEnumFlags = MFT_ENUM_FLAG_SYNCMFT | MFT_ENUM_FLAG_LOCALMFT | MFT_ENUM_FLAG_SORTANDFILTER;

// Lists the transforms of a category that take major type / subtype, in the
// order the system gives; each list entry holds one reference.
inline std::vector<ComRef<IMFActivate>> listTransforms(const GUID &category, const GUID &majorType,
                                                       const GUID &subtype)
{
    std::vector<ComRef<IMFActivate>> list;
    MFT_REGISTER_TYPE_INFO input{majorType, subtype};
    IMFActivate **array = nullptr;
    UINT32 count = 0;
    if (FAILED(MFTEnumEx(category, kEnumFlags, &input, nullptr, &array, &count)) || !array)
        return list;
    list.resize(count);
    for (UINT32 i = 0; i < count; ++i)
        list[i].attach(array[i]);
    CoTaskMemFree(array);
    return list;
}

// Returns a UTF-16 text as UTF-8.
inline std::string utf8(const wchar_t *text)
{
    if (!text || !*text)
        return std::string();
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1)
        return std::string();
    std::string out(size_t(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], bytes, nullptr, nullptr);
    out.resize(size_t(bytes - 1));
    return out;
}

// Returns the code as "0x" and 8 lower-case hexadecimal digits.
inline std::string codeText(HRESULT hr)
{
    return hresultText(uint32_t(hr));
}

// Wraps a copy of data in a new sample with time timeMs (100 ns units), or
// returns the failing code.
inline HRESULT makeInputSample(const uint8_t *data, uint64_t size, int64_t timeMs, ComRef<IMFSample> *out)
{
    if (size == 0 || size > 0x7FFFFFFF)
        return E_INVALIDARG;
    ComRef<IMFMediaBuffer> buffer;
    HRESULT hr = MFCreateMemoryBuffer(DWORD(size), buffer.put());
    if (FAILED(hr))
        return hr;
    BYTE *bytes = nullptr;
    hr = buffer->Lock(&bytes, nullptr, nullptr);
    if (FAILED(hr))
        return hr;
    memcpy(bytes, data, size_t(size));
    buffer->Unlock();
    buffer->SetCurrentLength(DWORD(size));
    ComRef<IMFSample> sample;
    hr = MFCreateSample(sample.put());
    if (SUCCEEDED(hr))
        hr = sample->AddBuffer(buffer.get());
    if (SUCCEEDED(hr))
        hr = sample->SetSampleTime(LONGLONG(timeMs) * 10000);
    if (SUCCEEDED(hr))
        *out = std::move(sample);
    return hr;
}

// Makes an empty sample holding a memory buffer of size bytes.
inline HRESULT makeOutputSample(DWORD size, ComRef<IMFSample> *out)
{
    ComRef<IMFMediaBuffer> buffer;
    HRESULT hr = MFCreateMemoryBuffer(size, buffer.put());
    if (FAILED(hr))
        return hr;
    ComRef<IMFSample> sample;
    hr = MFCreateSample(sample.put());
    if (SUCCEEDED(hr))
        hr = sample->AddBuffer(buffer.get());
    if (SUCCEEDED(hr))
        *out = std::move(sample);
    return hr;
}

// What one ProcessOutput call gave.
enum class Output
{
    Sample,       // *produced holds a decoded sample
    StreamChange, // the output type must be negotiated again, then ask again
    Nothing,      // the transform needs more input, or failed
};

// Asks transform for its next output sample: into one of outputSize bytes
// made here, or into the transform's own when providesSamples. The one
// output drain of the Media Foundation decoders.
inline Output takeOutput(IMFTransform *transform, bool providesSamples, DWORD outputSize,
                         ComRef<IMFSample> *produced)
{
    ComRef<IMFSample> own;
    if (!providesSamples && FAILED(makeOutputSample(outputSize, &own)))
        return Output::Nothing;
    MFT_OUTPUT_DATA_BUFFER output{};
    output.dwStreamID = 0;
    output.pSample = own.get();
    DWORD status = 0;
    const HRESULT hr = transform->ProcessOutput(0, 1, &output, &status);
    if (output.pEvents)
        output.pEvents->Release();
    if (providesSamples)
        produced->attach(output.pSample);
    else
        *produced = std::move(own);
    if (hr == MF_E_TRANSFORM_STREAM_CHANGE)
        return Output::StreamChange;
    return FAILED(hr) || !*produced ? Output::Nothing : Output::Sample;
}

} // namespace nivra::mf
