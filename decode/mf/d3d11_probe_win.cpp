#include "decode/mf/d3d11_probe.h"

#include "decode/mf/mf_com_win.h"

#include <dxgi.h>

#include <iterator>

namespace nivra::mf {

namespace {

// The DXVA decoder profiles; mingw-w64's d3d11.h does not define them.
const GUID kProfileH264VldNoFgt = {
    0x1b81be68, 0xa0c7, 0x11d3, {0xb9, 0x84, 0x00, 0xc0, 0x4f, 0x2e, 0x73, 0xc5}};
const GUID kProfileHevcVldMain = {
    0x5b11d51b, 0x2f4c, 0x4452, {0xbc, 0xc3, 0x09, 0xf2, 0xa1, 0x16, 0x0c, 0xc0}};

// Returns true when the driver lists profile and can output NV12 for it.
bool decodesToNv12(ID3D11VideoDevice *video, const GUID &profile)
{
    const UINT count = video->GetVideoDecoderProfileCount();
    for (UINT i = 0; i < count; ++i) {
        GUID listed{};
        if (FAILED(video->GetVideoDecoderProfile(i, &listed)))
            return false;
        if (listed != profile)
            continue;
        BOOL supported = FALSE;
        return SUCCEEDED(video->CheckVideoDecoderFormat(&profile, DXGI_FORMAT_NV12, &supported)) && supported;
    }
    return false;
}

} // namespace

D3d11Capability probeD3d11()
{
    D3d11Capability capability;
    const D3D_FEATURE_LEVEL levels[] = {D3D_FEATURE_LEVEL_11_1, D3D_FEATURE_LEVEL_11_0,
                                        D3D_FEATURE_LEVEL_10_1, D3D_FEATURE_LEVEL_10_0};
    ComRef<ID3D11Device> device;
    const HRESULT hr =
        D3D11CreateDevice(nullptr, D3D_DRIVER_TYPE_HARDWARE, nullptr, D3D11_CREATE_DEVICE_VIDEO_SUPPORT,
                          levels, UINT(std::size(levels)), D3D11_SDK_VERSION, device.put(), nullptr, nullptr);
    if (FAILED(hr)) {
        capability.failure = "no Direct3D 11 device (" + codeText(hr) + ")";
        return capability;
    }
    ComRef<IDXGIDevice> dxgiDevice;
    ComRef<IDXGIAdapter> adapter;
    DXGI_ADAPTER_DESC description{};
    if (SUCCEEDED(device.query(IID_IDXGIDevice, &dxgiDevice)) &&
        SUCCEEDED(dxgiDevice->GetAdapter(adapter.put())) && SUCCEEDED(adapter->GetDesc(&description)))
        capability.adapterName = utf8(description.Description);
    ComRef<ID3D11VideoDevice> video;
    if (FAILED(device.query(IID_ID3D11VideoDevice, &video))) {
        capability.failure = "the graphics driver exposes no video decoder";
        return capability;
    }
    capability.probed = true;
    capability.h264 = decodesToNv12(video.get(), kProfileH264VldNoFgt);
    capability.h265 = decodesToNv12(video.get(), kProfileHevcVldMain);
    return capability;
}

} // namespace nivra::mf
