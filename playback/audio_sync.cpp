#include "playback/audio_sync.h"

#include <QtDebug>

namespace nivra {

AudioSync::AudioSync(const Clock *clock, SoundOutput *output)
    : m_clock(clock ? clock : &Clock::steady()), m_own(output ? nullptr : std::make_unique<AudioOutput>()),
      m_output(output ? output : m_own.get())
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
        m_opening = false;
        m_probeAtNs = -1;
        m_probing = false;
        m_recovered = false;
        m_suspended = false;
        m_lastClock = -1;
        m_stillSinceNs = -1;
        m_output->close();
        if (wanted.command != 0) {
            m_output->setVolume(wanted.volume);
            m_volume = wanted.volume;
            m_output->open();
            m_opening = true;
        }
        return true;
    }
    if (m_opening) {
        switch (m_output->state()) {
        case SoundOutput::State::Opening:
            return false; // the next tick looks again
        case SoundOutput::State::Open:
            m_opening = false;
            m_openFor = wanted.command;
            m_available = true;
            return true;
        case SoundOutput::State::Closed:
        case SoundOutput::State::Failed:
            m_opening = false;
            giveUp(qPrintable(m_output->failureText()));
            return false;
        }
    }
    if (unavailableFor(wanted.command)) {
        probe(wanted.playing);
        return false;
    }
    if (wanted.volume != m_volume) {
        m_volume = wanted.volume;
        m_output->setVolume(wanted.volume);
        return true;
    }
    if (!activeFor(wanted.command))
        return false;
    // A device lost while paused (the sound server restarted) is found
    // before play, which then opens a new one.
    if (m_output->failed()) {
        giveUp("the sound device failed");
        return false;
    }
    if (m_suspended != !wanted.playing) {
        m_suspended = !wanted.playing;
        m_output->setSuspended(m_suspended);
        // A clock that stood still while paused has not stalled.
        m_stillSinceNs = -1;
        return true;
    }
    if (!wanted.playing || !wanted.landed)
        return false;
    if (m_output->wantsData()) {
        if (std::optional<AudioChunk> chunk = pull()) {
            m_output->write(*chunk);
            return true;
        }
    }
    m_output->pump();
    readClock();
    return false;
}

void AudioSync::probe(bool playing)
{
    if (m_probing) {
        switch (m_output->state()) {
        case SoundOutput::State::Opening:
            return;
        case SoundOutput::State::Open:
            // The command's sound was dropped: the engine starts a new one.
            m_probing = false;
            m_recovered = true;
            m_output->close();
            return;
        case SoundOutput::State::Closed:
        case SoundOutput::State::Failed:
            m_probing = false;
            m_output->close();
            m_probeAtNs = m_clock->nowNs() + kProbeMs * 1000000;
            return;
        }
    }
    if (playing && !m_recovered && m_probeAtNs >= 0 && m_clock->nowNs() >= m_probeAtNs) {
        m_output->open();
        m_probing = true;
    }
}

void AudioSync::giveUp(const char *why)
{
    qWarning("sound output not available (%s); the pictures follow the wall clock", why);
    m_openFor = 0;
    m_drives = false;
    m_clockInUse = false;
    m_available = false;
    m_probeAtNs = m_clock->nowNs() + kProbeMs * 1000000;
    m_output->close();
}

void AudioSync::readClock()
{
    bool valid = false;
    const qlonglong audioNow = m_output->clock(&valid);
    bool stalled = false;
    if (valid) {
        const qint64 now = m_clock->nowNs();
        if (audioNow != m_lastClock || m_stillSinceNs < 0) {
            m_lastClock = audioNow;
            m_stillSinceNs = now;
        } else {
            stalled = now - m_stillSinceNs >= kStallMs * 1000000;
        }
    } else {
        m_stillSinceNs = -1;
    }
    if (stalled) {
        // Fall back to the engine's clock, as without sound, until the next
        // command opens the output again; the engine drops the unplayed sound.
        qWarning("sound output stalled at %lld", audioNow);
        giveUp("stalled");
        return;
    }
    m_drives = valid;
    if (!valid)
        return;
    m_read = audioNow;
    m_clockInUse = true;
}

} // namespace nivra
