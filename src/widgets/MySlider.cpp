#include "widgets/MySlider.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStyleOptionSlider>

MySlider::MySlider(QWidget* parent) : QSlider(parent) {}

QRect MySlider::HandleRect() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
}

void MySlider::mousePressEvent(QMouseEvent* event) {
    if (!HandleRect().contains(event->pos()) && width() > 0) {
        const double span = double(maximum()) - double(minimum());
        setValue(static_cast<int>(minimum() + double(event->pos().x()) / width() * span));
    }
    // The base only takes the handle under a left press, for a drag from there; on the groove it would
    // step the value a second time, and with another button set it from the point once more.
    if (event->button() == Qt::LeftButton && HandleRect().contains(event->pos()))
        QSlider::mousePressEvent(event);
    else
        event->accept();
    if (parentWidget()) {
        QEvent notice(static_cast<QEvent::Type>(kPressEventType));
        QCoreApplication::sendEvent(parentWidget(), &notice);
    }
}

void StopSteppingAfterPress(QAbstractSlider* slider) {
    // Passing through disabled stops a slider's stepping.
    QMetaObject::invokeMethod(
        slider,
        [slider] {
            const QSignalBlocker block(slider);
            const bool enabled = slider->isEnabled();
            slider->setEnabled(!enabled);
            slider->setEnabled(enabled);
        },
        Qt::QueuedConnection);
}
