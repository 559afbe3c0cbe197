// A clock moved on only by the test, in milliseconds.
#pragma once

#include "base/clock.h"

class ManualClock : public nivra::Clock
{
public:
    qint64 nowNs() const override { return ms * 1000000; }

    qint64 ms = 0;
};
