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
// the connection and the process crashes after main has returned. Registered
// once the first sink has started, so after the back end's statics, this
// handler ends the process before they are torn down; the server drops the
// connection itself. Sanitizer builds keep the ordinary exit, where the
// sanitizer's own exit checks set the status.
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
    static const bool registered = on_exit(endBeforeSoundTeardown, nullptr) == 0;
    Q_UNUSED(registered)
}

#endif

} // namespace nivra
