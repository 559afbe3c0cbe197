#include "app/startup.h"

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
