#pragma once
// Sleep-time panel of the advanced page: one list of eight sleep times from 10 s to 15 min. Every pick
// sends at once; a refused send shows the remembered entry again.

#include <QFrame>
#include <QString>
#include <array>

class Ui_StopCloseTime;

// SleepTimeCode (units of 10 s) of each entry of the list.
inline constexpr std::array<int, 8> kSleepCodes = {1, 3, 6, 12, 18, 30, 60, 90};

class StopCloseTime : public QFrame {
    Q_OBJECT
public:
    explicit StopCloseTime(QWidget* parent = nullptr);
    ~StopCloseTime() override;

    // Shows and remembers entry 0 to 7 without sending; other indexes change nothing.
    void SetSleepIndex(int index);
    void SetItemText(int index, const QString& text);

private slots:
    void on_StopClose_activated(int index);

private:
    Ui_StopCloseTime* ui;
    QString PictureFolder;
    int RememberedIndex = 0;
};
