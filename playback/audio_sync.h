// AudioSync: keeps the sound output in line with what the playback engine
// wants: opened afresh for each command that plays sound, suspended while
// paused, fed while playing, and read for the clock the pictures follow.
// The output opens in the background; one that does not open within its
// deadline, fails, or whose clock stands still while it should play (pulled
// out, taken by another program, a sound server that stopped answering) is
// not available for the command: it is closed, and the pictures follow the
// engine's own clock, until a later command or a retry. GUI thread only.
#pragma once

#include "base/clock.h"
#include "playback/audio_output.h"

#include <functional>
#include <memory>
#include <optional>

class TestAudioSync;

namespace nivra {

class AudioSync
{
public:
    // How long the device's clock may stand still while it plays.
    static constexpr qint64 kStallMs = 1500;
    // While sound is not available and playing, an output is tried in the
    // background this often (the sound server reconnects in about 3 s).
    static constexpr qint64 kProbeMs = 3000;

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
    // clock (null: the steady one) outlives this one; so does output, when
    // given (null: the system's sound output, owned here).
    explicit AudioSync(const Clock *clock, SoundOutput *output = nullptr);
    void setClock(const Clock *clock) { m_clock = clock ? clock : &Clock::steady(); }

    // Brings the output in line with wanted(), feeds it from pull and reads
    // its clock; returns the media time the device plays when it was read.
    // The output may run an event loop that comes back here: such a call is
    // done by the pass in progress, which asks wanted() again.
    std::optional<qlonglong> sync(const WantedNow &wanted, const Pull &pull);

    // The output is open and playing for command.
    bool activeFor(quint64 command) const { return m_openFor != 0 && m_openFor == command; }
    // The output is still opening for command: the sync has more to do.
    bool openingFor(quint64 command) const { return m_opening && m_triedFor == command; }
    // The output was asked for command and is not available for it (it did
    // not open in time, failed or stalled): its sound is never played.
    bool unavailableFor(quint64 command) const
    {
        return command != 0 && m_triedFor == command && !m_opening && m_openFor == 0;
    }
    // The output is open for command, but its device was lost (the sound
    // server restarted while paused): found by the next sync while playing.
    bool lostFor(quint64 command) const { return activeFor(command) && m_output->failed(); }
    // The last output asked for opened (true before any was asked for).
    bool available() const { return m_available; }
    // An output tried in the background while command's sound was not
    // available has opened: a new command gets sound again.
    bool recoveredFor(quint64 command) const { return m_recovered && m_triedFor == command; }
    // The system's outputs changed: the next background try comes now.
    void probeSoon()
    {
        if (m_probeAtNs > 0)
            m_probeAtNs = 0;
    }
    // The last clock reading came from the device (none since stopDriving).
    bool drivesClock() const { return m_drives; }
    // The pictures follow the device's clock (until the next command).
    bool clockInUse() const { return m_clockInUse; }
    // Playback stopped: nothing read so far drives the pictures.
    void stopDriving() { m_drives = false; }
    // A new command: the clock is the device's again only once it plays.
    void forgetClock();

    SoundOutput &output() { return *m_output; }
    // The system's sound output when this sync owns it; null otherwise.
    AudioOutput *systemOutput() { return m_own.get(); }

private:
    friend class ::TestAudioSync;
    // The output was (re)opened for command, whether or not it opened.
    bool triedFor(quint64 command) const { return m_triedFor == command; }

    // One call into the output at most; true when another pass is needed.
    bool syncOnce(const WantedNow &wantedNow, const Pull &pull);
    // Reads the device's clock into m_read, or finds it stalled.
    void readClock();
    // The output is not available for the command: closed, the engine's
    // clock rules.
    void giveUp(const char *why);
    // Tries an output in the background while not available (and playing).
    void probe(bool playing);

    const Clock *m_clock;
    std::unique_ptr<AudioOutput> m_own;
    SoundOutput *m_output;
    quint64 m_triedFor = 0; // command the output was last (re)opened for; 0 closed
    quint64 m_openFor = 0;  // command it is open and playing for; 0 none
    bool m_opening = false; // asked for m_triedFor, no answer yet
    bool m_available = true;
    // Background tries while not available: when the next is due (-1:
    // none), one in progress, one that opened.
    qint64 m_probeAtNs = -1;
    bool m_probing = false;
    bool m_recovered = false;
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
