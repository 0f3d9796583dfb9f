#pragma once
#include <QEvent>
#include <QSlider>

// A horizontal slider whose handle jumps straight to the pressed point.
class MySlider : public QSlider {
    Q_OBJECT
public:
    explicit MySlider(QWidget* parent = nullptr);

    // Type of the event sent to the parent after a press.
    static constexpr int kPressEventType = QEvent::User + 1;

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
