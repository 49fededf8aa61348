// A picture box: a widget whose drawing is kept in an image, so it persists while the window is
// hidden or covered and is erased only by Clear().
#pragma once

#include <QFrame>
#include <QImage>

#include <vector>

#include "painter_surface.h"

namespace ordevo::ui {

// A line laid on the picture at design time, in twips from the top-left corner of the picture's
// inside. It is drawn over the picture's image, never into it, and is shown or hidden as a whole.
struct LineElement {
    QString name;
    QPointF fromTwips;
    QPointF toTwips;
    QColor colour = Qt::black;
    int widthPx = 1;
    bool visible = true;
};

class PictureBox : public QFrame, public PainterSurface {
    Q_OBJECT

public:
    enum class Border { None, Sunken };  // Sunken: 2-pixel border outside the drawing area

    explicit PictureBox(QWidget* parent = nullptr, Border border = Border::Sunken);

    // User units. By default one unit is one twip with the origin at the inside's top-left
    // corner. SetUnitTwips makes a unit that many twips across and down (Picture2: 13.155 and
    // 7.65); SetScale maps the inside onto a rectangle of user units (left, top, width, height),
    // and is applied again when the picture changes size.
    void SetUnitTwips(double twipsPerUnitX, double twipsPerUnitY);
    void SetScale(double left, double top, double width, double height);

    void SetBackColor(const QColor& colour);  // takes effect at the next Clear(); white by default
    QColor BackColor() const { return backColor_; }

    // The kept drawing, one image pixel per screen pixel of the inside.
    const QImage& Image() const;
    // Where user point (x, y) lands in the image (and, offset by the border, in the widget).
    QPointF ToImagePixels(double x, double y) const { return Scale().ToDevice({x, y}); }
    QPoint InsideOrigin() const { return contentsRect().topLeft(); }

    void AddLineElement(const LineElement& element);
    void SetLineElementVisible(const QString& name, bool visible);  // unknown names are ignored
    void SetAllLineElementsVisible(bool visible);
    const std::vector<LineElement>& LineElements() const { return lines_; }

signals:
    // A left click inside the picture, at that point in user units.
    void clicked(QPointF userPoint);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    void DoClear() override;
    const QPaintDevice& Device() const override;
    void Paint(const std::function<void(QPainter&)>& paint) override;
    void BeforeDrawing() override;

private:
    // The image follows the inside's size (also when resized while hidden, which sends no
    // resize event until shown); what was drawn stays at its place, new area is background.
    void FitImageToInside() const;
    void ApplyScale();

    mutable QImage image_;
    QColor backColor_ = Qt::white;
    std::vector<LineElement> lines_;
    // The scale as asked for, reapplied when the inside changes size.
    enum class ScaleMode { UnitTwips, Rectangle } scaleMode_ = ScaleMode::UnitTwips;
    double scaleArgs_[4] = {1, 1, 0, 0};
};

}  // namespace ordevo::ui
