#pragma once

#include <QFont>

namespace tallivo {

// Returns the family that stands in for the 8-point user-interface font the layout was drawn
// for: Liberation Sans where installed (its metrics match), the platform's sans-serif otherwise.
QString UiFontFamily();

// Returns a font of the user-interface family at pointSize.
QFont UiFont(double pointSize);

// Makes the 8-point user-interface font the application's default font.
void InstallUiFont();

} // namespace tallivo
