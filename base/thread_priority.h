#pragma once

namespace nivra {

// Lowers the calling thread below normal priority, so that background work
// (previews, analysis) gives way to playback.
void lowerThreadPriority();

} // namespace nivra
