// Picture box: drawing goes into an image; painting only copies the image and the line elements.
#include "picture_box.h"

#include <QMouseEvent>
#include <QPaintEvent>

#include "twips.h"

namespace ordevo::ui {
namespace {

constexpr double kDotsPerMetreAt96Dpi = 96.0 / 0.0254;  // fonts sized as on a 96-dpi screen

}  // namespace

PictureBox::PictureBox(QWidget* parent, Border border) : QFrame(parent) {
    if (border == Border::Sunken) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(2);
    } else {
        setFrameStyle(QFrame::NoFrame);
    }
    setAttribute(Qt::WA_OpaquePaintEvent);
    SetUnitTwips(1, 1);
    FitImageToInside();
}

const QImage& PictureBox::Image() const {
    FitImageToInside();
    return image_;
}

void PictureBox::SetUnitTwips(double twipsPerUnitX, double twipsPerUnitY) {
    scaleMode_ = ScaleMode::UnitTwips;
    scaleArgs_[0] = twipsPerUnitX;
    scaleArgs_[1] = twipsPerUnitY;
    SetUnitScale(UnitScale::FromTwipsPerUnit(twipsPerUnitX, twipsPerUnitY));
}

void PictureBox::SetScale(double left, double top, double width, double height) {
    scaleMode_ = ScaleMode::Rectangle;
    scaleArgs_[0] = left;
    scaleArgs_[1] = top;
    scaleArgs_[2] = width;
    scaleArgs_[3] = height;
    const QSize inside = contentsRect().size();
    SetUnitScale({left, top, inside.width() / width, inside.height() / height});
}

void PictureBox::SetBackColor(const QColor& colour) { backColor_ = colour; }

void PictureBox::AddLineElement(const LineElement& element) {
    lines_.push_back(element);
    update();
}

void PictureBox::SetLineElementVisible(const QString& name, bool visible) {
    for (LineElement& line : lines_) {
        if (line.name == name) line.visible = visible;
    }
    update();
}

void PictureBox::SetAllLineElementsVisible(bool visible) {
    for (LineElement& line : lines_) line.visible = visible;
    update();
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);  // the border
    FitImageToInside();
    QPainter painter(this);
    const QRect inside = contentsRect();
    painter.setClipRect(inside);
    painter.drawImage(inside.topLeft(), image_);
    painter.translate(inside.topLeft());
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const LineElement& line : lines_) {
        if (!line.visible) continue;
        painter.setPen(QPen(line.colour, line.widthPx, Qt::SolidLine, Qt::SquareCap));
        painter.drawLine(
            QPointF(TwipsToPixelsF(line.fromTwips.x()), TwipsToPixelsF(line.fromTwips.y())),
            QPointF(TwipsToPixelsF(line.toTwips.x()), TwipsToPixelsF(line.toTwips.y())));
    }
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    BeforeDrawing();
}

void PictureBox::BeforeDrawing() {
    FitImageToInside();
    ApplyScale();
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    QFrame::mousePressEvent(event);
    const QPoint inInside = event->position().toPoint() - InsideOrigin();
    if (event->button() == Qt::LeftButton &&
        QRect(QPoint(), contentsRect().size()).contains(inInside))
        emit clicked(Scale().ToUser(QPointF(inInside)));
}

void PictureBox::FitImageToInside() const {
    const QSize inside = contentsRect().size().expandedTo(QSize(1, 1));
    if (image_.size() != inside) {
        QImage resized(inside, QImage::Format_RGB32);
        resized.setDotsPerMeterX(static_cast<int>(kDotsPerMetreAt96Dpi + 0.5));
        resized.setDotsPerMeterY(static_cast<int>(kDotsPerMetreAt96Dpi + 0.5));
        resized.fill(backColor_);
        if (!image_.isNull()) {
            QPainter painter(&resized);
            painter.drawImage(0, 0, image_);
        }
        image_ = resized;
    }
}

void PictureBox::ApplyScale() {
    if (scaleMode_ == ScaleMode::UnitTwips) {
        SetUnitTwips(scaleArgs_[0], scaleArgs_[1]);
    } else {
        SetScale(scaleArgs_[0], scaleArgs_[1], scaleArgs_[2], scaleArgs_[3]);
    }
}

void PictureBox::DoClear() {
    FitImageToInside();
    image_.fill(backColor_);
    update();
}

const QPaintDevice& PictureBox::Device() const { return image_; }

void PictureBox::Paint(const std::function<void(QPainter&)>& paint) {
    QPainter painter(&image_);
    paint(painter);
    painter.end();
    update();
}

}  // namespace ordevo::ui
