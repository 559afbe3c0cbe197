// AudioSync: keeps the sound output in line with what the playback engine
// wants: opened afresh for each command that plays sound, suspended while
// paused, fed while playing, and read for the clock the pictures follow. A
// device whose clock stands still while it should play has stalled (pulled
// out, taken by another program): the output is then closed until the next
// command, and the pictures follow the engine's own clock. GUI thread only.
#pragma once

#include "playback/audio_output.h"

#include <functional>
#include <optional>

namespace nivra {

class AudioSync
{
public:
    // How long the device's clock may stand still while it plays.
    static constexpr qint64 kStallMs = 1500;

    // What the engine wants of the output now.
    struct Wanted
    {
        quint64 command = 0; // the command that plays sound; 0: none
        bool playing = false;
        bool landed = false; // its first picture is on screen: the sound may run
        float volume = 1.0f; // 0 when muted
    };
    using WantedNow = std::function<Wanted()>;
    // The next chunk of the command's sound, if one is decoded.
    using Pull = std::function<std::optional<AudioChunk>()>;
    // Monotonic nanoseconds.
    using Now = std::function<qint64()>;

    explicit AudioSync(Now now);

    // Brings the output in line with wanted(), feeds it from pull and reads
    // its clock; returns the media time the device plays when it was read.
    // The output may run an event loop that comes back here: such a call is
    // done by the pass in progress, which asks wanted() again.
    std::optional<qlonglong> sync(const WantedNow &wanted, const Pull &pull);

    // The output is open and playing for command.
    bool activeFor(quint64 command) const { return m_openFor != 0 && m_openFor == command; }
    // The output was (re)opened for command, whether or not it opened.
    bool triedFor(quint64 command) const { return m_triedFor == command; }
    // The last clock reading came from the device (none since stopDriving).
    bool drivesClock() const { return m_drives; }
    // The pictures follow the device's clock (until the next command).
    bool clockInUse() const { return m_clockInUse; }
    // Playback stopped: nothing read so far drives the pictures.
    void stopDriving() { m_drives = false; }
    // A new command: the clock is the device's again only once it plays.
    void forgetClock();

    AudioOutput &output() { return m_output; }

private:
    // One call into the output at most; true when another pass is needed.
    bool syncOnce(const WantedNow &wantedNow, const Pull &pull);
    // Reads the device's clock into m_read, or finds it stalled.
    void readClock();

    Now m_now;
    AudioOutput m_output;
    quint64 m_triedFor = 0; // command the output was last (re)opened for; 0 closed
    quint64 m_openFor = 0;  // command it is open and playing for; 0 none
    bool m_suspended = false;
    float m_volume = 1.0f;
    bool m_inCall = false;
    bool m_again = false;
    bool m_drives = false;
    bool m_clockInUse = false;
    std::optional<qlonglong> m_read; // by the sync in progress
    // Stall watch: the device's last clock value and since when it holds.
    qlonglong m_lastClock = -1;
    qint64 m_stillSinceNs = -1;
};

} // namespace nivra
