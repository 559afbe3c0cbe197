// CardSession::exportPlan: what a selected range would export. The run,
// keyframe, estimate and naming rules are the export writer's own, so the
// names shown here are the names the export writes.
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

} // namespace nivra
