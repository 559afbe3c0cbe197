// PlaybackEngine::Step, shared by the engine's files: one entry point's
// work, whose call-outs run when the outermost step ends.
#pragma once

#include "playback/playback_engine.h"

namespace nivra {

class PlaybackEngine::Step
{
public:
    explicit Step(PlaybackEngine *engine) : m_engine(engine) { ++m_engine->m_depth; }
    ~Step()
    {
        if (--m_engine->m_depth == 0)
            m_engine->runCallOuts();
    }
    Step(const Step &) = delete;
    Step &operator=(const Step &) = delete;

private:
    PlaybackEngine *m_engine;
};

} // namespace nivra
