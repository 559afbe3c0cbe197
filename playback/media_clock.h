// The playback time the presentation tick paces pictures against: a base time
// that advances with a monotonic time source at the playback rate while
// running.
#pragma once

#include "base/clock.h"

namespace nivra {

class MediaClock
{
public:
    // clock defaults to the steady clock; it outlives this one.
    explicit MediaClock(const Clock *clock = nullptr);

    // Returns base + elapsed × rate while running, the base while stopped.
    qlonglong value() const;
    qlonglong base() const { return m_base; }
    bool isRunning() const { return m_running; }
    int rate() const { return m_rate; }

    // Folds what has run on the old clock, then runs on clock (null: the steady one).
    void setClock(const Clock *clock);
    // Sets the base and restarts the elapsed time.
    void setBase(qlonglong ms);
    // Folds the elapsed time into the base, then starts or stops; nothing when unchanged.
    void setRunning(bool running);
    // Folds the elapsed time into the base, then takes the new rate; nothing when unchanged.
    void setRate(int rate);

private:
    // Nanoseconds advanced since the base was last set or folded.
    qlonglong advancedNs() const;
    // Moves what has been advanced into the base and restarts the elapsed time.
    void fold();

    const Clock *m_clock;
    qint64 m_startNs = 0;
    qlonglong m_base = 0;
    qlonglong m_restNs = 0;
    bool m_running = false;
    int m_rate = 1;
};

} // namespace nivra
