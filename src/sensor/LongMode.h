#pragma once
// Long-range switch of the advanced page: a toggle by the user goes straight to the receiver; an
// offline device or a refusal puts the box back.

#include <QFrame>
#include <QString>

class Ui_LongMode;

class LongMode : public QFrame {
    Q_OBJECT
public:
    explicit LongMode(QWidget* parent = nullptr);
    ~LongMode() override;

    // Shows a reported state; never calls the device.
    void SetChecked(bool on);
    bool IsChecked() const;

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_checkBox_toggled(bool checked);

private:
    void PutBack(bool checked);

    Ui_LongMode* ui;
    QString PictureFolder;
};
