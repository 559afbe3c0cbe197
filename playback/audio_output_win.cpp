// The sound output's Windows part: nothing to guard at exit.
#include "playback/audio_output.h"

namespace nivra {

void protectExitFromSoundTeardown()
{}

} // namespace nivra
