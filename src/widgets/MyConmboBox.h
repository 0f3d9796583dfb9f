#pragma once
#include <QComboBox>

// A combo box that paints its current text and icon centred, like a push-button label, when not editable.
class MyConmboBox : public QComboBox {
    Q_OBJECT
public:
    explicit MyConmboBox(QWidget* parent = nullptr);

    // The index that was current when the combo box was last pressed, before its list opened.
    int PressIndex = 0;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};
