#include "sensor/RotatableWidget.h"

#include <QPainter>
#include <QPixmap>
#include <QRegion>
#include <cmath>

RotatableWidget::RotatableWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
}

void RotatableWidget::SetImage(const QString& path) {
    ImagePath = path;
    update();
}

void RotatableWidget::SetAngle(int degrees) {
    int angle = degrees % 360;
    if (angle < 0) angle += 360;
    Angle = angle;
    updateGeometry();
    repaint();
}

QSize RotatableWidget::sizeHint() const {
    const QSize base = QWidget::sizeHint();
    if (Angle % 180 == 0) return base;
    if (Angle % 90 == 0) return base.transposed();
    const double radians = Angle * M_PI / 180.0;
    const double c = std::fabs(std::cos(radians));
    const double s = std::fabs(std::sin(radians));
    const double w = base.width();
    const double h = base.height();
    return QSize(int(std::floor(w * c + h * s + 0.5)), int(std::floor(w * s + h * c + 0.5)));
}

QSize RotatableWidget::minimumSizeHint() const {
    return sizeHint();
}

void RotatableWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.translate(width() / 2, height() / 2);
    painter.rotate(Angle);
    painter.translate(-(width() / 2), -(height() / 2));
    if (!ImagePath.isEmpty()) {
        const QPixmap picture(ImagePath);
        if (!picture.isNull())
            painter.drawPixmap(rect(),
                               picture.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    for (QObject* object : children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (!child || !child->isVisible()) continue;
        painter.save();
        painter.translate(child->pos());
        child->render(&painter, QPoint(0, 0), QRegion(),
                      QWidget::DrawWindowBackground | QWidget::DrawChildren);
        painter.restore();
    }
}
