#include "app/startup.h"

#include "export/export_job.h"
#include "export/folder_space.h"
#include "playback/playback_engine.h"
#include "session/card_session.h"
#include "session/day_model.h"

#include <QtQml>

namespace nivra {

CommandLine parseCommandLine(const QStringList &arguments)
{
    CommandLine result;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--autotest") && i + 1 < arguments.size()) {
            result.autotestScript = arguments.at(++i);
            continue;
        }
        result.initialPath = argument;
    }
    return result;
}

void registerMediaTypes()
{
    qmlRegisterType<CardSession>("Nivra.Media", 1, 0, "CardSession");
    qmlRegisterType<DayModel>("Nivra.Media", 1, 0, "DayModel");
    qmlRegisterType<PlaybackEngine>("Nivra.Media", 1, 0, "PlaybackEngine");
    qmlRegisterType<ExportJob>("Nivra.Media", 1, 0, "ExportJob");
    qmlRegisterType<FolderSpace>("Nivra.Media", 1, 0, "FolderSpace");
}

const char *mediaBackendName()
{
#ifdef _WIN32
    return "windows";
#else
    // Qt 6.4's FFmpeg back end is a preview; GStreamer is the one Debian's
    // Qt ships as default. We only use its audio output and video sink.
    return "gstreamer";
#endif
}

} // namespace nivra
