#pragma once

#include <QColor>
#include <QFont>

class QWidget;

namespace tallivo {

// The look a window drawn to fixed positions keeps whatever the desktop's settings: the sizes
// its fonts had where it was designed, at 96 dots per inch, and dark text on the backgrounds
// it fixes, so that a larger desktop font never cuts a caption and a dark theme never puts
// light text on a light background. Windows that lay themselves out follow the desktop.

// Returns the user-interface family at the pixel size pointSize has at 96 dots per inch.
QFont FixedFont(double pointSize);

// Returns family (or the user-interface family where it is missing) at that pixel size.
QFont FixedFont(const QString& family, double pointSize);

// Gives widget, and the children that do not set their own, the fixed font of pointSize.
void FixFont(QWidget* widget, double pointSize);

// Paints widget's background in background and its text, and its children's, in ink.
void FixColours(QWidget* widget, const QColor& background, const QColor& ink = QColor(0, 0, 0));

} // namespace tallivo
