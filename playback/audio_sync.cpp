#include "playback/audio_sync.h"

#include <QtDebug>

namespace nivra {

AudioSync::AudioSync(Now now) : m_now(std::move(now))
{}

void AudioSync::forgetClock()
{
    m_clockInUse = false;
    m_drives = false;
}

std::optional<qlonglong> AudioSync::sync(const WantedNow &wanted, const Pull &pull)
{
    // The output is not re-entrant: a sync asked for from inside one of its
    // calls is done by the pass that made the call.
    if (m_inCall) {
        m_again = true;
        return std::nullopt;
    }
    m_inCall = true;
    m_read.reset();
    do {
        m_again = false;
        if (syncOnce(wanted, pull))
            m_again = true;
    } while (m_again);
    m_inCall = false;
    return m_read;
}

bool AudioSync::syncOnce(const WantedNow &wantedNow, const Pull &pull)
{
    const Wanted wanted = wantedNow();
    // Each command that wants sound gets a freshly opened output, so that
    // nothing of the previous position is still played.
    if (m_triedFor != wanted.command) {
        m_triedFor = wanted.command;
        m_openFor = 0;
        m_suspended = false;
        m_lastClock = -1;
        m_stillSinceNs = -1;
        m_output.close();
        if (wanted.command != 0 && m_output.open())
            m_openFor = wanted.command;
        return true;
    }
    if (wanted.volume != m_volume) {
        m_volume = wanted.volume;
        m_output.setVolume(wanted.volume);
        return true;
    }
    if (!activeFor(wanted.command))
        return false;
    if (m_suspended != !wanted.playing) {
        m_suspended = !wanted.playing;
        m_output.setSuspended(m_suspended);
        // A clock that stood still while paused has not stalled.
        m_stillSinceNs = -1;
        return true;
    }
    if (!wanted.playing || !wanted.landed)
        return false;
    if (m_output.wantsData()) {
        if (std::optional<AudioChunk> chunk = pull()) {
            m_output.write(*chunk);
            return true;
        }
    }
    m_output.pump();
    // The pump may have run an event loop that changed what is wanted.
    const Wanted after = wantedNow();
    if (!activeFor(after.command) || !after.playing || !after.landed)
        return true;
    readClock();
    return false;
}

void AudioSync::readClock()
{
    bool valid = false;
    const qlonglong audioNow = m_output.clock(&valid);
    bool stalled = m_output.failed();
    if (valid && !stalled) {
        const qint64 now = m_now();
        if (audioNow != m_lastClock || m_stillSinceNs < 0) {
            m_lastClock = audioNow;
            m_stillSinceNs = now;
        } else {
            stalled = now - m_stillSinceNs >= kStallMs * 1000000;
        }
    } else if (!valid) {
        m_stillSinceNs = -1;
    }
    if (stalled) {
        // Fall back to the engine's clock, as without sound, until the next
        // command opens the output again; the engine drops the unplayed sound.
        qWarning("sound output stalled at %lld; the pictures follow the wall clock", audioNow);
        m_openFor = 0;
        m_drives = false;
        m_clockInUse = false;
        m_output.close();
        return;
    }
    m_drives = valid;
    if (!valid)
        return;
    m_read = audioNow;
    m_clockInUse = true;
}

} // namespace nivra
