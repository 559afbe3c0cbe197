// The graphics decoding capability probe on Windows without Qt: a Direct3D
// 11 device on the default adapter, its adapter's name, and whether the
// driver decodes H.264 and HEVC Main into NV12.
#pragma once

#include <string>

namespace nivra::mf {

struct D3d11Capability
{
    bool probed = false; // a device with a video decoder interface was made
    bool h264 = false;
    bool h265 = false;
    std::string adapterName; // UTF-8
    std::string failure;     // why probed is false
};

// Runs the probe; every interface it takes is released again.
D3d11Capability probeD3d11();

} // namespace nivra::mf
