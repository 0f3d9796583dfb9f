#include "widgets/MyConmboBox.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStylePainter>

MyConmboBox::MyConmboBox(QWidget* parent) : QComboBox(parent) {}

void MyConmboBox::paintEvent(QPaintEvent* /*event*/) {
    QStyleOptionComboBox option;
    initStyleOption(&option);
    {
        QStylePainter painter(this);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        if (isEditable()) {
            painter.drawControl(QStyle::CE_ComboBoxLabel, option);
            return;
        }
    }
    QStyleOptionButton label;
    label.initFrom(this);
    label.rect = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    label.text = option.currentText;
    label.icon = option.currentIcon;
    label.iconSize = option.iconSize;
    QStylePainter painter(this);
    painter.drawControl(QStyle::CE_PushButtonLabel, label);
}

void MyConmboBox::mousePressEvent(QMouseEvent* event) {
    PressIndex = currentIndex();
    QComboBox::mousePressEvent(event);
}
