#include "playback/playback_engine.h"

namespace nivra {

// The HEVC Video Extensions exist only for Windows.
void openHevcStorePage()
{}

} // namespace nivra
