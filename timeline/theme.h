// The window's colours in both themes: the one table. Style.qml reads its
// colour tokens from it (as the Theme singleton), the timeline paints with
// it and the settings build Qt's palette from it.
#pragma once

#include <QColor>

namespace nivra {

// Returns the colour of a Style token ("canvas", "surface", ...) in the dark
// or the light theme; an invalid colour for a token the table lacks.
QColor themeColour(const char *token, bool dark);

} // namespace nivra
