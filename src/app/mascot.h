// The small mascot dog of the main window's corner and of the exit window.
#pragma once

#include "surface.h"

namespace ordevo {

// Draws the dog's face into a square of `sizeTwips` twips from the surface's origin
// (a surface in twips, as the picture boxes are by default).
void DrawMascot(ui::Surface& surface, double sizeTwips);

}  // namespace ordevo
