#pragma once
// The advanced page: the sleep time and, where the model has it, the long-range mode; its 20K-scanning,
// angle, trigger-point and DPI-curve panels are kept filled and translated but not offered.

#include <QString>
#include <QWidget>

#include "hidusb/FlashDataMap.h"

class QButtonGroup;
class QWheelEvent;
class Ui_Advanced;

class Advanced : public QWidget {
    Q_OBJECT
public:
    explicit Advanced(QWidget* parent = nullptr);
    ~Advanced() override;

    bool LongRangeOffered() const { return LongRangeFlag; }
    // Names of the modes grey (off) or in the label colour (on).
    void SetModeLabelColours(bool on);

public slots:
    void SlotAllLanguage(int index);
    void SlotFormReset();
    void SlotUpDataSenSorUISensor(FlashDataMap DataMap);
    void SlotUpDataSenSorUIB(FlashDataMap DataMap);
    void SlotForm();
    void SlotFormB();
    void SlotLongRangeMode(bool Select);
    void Slot20KOpen(bool Open);
    // Layout pass; the argument is not used.
    void SetPos(int index);

protected:
    void wheelEvent(QWheelEvent* event) override;

private slots:
    void on_checkBox_2_clicked(bool checked);
    void on_checkBox_3_clicked(bool checked);
    void on_checkBox_4_clicked(bool checked);
    void on_checkBox_5_clicked(bool checked);
    void on_checkBox_6_clicked(bool checked);
    void on_verticalScrollBar_valueChanged(int value);

private:
    void Fill(const FlashDataMap& image);
    void ShowLongRange(bool offered);
    void ShowMode(bool checked, int page);

    Ui_Advanced* ui;
    QString PictureFolder;
    QButtonGroup* ModeGroup = nullptr;
    bool LongRangeFlag = false;
};
