#pragma once

namespace tallivo {

// Makes the accessibility bus show the program's own top-level windows that are plain widgets
// (the main window, the workbench) as windows with their titles, as it shows dialogs.
void InstallWindowAccessibility();

} // namespace tallivo
