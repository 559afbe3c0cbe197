// CardSession::exportPlan and eventExportPlan: what a selected range, or the
// events of a day, would export. The run, keyframe, estimate and naming
// rules are the export writer's own, so the names shown here are the names
// the export writes.
#include "export/export_writer.h"
#include "session/card_session.h"

#include <QVariantList>

namespace nivra {

namespace {

// Returns the final file name of a piece from startMs to endMs.
QString pieceName(const CardSession &session, int container, qint64 startMs, qint64 endMs)
{
    char name[EXPORT_PATH_MAX];
    if (formatExportName("NIVRA", container, startMs, endMs, session.offsetSecondsAt(startMs),
                         session.offsetSecondsAt(endMs), name, sizeof name) != 0)
        return {};
    return QString::fromUtf8(name);
}

} // namespace

QVariantMap CardSession::exportPlan(qlonglong fromMs, qlonglong toMs, int format)
{
    if (!m_card || fromMs < 0 || toMs < fromMs)
        return {};
    ExportEstimate estimate{};
    const int rc = estimateExport(m_card, fromMs, toMs, &estimate);
    if (rc != 0 || estimate.runs.count <= 0) {
        exportRunsFree(&estimate.runs);
        return {};
    }
    const int container = format == 1 ? 1 : 0;

    QVariantList runs;
    QVariantList gaps;
    QVariantList names;
    const ExportRun *items = estimate.runs.items;
    const int count = estimate.runs.count;
    for (int i = 0; i < count; ++i) {
        const ExportRun &run = items[i];
        QVariantMap r;
        r.insert(QStringLiteral("startMs"), qlonglong(run.startMs));
        r.insert(QStringLiteral("endMs"), qlonglong(run.endMs));
        runs.append(r);
        if (i > 0) {
            QVariantMap gap;
            gap.insert(QStringLiteral("fromMs"), qlonglong(items[i - 1].endMs));
            gap.insert(QStringLiteral("toMs"), qlonglong(run.startMs));
            gaps.append(gap);
        }
        // A file is named after its last picture, which the estimate found.
        names.append(pieceName(*this, container, run.startMs, run.lastMs));
    }

    QVariantMap plan;
    plan.insert(QStringLiteral("ok"), true);
    plan.insert(QStringLiteral("startMs"), qlonglong(items[0].startMs));
    plan.insert(QStringLiteral("endMs"), qlonglong(items[count - 1].endMs));
    plan.insert(QStringLiteral("runs"), runs);
    plan.insert(QStringLiteral("gaps"), gaps);
    plan.insert(QStringLiteral("names"), names);
    plan.insert(QStringLiteral("mergedName"),
                pieceName(*this, container, items[0].startMs, items[count - 1].lastMs));
    plan.insert(QStringLiteral("missing"), estimate.missing != 0);
    plan.insert(QStringLiteral("durationMs"), qlonglong(estimate.durationMs));
    plan.insert(QStringLiteral("bytes"), qlonglong(estimate.bytes));
    exportRunsFree(&estimate.runs);
    return plan;
}

std::vector<ExportEventPiece> CardSession::eventPieces(qlonglong fromMs, qlonglong toMs, int kinds,
                                                       int padSeconds, int *skipped)
{
    if (skipped)
        *skipped = 0;
    if (!m_card || fromMs < 0 || toMs < fromMs || padSeconds < 0)
        return {};
    const std::vector<card_event> events = eventRecords(fromMs, toMs);
    std::vector<ExportEventPiece> pieces(events.size());
    std::vector<ExportSkippedEvent> left(events.size());
    int made = 0;
    int leftCount = 0;
    const uint32_t pad = uint32_t(padSeconds);
    if (exportEventPieces(m_card, events.data(), int(events.size()), uint16_t(kinds), pad, pad, fromMs, toMs,
                          pieces.data(), &made, left.data(), &leftCount) < 0)
        return {};
    pieces.resize(size_t(made));
    if (skipped)
        *skipped = leftCount;
    return pieces;
}

QVariantMap CardSession::eventExportPlan(qlonglong fromMs, qlonglong toMs, int kinds, int padSeconds,
                                         int format)
{
    int skipped = 0;
    const std::vector<ExportEventPiece> pieces = eventPieces(fromMs, toMs, kinds, padSeconds, &skipped);
    QVariantMap plan;
    plan.insert(QStringLiteral("skipped"), skipped);
    if (pieces.empty())
        return plan;
    const int container = format == 1 ? 1 : 0;
    QVariantList list;
    QVariantList names;
    int events = 0;
    qlonglong bytes = 0;
    qlonglong durationMs = 0;
    for (const ExportEventPiece &piece : pieces) {
        QVariantMap p;
        p.insert(QStringLiteral("startMs"), qlonglong(piece.fromMs));
        p.insert(QStringLiteral("endMs"), qlonglong(piece.toMs));
        p.insert(QStringLiteral("events"), piece.events);
        p.insert(QStringLiteral("missing"), piece.missing != 0);
        list.append(p);
        events += piece.events;
        bytes += qlonglong(piece.bytes);
        // One file each, across any gap inside: named after its last picture.
        ExportEstimate estimate{};
        if (estimateExport(m_card, piece.fromMs, piece.toMs, &estimate) == 0 && estimate.runs.count > 0) {
            durationMs += estimate.durationMs;
            names.append(pieceName(*this, container, piece.fromMs,
                                   estimate.runs.items[estimate.runs.count - 1].lastMs));
        }
        exportRunsFree(&estimate.runs);
    }
    plan.insert(QStringLiteral("ok"), true);
    plan.insert(QStringLiteral("pieces"), list);
    plan.insert(QStringLiteral("events"), events);
    plan.insert(QStringLiteral("bytes"), bytes);
    plan.insert(QStringLiteral("durationMs"), durationMs);
    plan.insert(QStringLiteral("names"), names);
    return plan;
}

} // namespace nivra
