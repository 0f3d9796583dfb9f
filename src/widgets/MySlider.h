#pragma once
#include <QEvent>
#include <QRect>
#include <QSlider>

// A horizontal slider whose handle jumps straight to the pressed point. A press on the handle itself
// only takes it for a drag, so a click that does not move it changes nothing.
class MySlider : public QSlider {
    Q_OBJECT
public:
    explicit MySlider(QWidget* parent = nullptr);

    // Type of the event sent to the parent after a press.
    static constexpr int kPressEventType = QEvent::User + 1;

    QRect HandleRect() const;  // where the style draws the handle

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// For a plain slider whose change opened a notice from inside its own press: the notice took the
// pointer's release, and a press on the groove sets the slider stepping towards the pointer once the
// press returns, changing its value again and again. This stops that stepping, after the press.
void StopSteppingAfterPress(QAbstractSlider* slider);
