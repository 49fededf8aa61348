// The drawing surface that picture boxes, the printer and the tests share.
//
// A draw function takes a Surface& and works in the surface's own units (twips, the picture's
// user units, millimetres on paper), so the screen, the printer and the tests run the same code:
//
//   void DrawTotal(Surface& s, const QString& total) {
//       s.FilledBox(1045, 860, 1150, 900, Qt::white);
//       s.SetCurrentPosition(1080, 860);
//       s.Print(total);
//   }
#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include "fonts.h"

namespace ordevo::ui {

enum class LineStyle { Solid, Dash, Dot, DashDot, DashDotDot };

// The state every drawing call uses, in the surface's own units.
struct SurfaceState {
    QColor foreColor = Qt::black;
    QString fontName = FontFamilyName(Font::Meiryo);
    double fontSizePt = 9;
    int lineWidth = 1;  // pixels on screen, device dots on paper
    LineStyle lineStyle = LineStyle::Solid;
    double currentX = 0;
    double currentY = 0;
};

class Surface {
public:
    virtual ~Surface() = default;
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // Erases everything drawn (to the background colour) and moves the current position to
    // (0, 0). Colour, font and line settings are kept. On paper there is nothing to erase.
    void Clear();

    void SetForeColor(const QColor& colour);  // colour of texts and of lines drawn without one
    QColor ForeColor() const { return state_.foreColor; }

    // Font by family name as the program names it ("メイリオ", "ＭＳ 明朝", …; see fonts.h).
    void SetFont(const QString& familyName, double sizePt);
    void SetFont(Font font, double sizePt);
    void SetFontName(const QString& familyName);  // size unchanged
    void SetFontSize(double sizePt);              // name unchanged
    QString FontName() const { return state_.fontName; }
    double FontSize() const { return state_.fontSizePt; }

    // Line width in whole pixels (screen) or device dots (paper), at least 1, and line style;
    // both apply to the lines and box outlines drawn afterwards.
    void SetLineWidth(int widthDots);
    int LineWidth() const { return state_.lineWidth; }
    void SetLineStyle(LineStyle style);

    void SetCurrentPosition(double x, double y);
    double CurrentX() const { return state_.currentX; }
    double CurrentY() const { return state_.currentY; }

    // Prints the text with its top-left corner at the current position, in the current font
    // and fore colour. A text with line breaks prints one line under the other. Afterwards the
    // current position is at x = 0 and one line below the printed text (its top plus
    // TextHeight), where an unpositioned next Print would go. Callers that place every text
    // set the position before each Print.
    void Print(const QString& text);

    // A straight line; an invalid colour (the default) means the fore colour. The current
    // position moves to the end point (x2, y2).
    void Line(double x1, double y1, double x2, double y2, const QColor& colour = QColor());
    // A line from the current position to (x, y), which becomes the current position.
    void LineTo(double x, double y, const QColor& colour = QColor());
    // The outline of the rectangle with corners (x1, y1) and (x2, y2), both included.
    // The current position moves to (x2, y2).
    void Box(double x1, double y1, double x2, double y2, const QColor& colour = QColor());
    // The same rectangle filled with the colour (no outline of another colour).
    void FilledBox(double x1, double y1, double x2, double y2, const QColor& colour = QColor());

    // Size of a text in the current font, in the surface's units (height of one line per line).
    double TextWidth(const QString& text) const;
    double TextHeight(const QString& text) const;

    const SurfaceState& State() const { return state_; }

protected:
    Surface();

    // Implementations draw in their own units; every call comes with the state to use.
    virtual void DoClear() = 0;
    virtual void DoText(QPointF topLeft, const QString& line, const SurfaceState& state) = 0;
    virtual void DoLine(QPointF from, QPointF to, const QColor& colour,
                        const SurfaceState& state) = 0;
    virtual void DoBox(QRectF corners, const QColor& colour, bool filled,
                       const SurfaceState& state) = 0;
    // Width of one line of text and the height of a line, in the surface's units.
    virtual QSizeF MeasureLine(const QString& line, const SurfaceState& state) const = 0;

private:
    QColor Resolve(const QColor& colour) const;

    SurfaceState state_;
};

// Maps the surface's user units onto device pixels: device = (user − origin) × pixelsPerUnit.
struct UnitScale {
    double originX = 0;
    double originY = 0;
    double pixelsPerUnitX = 1;
    double pixelsPerUnitY = 1;

    QPointF ToDevice(QPointF user) const {
        return {(user.x() - originX) * pixelsPerUnitX, (user.y() - originY) * pixelsPerUnitY};
    }
    QPointF ToUser(QPointF device) const {
        return {originX + device.x() / pixelsPerUnitX, originY + device.y() / pixelsPerUnitY};
    }
    // Units of the given size in twips, origin at the top-left corner (96 dpi screen).
    static UnitScale FromTwipsPerUnit(double twipsPerUnitX, double twipsPerUnitY);
};

// Prints `text` at (x, y) so that it is no wider than `maxWidth` (surface units): in the
// current font when it fits, otherwise at the largest size down to `minSizePt` (steps of
// 0.5 pt) that fits, and if even that is too wide, cut with "…" at its end. The font size is
// back as it was afterwards. Returns whether the whole text was printed.
bool PrintFitted(Surface& surface, double x, double y, const QString& text, double maxWidth,
                 double minSizePt);

}  // namespace ordevo::ui
