#include "decode/decoder_chain.h"

#include <QCoreApplication>
#include <QtDebug>

#include <deque>
#include <limits>

namespace nivra {

namespace {

// Packets sent to a decoder without any picture before the chain gives up on
// it; the count is over remembered packets, so a flush restarts it.
constexpr int kMaxPacketsWithoutPicture = 32;

// receiveFrom's time that lets every picture out.
constexpr qlonglong kAllPictures = std::numeric_limits<qlonglong>::min();

struct RememberedPacket
{
    QByteArray data;
    qlonglong timeMs = 0;
};

class ChainDecoder final : public VideoDecoder
{
public:
    explicit ChainDecoder(std::vector<ChainEntry> entries) : m_entries(std::move(entries)) {}

    // Makes the first available decoder; false when the entries run out.
    bool start() { return makeNext(); }

    QString lastReason() const { return m_lastReason; }

    bool send(const uint8_t *data, uint64_t size, qlonglong timeMs) override
    {
        if (!m_current)
            return false;
        if (!m_committed) {
            m_remembered.push_back(
                {QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), timeMs});
            if (int(m_remembered.size()) > kMaxPacketsWithoutPicture)
                return giveUp(QCoreApplication::translate("Decoder", "This video could not be decoded."));
        }
        if (m_current->send(data, size, timeMs))
            return true;
        const QString error = m_current->error();
        if (error.isEmpty())
            return false;
        if (!m_committed)
            return giveUp(error);
        m_finalError = error;
        return false;
    }

    bool receive(DecodedFrame *frame) override { return receiveFrom(frame, kAllPictures); }

    bool receiveFrom(DecodedFrame *frame, qlonglong fromMs) override
    {
        for (;;) {
            if (!m_pending.empty()) {
                *frame = std::move(m_pending.front());
                m_pending.pop_front();
                commit();
                return true;
            }
            if (!m_current)
                return false;
            if (m_current->receiveFrom(frame, fromMs)) {
                commit();
                return true;
            }
            const QString error = m_current->error();
            if (error.isEmpty())
                return false;
            if (m_committed) {
                m_finalError = error;
                return false;
            }
            if (!giveUp(error))
                return false;
        }
    }

    void flush() override
    {
        if (m_current)
            m_current->flush();
        m_pending.clear();
        m_drained = false;
        if (!m_committed)
            m_remembered.clear();
    }

    void drain() override
    {
        m_drained = true;
        if (m_current)
            m_current->drain();
    }

    QString info() const override { return m_current ? m_current->info() : QString(); }
    QString error() const override { return m_finalError; }

private:
    // Takes entries from the index onward until one makes a decoder; that
    // one becomes current. False when the entries run out.
    bool makeNext()
    {
        while (m_next < m_entries.size()) {
            const ChainEntry &entry = m_entries[m_next++];
            QString reason;
            std::unique_ptr<VideoDecoder> decoder = entry.make ? entry.make(&reason) : nullptr;
            if (!decoder) {
                qInfo("video: %s not available: %s", qUtf8Printable(entry.label), qUtf8Printable(reason));
                if (!reason.isEmpty())
                    m_lastReason = reason;
                continue;
            }
            qInfo("video: trying %s", qUtf8Printable(entry.label));
            m_current = std::move(decoder);
            return true;
        }
        return false;
    }

    // Replaces the current decoder by the next entry and replays the
    // remembered packets into it. False when no entry is left.
    bool giveUp(QString reason)
    {
        for (;;) {
            qInfo("video: %s gave up: %s", qUtf8Printable(m_current->info()), qUtf8Printable(reason));
            m_lastReason = reason;
            m_current.reset();
            if (!makeNext()) {
                m_finalError = m_lastReason;
                return false;
            }
            m_pending.clear();
            for (const RememberedPacket &packet : m_remembered) {
                if (!m_current->send(reinterpret_cast<const uint8_t *>(packet.data.constData()),
                                     uint64_t(packet.data.size()), packet.timeMs) &&
                    !m_current->error().isEmpty())
                    break;
                DecodedFrame frame;
                while (m_current->receive(&frame))
                    m_pending.push_back(std::move(frame));
                if (!m_current->error().isEmpty())
                    break;
            }
            // A replacement after the end of the stream gets the end too.
            if (m_drained && m_current->error().isEmpty()) {
                m_current->drain();
                DecodedFrame frame;
                while (m_current->receive(&frame))
                    m_pending.push_back(std::move(frame));
            }
            const QString error = m_current->error();
            if (!error.isEmpty()) {
                reason = error;
                continue;
            }
            if (!m_pending.empty())
                commit();
            return true;
        }
    }

    void commit()
    {
        if (m_committed)
            return;
        m_committed = true;
        m_remembered.clear();
        m_remembered.shrink_to_fit();
        qInfo("video decoder: %s", qUtf8Printable(info()));
    }

    std::vector<ChainEntry> m_entries;
    size_t m_next = 0;
    std::unique_ptr<VideoDecoder> m_current;
    std::vector<RememberedPacket> m_remembered;
    std::deque<DecodedFrame> m_pending;
    bool m_committed = false;
    bool m_drained = false;
    QString m_lastReason;
    QString m_finalError;
};

} // namespace

std::unique_ptr<VideoDecoder> startChainDecoder(std::vector<ChainEntry> entries, QString *reason)
{
    auto chain = std::make_unique<ChainDecoder>(std::move(entries));
    if (chain->start())
        return chain;
    if (reason) {
        *reason = chain->lastReason();
        if (reason->isEmpty())
            *reason = QCoreApplication::translate("Decoder", "Your graphics card cannot decode this video.");
    }
    return nullptr;
}

} // namespace nivra
