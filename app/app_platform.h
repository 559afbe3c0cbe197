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

} // namespace nivra
