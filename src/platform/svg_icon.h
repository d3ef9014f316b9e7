#pragma once

#include <QIcon>
#include <QPixmap>

namespace tallivo {

// Returns the SVG image at path drawn on a transparent square pixmap of size pixels.
QPixmap PixmapFromSvg(const QString& path, int size);

// Returns an icon drawn from the SVG image at path in the sizes a window icon is shown at.
// Drawn here with the SVG renderer the program links anyway: a QIcon made from the file itself
// would load the icon engine and every image format plug-in at start-up.
QIcon IconFromSvg(const QString& path);

} // namespace tallivo
