#pragma once

#include <QString>
#include <QStringList>

namespace nivra {

// What the command line asks for: a recording path to open and an
// automation script. Both are empty when not given.
struct CommandLine
{
    enum Action
    {
        Run,
        Help,    // print usageText() and exit 0
        Version, // print the version and exit 0
        Error,   // print error and the usage to standard error, exit 2
    };
    QString initialPath;
    QString autotestScript;
    Action action = Run;
    QString error;
};

// Reads the application's arguments from the second one on. "--autotest"
// consumes the next argument as the script; every other argument (a trailing
// "--autotest" included) is the initial path. Later values replace earlier.
// "--help" (or "-h") and "--version" (or "-v") ask for their texts; any other
// argument that begins with "-" is an unknown option, unless it follows "--".
CommandLine parseCommandLine(const QStringList &arguments);

// What --help prints.
QString usageText();

// Registers CardSession, PlaybackEngine and ExportJob as creatable types of
// the QML module Nivra.Media 1.0.
void registerMediaTypes();

// The platform's Qt Multimedia back end that start-up forces, overwriting
// any value the user set.
const char *mediaBackendName();

} // namespace nivra
