// Drawing state and the current-position rules shared by every surface.
#include "surface.h"

#include <algorithm>

#include "twips.h"

namespace ordevo::ui {

Surface::Surface() { InstallFontSubstitutions(); }

void Surface::Clear() {
    DoClear();
    state_.currentX = 0;
    state_.currentY = 0;
}

void Surface::SetForeColor(const QColor& colour) { state_.foreColor = colour; }

void Surface::SetFont(const QString& familyName, double sizePt) {
    state_.fontName = familyName;
    state_.fontSizePt = sizePt;
}

void Surface::SetFont(Font font, double sizePt) { SetFont(FontFamilyName(font), sizePt); }

void Surface::SetFontName(const QString& familyName) { state_.fontName = familyName; }

void Surface::SetFontSize(double sizePt) { state_.fontSizePt = sizePt; }

void Surface::SetLineWidth(int widthDots) { state_.lineWidth = std::max(1, widthDots); }

void Surface::SetLineStyle(LineStyle style) { state_.lineStyle = style; }

void Surface::SetCurrentPosition(double x, double y) {
    state_.currentX = x;
    state_.currentY = y;
}

void Surface::Print(const QString& text) {
    double y = state_.currentY;
    const double lineHeight = MeasureLine(QString(), state_).height();
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        DoText(QPointF(state_.currentX, y), line, state_);
        y += lineHeight;
    }
    state_.currentX = 0;
    state_.currentY = y;
}

void Surface::Line(double x1, double y1, double x2, double y2, const QColor& colour) {
    DoLine(QPointF(x1, y1), QPointF(x2, y2), Resolve(colour), state_);
    SetCurrentPosition(x2, y2);
}

void Surface::LineTo(double x, double y, const QColor& colour) {
    Line(state_.currentX, state_.currentY, x, y, colour);
}

void Surface::Box(double x1, double y1, double x2, double y2, const QColor& colour) {
    DoBox(QRectF(QPointF(x1, y1), QPointF(x2, y2)), Resolve(colour), false, state_);
    SetCurrentPosition(x2, y2);
}

void Surface::FilledBox(double x1, double y1, double x2, double y2, const QColor& colour) {
    DoBox(QRectF(QPointF(x1, y1), QPointF(x2, y2)), Resolve(colour), true, state_);
    SetCurrentPosition(x2, y2);
}

double Surface::TextWidth(const QString& text) const {
    double widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        widest = std::max(widest, MeasureLine(line, state_).width());
    }
    return widest;
}

double Surface::TextHeight(const QString& text) const {
    return MeasureLine(QString(), state_).height() *
           static_cast<double>(text.count(QLatin1Char('\n')) + 1);
}

QColor Surface::Resolve(const QColor& colour) const {
    return colour.isValid() ? colour : state_.foreColor;
}

UnitScale UnitScale::FromTwipsPerUnit(double twipsPerUnitX, double twipsPerUnitY) {
    return {0, 0, twipsPerUnitX / kTwipsPerPixel, twipsPerUnitY / kTwipsPerPixel};
}

bool PrintFitted(Surface& surface, double x, double y, const QString& text, double maxWidth,
                 double minSizePt) {
    const double sizePt = surface.FontSize();
    double fittedPt = sizePt;
    while (surface.TextWidth(text) > maxWidth && fittedPt - 0.5 >= minSizePt) {
        fittedPt -= 0.5;
        surface.SetFontSize(fittedPt);
    }
    QString shown = text;
    const QString ellipsis = QStringLiteral("…");
    while (!shown.isEmpty() &&
           surface.TextWidth(shown == text ? shown : shown + ellipsis) > maxWidth) {
        shown.chop(1);
    }
    surface.SetCurrentPosition(x, y);
    surface.Print(shown == text ? shown : shown + ellipsis);
    if (fittedPt != sizePt) surface.SetFontSize(sizePt);
    return shown == text;
}

}  // namespace ordevo::ui
