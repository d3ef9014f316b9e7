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

// Centres window now, by the size it knows, and once more as soon as a window manager has
// framed it, when the size of its outer frame becomes known. Where nothing frames the window
// the first placing stands; on Wayland the compositor places windows and nothing is moved.
// Called from the window's show event, at every showing.
void CentreNowAndWhenFramed(QWidget* window);

} // namespace tallivo
