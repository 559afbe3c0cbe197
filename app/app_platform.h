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

// Picks Qt Quick's graphics back end and render loop where the system's
// defaults fail (Windows under Wine: Direct3D 11 leaves a blank window, and
// the threaded render loop keeps the process from ending), unless the user
// chose them (QSG_RHI_BACKEND, QSG_RENDER_LOOP). Called once, before the
// window.
void chooseGraphicsBackEnd();

} // namespace nivra
