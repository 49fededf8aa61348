// Geometry check of a window's controls: siblings that overlap, controls that leave their parent.
#pragma once

#include <QSize>
#include <QString>
#include <QWidget>

#include <span>
#include <vector>

#include "control_table.h"

namespace ordevo::ui {

struct LayoutProblem {
    enum class Type { Overlap, OutsideParent };
    Type type;
    QString control;
    QString other;  // the overlapped sibling (Overlap) or the parent, "client area" for the window
    QRect controlRect;  // pixels, in the parent's coordinates
    QRect otherRect;

    QString ToString() const;  // e.g. "Command8 overlaps Label30", "Text9 leaves the client area"
};

// Checks the controls that CreateControls made on `window`, at any depth, whether shown or not:
//  - two siblings whose rectangles share at least one pixel, unless either is a Shape or was
//    declared Overlap::Allowed;
//  - a control that is not wholly inside its parent: the window's client area (clientSizePx,
//    from the top-left corner) for the window's own controls, the parent's rectangle for the
//    controls of a frame or picture box.
std::vector<LayoutProblem> FindLayoutProblems(const QWidget& window, QSize clientSizePx);

// The same check for a table alone: creates its controls on a scratch widget (fitting captions
// in the real fonts) and checks them against a client area given in twips.
std::vector<LayoutProblem> FindLayoutProblems(std::span<const ControlSpec> table,
                                              QSize clientSizeTwips);

// The same check for a window's layout, its controls made in the window's own font.
std::vector<LayoutProblem> FindLayoutProblems(const WindowLayout& layout);

}  // namespace ordevo::ui
