// A surface for tests: keeps every primitive, in order, with its coordinates in the surface's
// own units, so a test can check "116.8 at (1080, 860)" without looking at pixels.
#pragma once

#include <QImage>

#include <optional>
#include <vector>

#include "surface.h"

namespace ordevo::ui {

struct DrawOp {
    enum class Type { Clear, Text, Line, Box, FilledBox };
    Type type = Type::Text;
    QString text;           // Text: one line of the printed text
    double x1 = 0, y1 = 0;  // Text: top-left corner; Line: start; boxes: first corner
    double x2 = 0, y2 = 0;  // Line: end; boxes: second corner
    QColor colour;          // text colour, line or box colour (never invalid)
    QString fontName;       // state when the primitive was drawn
    double fontSizePt = 0;
    int lineWidth = 1;
    LineStyle lineStyle = LineStyle::Solid;
};

class RecordingSurface : public Surface {
public:
    // The units the surface stands for, which size the texts it measures (TextWidth,
    // TextHeight and the line advance of Print): twips by default; 13.155 × 7.65 for Picture2;
    // kTwipsPerMillimetre for paper.
    explicit RecordingSurface(double twipsPerUnitX = 1, double twipsPerUnitY = 1);
    static RecordingSurface Millimetres();

    const std::vector<DrawOp>& Ops() const { return ops_; }  // everything, Clear included
    std::vector<DrawOp> SinceLastClear() const;              // what a picture would show now
    std::vector<DrawOp> Texts() const;                       // texts since the last Clear
    std::vector<DrawOp> Lines() const;                       // lines since the last Clear
    // The last text since the last Clear that equals `text`.
    std::optional<DrawOp> FindText(const QString& text) const;
    // Whether `text` was printed (since the last Clear) with its top-left corner at (x, y).
    bool HasTextAt(const QString& text, double x, double y, double tolerance = 1e-9) const;
    // The texts (since the last Clear) printed at (x, y).
    std::vector<QString> TextsAt(double x, double y, double tolerance = 1e-9) const;
    int ClearCount() const;
    void Forget() { ops_.clear(); }  // drops the record; the drawing state is kept

protected:
    void DoClear() override;
    void DoText(QPointF topLeft, const QString& line, const SurfaceState& state) override;
    void DoLine(QPointF from, QPointF to, const QColor& colour, const SurfaceState& state) override;
    void DoBox(QRectF corners, const QColor& colour, bool filled,
               const SurfaceState& state) override;
    QSizeF MeasureLine(const QString& line, const SurfaceState& state) const override;

private:
    DrawOp Op(DrawOp::Type type, const SurfaceState& state) const;

    double pixelsPerUnitX_;
    double pixelsPerUnitY_;
    QImage metricsDevice_;  // a 96-dpi device for font metrics
    std::vector<DrawOp> ops_;
};

}  // namespace ordevo::ui
