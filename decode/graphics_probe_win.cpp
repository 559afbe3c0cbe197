// The graphics capability probe on Windows: Direct3D 11's video decoder
// profiles on the default adapter (playback/mf/d3d11_probe_win.cpp).
#include "decode/decoder_platform.h"
#include "decode/mf/d3d11_probe.h"

namespace nivra {

GraphicsCapability probeGraphicsCapability()
{
    const mf::D3d11Capability probed = mf::probeD3d11();
    GraphicsCapability capability;
    capability.probed = probed.probed;
    capability.h264 = probed.h264;
    capability.h265 = probed.h265;
    capability.adapterName = QString::fromStdString(probed.adapterName);
    capability.failure = QString::fromStdString(probed.failure);
    return capability;
}

} // namespace nivra
