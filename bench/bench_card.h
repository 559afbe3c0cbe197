// Simulator cards written at run time by the benchmarks that need one of a
// size the built-in presets do not have.
#pragma once

#include <QFile>
#include <QProcess>
#include <QString>

// Writes the scenario JSON to dir/scenario.json and the card it describes
// to dir/card; returns whether nivra-cardgen succeeded.
inline bool writeScenarioCard(const QString &dir, const QString &scenario)
{
    const QString file = dir + QStringLiteral("/scenario.json");
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(scenario.toUtf8()) < 0)
        return false;
    out.close();
    QProcess cardgen;
    cardgen.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    cardgen.start(QStringLiteral(NIVRA_CARDGEN_PATH),
                  {QStringLiteral("--scenario"), file, dir + QStringLiteral("/card")});
    if (!cardgen.waitForFinished(-1))
        return false;
    return cardgen.exitStatus() == QProcess::NormalExit && cardgen.exitCode() == 0;
}
