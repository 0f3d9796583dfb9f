#include "widgets/MySlider.h"

#include <QCoreApplication>
#include <QMouseEvent>

MySlider::MySlider(QWidget* parent) : QSlider(parent) {}

void MySlider::mousePressEvent(QMouseEvent* event) {
    QSlider::mousePressEvent(event);
    if (width() > 0) {
        const double span = double(maximum()) - double(minimum());
        setValue(static_cast<int>(minimum() + double(event->pos().x()) / width() * span));
    }
    if (parentWidget()) {
        QEvent notice(static_cast<QEvent::Type>(kPressEventType));
        QCoreApplication::sendEvent(parentWidget(), &notice);
    }
}
