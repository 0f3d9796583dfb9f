#pragma once
#include <QComboBox>

// A combo box that paints its current text and icon centred, like a push-button label, when not editable.
class MyConmboBox : public QComboBox {
    Q_OBJECT
public:
    explicit MyConmboBox(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};
