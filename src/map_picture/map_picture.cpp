#include "map_picture.h"

#include <QBuffer>
#include <QFont>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "cp932_text.h"

namespace ordevo::map {
namespace {

constexpr int kCellPixels = 6;  // per cm
constexpr int kLeft = 60, kTop = 60, kScaleWidth = 24, kRight = 140, kBottom = 50;
constexpr double kContoursMGy[] = {2000.0, 3000.0, 5000.0};
const QColor kContourColours[] = {QColor(255, 255, 255), QColor(255, 0, 255), QColor(0, 0, 0)};

// Dark blue through cyan, green and yellow to red, for 0 … 1.
QColor ScaleColour(double f) {
    f = std::clamp(f, 0.0, 1.0);
    const double r = std::clamp(1.5 - std::abs(4.0 * f - 3.0), 0.0, 1.0);
    const double g = std::clamp(1.5 - std::abs(4.0 * f - 2.0), 0.0, 1.0);
    const double b = std::clamp(1.5 - std::abs(4.0 * f - 1.0), 0.0, 1.0);
    return QColor::fromRgbF(static_cast<float>(r), static_cast<float>(g), static_cast<float>(b));
}

QString Mgy(double value) { return QString::number(value, 'f', 0); }

}  // namespace

QImage DrawSkinDoseMap(const SkinDoseMap& map) {
    const PatientModel& m = map.Model;
    const int step = std::max(1, static_cast<int>(std::lround(kCellPixels * m.CellCm)));
    const int width = m.Columns * step, height = m.Rows * step;
    QImage image(kLeft + width + kRight, kTop + height + kBottom, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(QFont(QStringLiteral("IPAGothic"), 10));
    const double top = std::max(map.PsdMGy, 1.0);
    auto cellRect = [&](int row, int column) {
        return QRect(kLeft + column * step, kTop + row * step, step, step);
    };
    auto dose = [&](int row, int column) {
        return map.DoseMGy[static_cast<std::size_t>(row * m.Columns + column)];
    };
    for (int row = 0; row < m.Rows; ++row)
        for (int column = 0; column < m.Columns; ++column) {
            const double d = dose(row, column);
            p.fillRect(cellRect(row, column), d > 0 ? ScaleColour(d / top) : QColor(225, 225, 225));
        }
    // Contours: the edges between a cell at or above a level and one below it.
    for (int level = 0; level < 3; ++level) {
        p.setPen(QPen(kContourColours[level], 2));
        const double c = kContoursMGy[level];
        for (int row = 0; row < m.Rows; ++row)
            for (int column = 0; column < m.Columns; ++column) {
                if (dose(row, column) < c) continue;
                const QRect r = cellRect(row, column);
                if (column + 1 >= m.Columns || dose(row, column + 1) < c)
                    p.drawLine(r.topRight(), r.bottomRight());
                if (column == 0 || dose(row, column - 1) < c)
                    p.drawLine(r.topLeft(), r.bottomLeft());
                if (row + 1 >= m.Rows || dose(row + 1, column) < c)
                    p.drawLine(r.bottomLeft(), r.bottomRight());
                if (row == 0 || dose(row - 1, column) < c) p.drawLine(r.topLeft(), r.topRight());
            }
    }
    p.setPen(Qt::black);
    if (map.PsdCell) {
        const int row = static_cast<int>(*map.PsdCell) / m.Columns;
        const int column = static_cast<int>(*map.PsdCell) % m.Columns;
        p.setPen(QPen(Qt::black, 2));
        p.drawEllipse(cellRect(row, column).center(), 3 * step, 3 * step);
    }
    p.setPen(Qt::black);
    p.drawText(kLeft, 20, QStringLiteral("皮膚線量分布  PSD %1 mGy").arg(Mgy(map.PsdMGy)));
    p.drawText(kLeft, 40, QStringLiteral("頭側 ↑   等線量線: 2 Gy (白), 3 Gy (紫), 5 Gy (黒)"));
    // Labels over the unwrapped trunk: the back in the middle.
    const int middle = kLeft + m.MiddleColumn * step;
    p.drawText(middle - 12, kTop + height + 20, QStringLiteral("背部"));
    if (m.Kind == PhantomKind::Torso) {
        p.drawText(middle + m.Columns * step / 4 - 12, kTop + height + 20, QStringLiteral("左側"));
        p.drawText(middle - m.Columns * step / 4 - 12, kTop + height + 20, QStringLiteral("右側"));
        p.drawText(kLeft, kTop + height + 40, QStringLiteral("腹側"));
        p.drawText(kLeft + width - 24, kTop + height + 40, QStringLiteral("腹側"));
    }
    // The colour scale, 0 at the bottom, the PSD at the top.
    const int scaleLeft = kLeft + width + 30;
    for (int y = 0; y < height; ++y)
        p.fillRect(scaleLeft, kTop + y, kScaleWidth, 1,
                   ScaleColour(1.0 - static_cast<double>(y) / std::max(1, height - 1)));
    p.drawRect(scaleLeft, kTop, kScaleWidth, height);
    p.drawText(scaleLeft + kScaleWidth + 4, kTop + 10, Mgy(top));
    p.drawText(scaleLeft + kScaleWidth + 4, kTop + height, QStringLiteral("0"));
    p.drawText(scaleLeft, kTop - 6, QStringLiteral("mGy"));
    p.end();
    return image;
}

FileResult<void> WriteSkinDoseMapPng(const QString& path, const SkinDoseMap& map) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    DrawSkinDoseMap(map).save(&buffer, "PNG");
    return WriteFileBytes(path, bytes);
}

}  // namespace ordevo::map
