// SoundOutput: what the sound sync asks of a sound output. AudioOutput is
// the program's, on the system's sound server; a test may hand the sync an
// output of its own whose clock it moves by hand.
#pragma once

#include "decode/decoder.h"

#include <QString>

namespace nivra {

class SoundOutput
{
public:
    enum class State
    {
        Closed,
        Opening, // asked for; the device has not answered yet
        Open,    // sound can be written
        Failed,  // it did not open, or did not answer within the deadline
    };

    virtual ~SoundOutput() = default;

    // Asks for the default output device, closing any open one; at once.
    virtual void open() = 0;
    // Closes the device and forgets everything written; at once.
    virtual void close() = 0;
    virtual void setSuspended(bool suspended) = 0;
    // Clamps to 0..1; applied now and at every open.
    virtual void setVolume(float volume) = 0;
    // Where the open stands; reading it takes up the device's answer.
    virtual State state() = 0;
    // Why the last open failed.
    virtual QString failureText() const = 0;
    // Whether the presentation tick should write more sound.
    virtual bool wantsData() const = 0;
    // Queues a chunk for the device.
    virtual void write(const AudioChunk &chunk) = 0;
    // Has the queued sound handed to the device.
    virtual void pump() = 0;
    // The media time being played, in ms; *valid says whether there is one.
    virtual qlonglong clock(bool *valid) const = 0;
    // True when the device reported a failure; running out of sound is none.
    virtual bool failed() const = 0;
};

} // namespace nivra
