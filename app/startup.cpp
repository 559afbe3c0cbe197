#include "app/startup.h"

#include "playback/events_only.h"
#include "playback/playback_engine.h"
#include "playback/skip_still.h"
#include "session/activity_model.h"
#include "session/bookmarks.h"
#include "session/card_session.h"
#include "session/day_model.h"
#include "session/export_job.h"
#include "session/folder_space.h"

#include <QtQml>

namespace nivra {

CommandLine parseCommandLine(const QStringList &arguments)
{
    CommandLine result;
    bool onlyPaths = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (!onlyPaths) {
            if (argument == QLatin1String("--")) {
                onlyPaths = true;
                continue;
            }
            if (argument == QLatin1String("--autotest") && i + 1 < arguments.size()) {
                result.autotestScript = arguments.at(++i);
                continue;
            }
            if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
                result.action = CommandLine::Help;
                return result;
            }
            if (argument == QLatin1String("--version") || argument == QLatin1String("-v")) {
                result.action = CommandLine::Version;
                return result;
            }
            if (argument.startsWith(QLatin1Char('-')) && argument.size() > 1 &&
                argument != QLatin1String("--autotest")) {
                result.action = CommandLine::Error;
                result.error = QStringLiteral("unknown option %1").arg(argument);
                return result;
            }
        }
        result.initialPath = argument;
    }
    return result;
}

QString usageText()
{
    return QStringLiteral(
        "Usage: nivra-player [options] [FOLDER]\n"
        "Watch and export the recordings of a camera's SD card.\n"
        "FOLDER is the card, or any folder up to two levels above its recording folder.\n"
        "\n"
        "Options:\n"
        "  -h, --help          Show this help and exit.\n"
        "  -v, --version       Show the version and exit.\n"
        "  --autotest SCRIPT   Run a script of window commands (\"wait 2; shot a.png; quit\").\n"
        "  --                  Every argument after it is a folder.\n");
}

void registerMediaTypes()
{
    qmlRegisterType<CardSession>("Nivra.Media", 1, 0, "CardSession");
    qmlRegisterType<DayModel>("Nivra.Media", 1, 0, "DayModel");
    qmlRegisterType<Bookmarks>("Nivra.Media", 1, 0, "Bookmarks");
    qmlRegisterType<PlaybackEngine>("Nivra.Media", 1, 0, "PlaybackEngine");
    qmlRegisterType<ExportJob>("Nivra.Media", 1, 0, "ExportJob");
    qmlRegisterType<EventsOnly>("Nivra.Media", 1, 0, "EventsOnly");
    qmlRegisterType<ActivityModel>("Nivra.Media", 1, 0, "ActivityModel");
    qmlRegisterType<SkipStill>("Nivra.Media", 1, 0, "SkipStill");
    qmlRegisterType<FolderSpace>("Nivra.Media", 1, 0, "FolderSpace");
}

const char *mediaBackendName()
{
#ifdef _WIN32
    return "windows";
#else
    // We take only the sound output (the same PulseAudio code in either
    // back end) and the video sink from it. FFmpeg's sink is a plain frame
    // carrier; GStreamer's makes a GL context of its own and loads its
    // device plugins, which cost a tenth of a second at every start.
    return "ffmpeg";
#endif
}

} // namespace nivra
