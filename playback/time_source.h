// TimeSource: the clock the playback engine paces its pictures against, with
// the beat of its presentation tick. The program's reads the steady clock and
// beats every 4 ms; a test sets the time and beats by hand, so that nothing
// it measures depends on how busy the machine is.
#pragma once

#include "base/clock.h"

#include <QObject>
#include <QTimer>

namespace nivra {

class TimeSource : public QObject, public Clock
{
    Q_OBJECT
public:
    static constexpr int kBeatMs = 4;

    explicit TimeSource(QObject *parent = nullptr);

    // Starts or stops the beat; nothing when unchanged.
    virtual void setBeating(bool beating);
    virtual bool isBeating() const;

signals:
    void beat();

private:
    QTimer m_timer;
};

} // namespace nivra
