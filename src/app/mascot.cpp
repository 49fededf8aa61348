// A dog's face from boxes: ears, head, eyes, nose. Drawn once; the picture keeps it.
#include "mascot.h"

#include <QColor>

namespace ordevo {

void DrawMascot(ui::Surface& surface, double sizeTwips) {
    const double u = sizeTwips / 16.0;  // the face is drawn on a 16 × 16 grid
    const QColor fur(205, 150, 90);
    const QColor ear(120, 75, 40);
    const QColor dark(40, 30, 20);
    surface.Clear();
    surface.FilledBox(1 * u, 2 * u, 4 * u, 9 * u, ear);                       // left ear
    surface.FilledBox(12 * u, 2 * u, 15 * u, 9 * u, ear);                     // right ear
    surface.FilledBox(3 * u, 3 * u, 13 * u, 14 * u, fur);                     // head
    surface.FilledBox(5 * u, 10 * u, 11 * u, 15 * u, QColor(240, 220, 190));  // muzzle
    surface.FilledBox(5 * u, 6 * u, 6.5 * u, 7.5 * u, dark);                  // eyes
    surface.FilledBox(9.5 * u, 6 * u, 11 * u, 7.5 * u, dark);
    surface.FilledBox(7 * u, 10.5 * u, 9 * u, 12 * u, dark);  // nose
    surface.Line(8 * u, 12 * u, 8 * u, 13.5 * u, dark);       // mouth
}

}  // namespace ordevo
