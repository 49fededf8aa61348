#include "map_picture.h"

#include <QBuffer>
#include <QFont>

#include "cp932_text.h"
#include "map_drawing.h"
#include "number_format.h"
#include "printer_surface.h"

namespace ordevo::map {
namespace {

// The picture, pixels at 96 dpi: wide enough for the 1 cm trunk at about 2.5 mm a cell.
constexpr int kWidth = 1000, kHeight = 720;
constexpr double kMarginMm = 5;

}  // namespace

// Drawn through the same Surface drawing as the window and the printed report, in millimetres on
// the image.
QImage DrawSkinDoseMap(const SkinDoseMap& map) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);  // 96 dpi
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    ui::PrinterSurface s(image);
    const double widthMm = kWidth / 3.78, heightMm = kHeight / 3.78;
    s.SetFont(ui::Font::Meiryo, 10);
    s.SetCurrentPosition(kMarginMm, kMarginMm);
    s.Print(QStringLiteral("皮膚線量分布  PSD %1 mGy")
                .arg(QString::fromStdString(FormatNumber(map.PsdMGy, "0"))));
    s.SetFont(ui::Font::Meiryo, 8);
    const double text = s.TextHeight(QStringLiteral("0"));
    const double top = kMarginMm + 2.5 * text;
    DrawSkinDoseMapOn(
        s, map,
        LayoutMap(map.Model,
                  QRectF(kMarginMm, top, widthMm - 2 * kMarginMm, heightMm - top - kMarginMm),
                  text));
    s.EndDocument();
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
