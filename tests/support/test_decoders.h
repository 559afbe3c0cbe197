// Small video decoders with scripted behaviour for the chain and worker tests.
// Each picture carries the time of the packet it came from; the decoders
// record what they were sent so a test can check replays.
#pragma once

#include "decode/decoder.h"

#include <QByteArray>
#include <QList>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace nivra::test {

struct ScriptLog
{
    QList<QByteArray> packets; // payloads in the order received
    int flushes = 0;
    int made = 0;
};

enum class Script
{
    Normal,          // one picture per packet
    NeverPicture,    // takes every packet, never delivers
    GiveUpAfter,     // gives up (send fails with an error) at packet n + 1
    FailAfterCommit, // normal for n packets, then every send fails with an error
    GiveUpInReceive, // takes packets; receive fails with an error after n packets
    RefuseFirst,     // refuses (no error) the first n packets, then normal
    HoldBack,        // one picture per packet, n packets late; drain releases the rest
};

class ScriptedDecoder final : public VideoDecoder
{
public:
    ScriptedDecoder(QString name, Script script, int n, ScriptLog *log, int delayMs = 0)
        : m_name(std::move(name)), m_script(script), m_n(n), m_log(log), m_delayMs(delayMs)
    {}

    bool send(const uint8_t *data, uint64_t size, qlonglong timeMs) override
    {
        if (!m_error.isEmpty())
            return false;
        if (m_delayMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(m_delayMs));
        const int index = m_count++;
        switch (m_script) {
        case Script::GiveUpAfter:
            if (index >= m_n) {
                m_error = m_name + QStringLiteral(" broke");
                return false;
            }
            break;
        case Script::FailAfterCommit:
            if (index >= m_n) {
                m_error = m_name + QStringLiteral(" failed");
                return false;
            }
            break;
        case Script::RefuseFirst:
            if (index < m_n)
                return false;
            break;
        default:
            break;
        }
        if (m_log)
            m_log->packets.append(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
        if (m_script != Script::NeverPicture && m_script != Script::GiveUpInReceive)
            m_ready.append(timeMs);
        if (m_script == Script::GiveUpInReceive && m_count >= m_n)
            m_receiveFails = true;
        return true;
    }

    bool receive(DecodedFrame *frame) override
    {
        if (m_receiveFails) {
            m_error = m_name + QStringLiteral(" lost");
            return false;
        }
        if (!m_error.isEmpty() || m_ready.isEmpty())
            return false;
        if (m_script == Script::HoldBack && !m_drained && m_ready.size() <= m_n)
            return false;
        frame->timeMs = m_ready.takeFirst();
        frame->picture = QVideoFrame();
        return true;
    }

    void flush() override
    {
        m_ready.clear();
        m_drained = false;
        if (m_log)
            ++m_log->flushes;
    }

    void drain() override { m_drained = true; }

    QString info() const override { return m_name; }
    QString error() const override { return m_error; }

private:
    QString m_name;
    Script m_script;
    int m_n;
    ScriptLog *m_log;
    int m_delayMs;
    int m_count = 0;
    bool m_receiveFails = false;
    bool m_drained = false;
    QList<qlonglong> m_ready;
    QString m_error;
};

} // namespace nivra::test
