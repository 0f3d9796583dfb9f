#pragma once
// Angle-tuning panel of the advanced page: a slider from -30 to 30 degrees and a picture turned by the
// angle. The angle is sent when the slider is released; a refused send returns to ConfirmedAngle and
// locks the slider until the page unlocks it.

#include <QFrame>
#include <QString>

class Ui_AngleMove;

// The angle last confirmed with the mouse (GUI thread).
extern int ConfirmedAngle;

// The value text of an angle: "-12°", "30°".
QString AngleText(int degrees);

class AngleMove : public QFrame {
    Q_OBJECT
public:
    explicit AngleMove(QWidget* parent = nullptr);
    ~AngleMove() override;

    void SetAngleSilently(int degrees);
    void SetSliderEnabled(bool enabled);
    void SetPictureAngle(int degrees);
    void SetAngleText(const QString& text);
    void SetTipsPos(int x, int y);

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_AngleSet_sliderMoved(int position);
    void on_AngleSet_valueChanged(int value);

private:
    void ShowAngle(int degrees);

    Ui_AngleMove* ui;
    QString PictureFolder;
};
