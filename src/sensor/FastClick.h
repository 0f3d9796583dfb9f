#pragma once
// Trigger-point panel of the advanced page: for the left and the right button, whether the click fires
// on press or at the bottom. A choice changes its bit of TriggerFlags and sends the whole image; a
// refused send puts the bit and the pair back.

#include <QFrame>
#include <QString>

class QAbstractButton;
class QButtonGroup;
class Ui_FastClick;

class FastClick : public QFrame {
    Q_OBJECT
public:
    explicit FastClick(QWidget* parent = nullptr);
    ~FastClick() override;

    void SetLeftPressTrigger(bool onPress);
    void SetRightPressTrigger(bool onPress);
    // 0 title, 1 left button name, 2 right button name, 3 on-press text, 4 at-bottom text; others dropped.
    void SetText(int which, const QString& text);

private slots:
    void on_ReUntilClick_clicked(bool checked);
    void on_ReUntilClick_2_clicked(bool checked);
    void on_ReUntilClick_3_clicked(bool checked);
    void on_ReUntilClick_4_clicked(bool checked);

private:
    void ShowPair(QAbstractButton* onPress, QAbstractButton* atBottom, bool pressed);
    void Choose(bool checked, int bit, bool onPress);

    Ui_FastClick* ui;
    QString PictureFolder;
    QButtonGroup* LeftGroup;
    QButtonGroup* RightGroup;
};
