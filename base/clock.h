// Clock: the one time source the Qt layers read, in monotonic nanoseconds.
// The program reads the steady clock; a test hands its own, moved on by hand,
// so that nothing it measures depends on how busy the machine is.
#pragma once

#include <QtGlobal>

namespace nivra {

class Clock
{
public:
    virtual ~Clock() = default;

    // Monotonic nanoseconds; the steady clock unless overridden.
    virtual qint64 nowNs() const;
    qint64 nowMs() const { return nowNs() / 1000000; }

    // The steady clock, shared by everything that is not given one.
    static const Clock &steady();
};

} // namespace nivra
