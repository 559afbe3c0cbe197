// What the application shell names differently per operating system.
#pragma once

#include <QString>

namespace nivra {

// The operating system's name as the interface and the update request show
// it: "Windows" or "Linux".
QString operatingSystemName();

// The system font family that carries the Japanese ("ja") or simplified
// Chinese ("zh_Hans") interface; empty for any other language.
QString cjkFontFamily(const QString &language);

// The decode policy while the user has never chosen one: 1 (graphics card
// only) on Windows, where nearly every machine decodes on the graphics
// card; 0 (graphics card, software when it fails) on Linux, where many
// desktops and every virtual machine have no hardware decoder.
int defaultDecodePolicy();

// Keeps the media back end from waiting for the sound server on the GUI
// thread (Linux: GStreamer's device monitor, which Qt starts with the first
// video sink, would connect to it there). Called once, before the window.
void keepMediaBackendOffTheSoundServer();

} // namespace nivra
