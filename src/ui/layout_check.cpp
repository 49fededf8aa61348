// Finds overlapping and out-of-area controls among the widgets made from layout tables.
#include "layout_check.h"

#include "twips.h"

namespace ordevo::ui {
namespace {

std::vector<QWidget*> TableChildren(const QWidget& parent) {
    std::vector<QWidget*> children;
    for (QObject* object : parent.children()) {
        auto* widget = qobject_cast<QWidget*>(object);
        if (widget != nullptr && !widget->isWindow() && WasCreatedFromTable(*widget)) {
            children.push_back(widget);
        }
    }
    return children;
}

bool ExemptFromOverlap(const QWidget& widget) {
    return ControlKind(widget) == Kind::Shape || ControlOverlap(widget) == Overlap::Allowed;
}

void CheckLevel(const QWidget& parent, const QRect& area, const QString& areaName,
                std::vector<LayoutProblem>& problems) {
    const std::vector<QWidget*> children = TableChildren(parent);
    for (std::size_t i = 0; i < children.size(); ++i) {
        const QWidget& child = *children[i];
        const QRect rect = child.geometry();
        if (!area.contains(rect)) {
            problems.push_back(
                {LayoutProblem::Type::OutsideParent, child.objectName(), areaName, rect, area});
        }
        for (std::size_t j = i + 1; j < children.size(); ++j) {
            const QWidget& sibling = *children[j];
            if (ExemptFromOverlap(child) || ExemptFromOverlap(sibling)) continue;
            if (rect.intersects(sibling.geometry())) {
                problems.push_back({LayoutProblem::Type::Overlap, child.objectName(),
                                    sibling.objectName(), rect, sibling.geometry()});
            }
        }
        const Kind kind = ControlKind(child);
        if (kind == Kind::Frame || kind == Kind::PictureBox) {
            CheckLevel(child, child.rect(), child.objectName(), problems);
        }
    }
}

}  // namespace

QString LayoutProblem::ToString() const {
    if (type == Type::Overlap) {
        return QStringLiteral("%1 overlaps %2").arg(control, other);
    }
    return QStringLiteral("%1 leaves %2").arg(control, other);
}

std::vector<LayoutProblem> FindLayoutProblems(const QWidget& window, QSize clientSizePx) {
    std::vector<LayoutProblem> problems;
    CheckLevel(window, QRect(QPoint(0, 0), clientSizePx), QStringLiteral("the client area"),
               problems);
    return problems;
}

std::vector<LayoutProblem> FindLayoutProblems(std::span<const ControlSpec> table,
                                              QSize clientSizeTwips) {
    QWidget scratch;
    const QSize clientSizePx = TwipsToPixels(clientSizeTwips);
    scratch.resize(clientSizePx);
    CreateControls(scratch, table);
    return FindLayoutProblems(scratch, clientSizePx);
}

std::vector<LayoutProblem> FindLayoutProblems(const WindowLayout& layout) {
    QWidget scratch;
    if (layout.windowFont != Font::Inherit)
        scratch.setFont(MakeFont(layout.windowFont, layout.windowFontSizePt));
    const QSize clientSizePx =
        TwipsToPixels(QSize(layout.clientWidthTwips, layout.clientHeightTwips));
    scratch.resize(clientSizePx);
    CreateControls(scratch, layout.controls);
    return FindLayoutProblems(scratch, clientSizePx);
}

}  // namespace ordevo::ui
