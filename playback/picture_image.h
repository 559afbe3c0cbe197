// A decoded picture as an RGB image, for snapshots.
#pragma once

#include <QImage>
#include <QVideoFrame>

namespace nivra {

// Converts an NV12 or YUV 4:2:0 picture on the processor, from its colour
// space (BT.601, BT.709 or BT.2020; unnamed: BT.601 below 720 lines, else
// BT.709) and range: the same pixels on every system. Qt's own conversion
// goes through the graphics back end, which draws nothing under Wine's
// Direct3D 11; it is used only for other formats. Null when the picture
// cannot be read.
QImage pictureImage(const QVideoFrame &picture);

} // namespace nivra
