#pragma once

#include <QString>
#include <QStringList>

namespace nivra {

// What the command line asks for: a recording path to open and an
// automation script. Both are empty when not given.
struct CommandLine
{
    QString initialPath;
    QString autotestScript;
};

// Reads the application's arguments from the second one on. "--autotest"
// consumes the next argument as the script; every other argument (a trailing
// "--autotest" included) is the initial path. Later values replace earlier.
CommandLine parseCommandLine(const QStringList &arguments);

// Registers CardSession, PlaybackEngine and ExportJob as creatable types of
// the QML module Nivra.Media 1.0.
void registerMediaTypes();

// The platform's Qt Multimedia back end that start-up forces, overwriting
// any value the user set.
const char *mediaBackendName();

} // namespace nivra
