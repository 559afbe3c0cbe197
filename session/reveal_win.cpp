// Revealing an exported file on Windows: Explorer opens its folder with the
// file selected.
#include "session/export_job.h"

#include <QProcess>
#include <QStringList>

namespace nivra {

void revealInFileManager(const QString &path)
{
#ifdef _WIN32
    QProcess::startDetached(QStringLiteral("explorer.exe"), {QStringLiteral("/select,"), path});
#else
    Q_UNUSED(path);
#endif
}

} // namespace nivra
