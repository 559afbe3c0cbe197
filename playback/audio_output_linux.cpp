// The sound output's Linux part: how the process ends once PulseAudio has
// been used.
#include "playback/audio_output.h"

#include <cstdio>
#include <cstdlib>

namespace nivra {

// Qt 6.4's PulseAudio back end disconnects from the sound server in static
// destructors while its event thread still runs. When the server sends an
// event at that moment (the sink going idle because our stream has just
// closed, which is what quitting during playback does), both threads work on
// the connection and the process crashes after main has returned, and a
// sound thread left waiting for a server that stopped answering is torn down
// under. Registered after the back end's statics (once the first sink has
// started, and again as main returns), this handler ends the process before
// they are torn down; the server drops the connection itself. Sanitizer builds keep the ordinary exit, where
// the sanitizer's own exit checks set the status.
#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)

void protectExitFromSoundTeardown()
{}

#else

namespace {

// Runs inside exit(), before every exit handler registered earlier.
void endBeforeSoundTeardown(int status, void *)
{
    std::fflush(nullptr);
    std::_Exit(status);
}

} // namespace

void protectExitFromSoundTeardown()
{
    on_exit(endBeforeSoundTeardown, nullptr);
}

#endif

} // namespace nivra
