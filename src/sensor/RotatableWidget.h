#pragma once
// A widget that paints one picture, scaled to its size and turned about its centre, and paints its
// visible children turned with it.

#include <QSize>
#include <QString>
#include <QWidget>

class RotatableWidget : public QWidget {
    Q_OBJECT
public:
    explicit RotatableWidget(QWidget* parent = nullptr);

    void SetImage(const QString& path);
    // Stores degrees modulo 360 in 0..359 and repaints at once; positive turns clockwise.
    void SetAngle(int degrees);
    int GetAngle() const { return Angle; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int Angle = 0;
    QString ImagePath;
};
