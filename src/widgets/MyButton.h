#pragma once
#include <QPushButton>

// A push button that shows the pointing-hand cursor while the mouse is over it.
class MyButton : public QPushButton {
    Q_OBJECT
public:
    explicit MyButton(QWidget* parent = nullptr);

protected:
    void enterEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
};
