#pragma once
// Alternative form of the sleep-time panel: a slider of eleven steps up to 40 minutes with a number
// display. A released slider sends; a failed send puts nothing back.

#include <QFrame>
#include <QString>

class Ui_StopCloseTimeB;

class StopCloseTimeB : public QFrame {
    Q_OBJECT
public:
    explicit StopCloseTimeB(QWidget* parent = nullptr);
    ~StopCloseTimeB() override;

    // Moves the slider to position index + 1 (index 0 to 10) without sending.
    void SetSleepIndex(int index);
    // Index 0 gives the seconds suffix (its text without "10"), index 5 the minutes suffix (without "15").
    void SetItemText(int index, const QString& text);

private slots:
    void on_StopClose_sliderMoved(int position);
    void on_StopClose_valueChanged(int value);

private:
    void ShowPosition(int position);

    Ui_StopCloseTimeB* ui;
    QString PictureFolder;
    QString SecondsSuffix;
    QString MinutesSuffix;
};
