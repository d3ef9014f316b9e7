#pragma once

class QWidget;

namespace tallivo {

// Returns where a window of windowExtent starts so that it stands in the middle of
// screenExtent: the difference, rounded to a 32-bit integer with halves to even, halved
// truncating toward zero (15 gives 7, -5 gives -2). Throws std::overflow_error past 32 bits.
int CentredOrigin(double screenExtent, double windowExtent);

// Moves window, keeping its size, to the middle of the screen it is on (of its outer frame
// where the platform knows it), offset by that screen's origin.
void CentreOnScreen(QWidget* window);

} // namespace tallivo
