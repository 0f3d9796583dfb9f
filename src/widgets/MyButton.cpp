#include "widgets/MyButton.h"

MyButton::MyButton(QWidget* parent) : QPushButton(parent) {}

void MyButton::enterEvent(QEvent* /*event*/) {
    setCursor(Qt::PointingHandCursor);
}

void MyButton::leaveEvent(QEvent* /*event*/) {
    setCursor(Qt::ArrowCursor);
}
