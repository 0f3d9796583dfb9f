#pragma once
// The device window: the seven device pages in a stack, the navigation bar, the link picture and
// battery indicator, the way back to the home page, minimise and close, and the settings-update wait.

#include <QString>
#include <QWidget>
#include <functional>

class PreVier;
class QButtonGroup;
class UpDataParam;
namespace Ui {
class Dialog;
}

class Dialog : public QWidget {
    Q_OBJECT
public:
    // beforePage runs before each page is made.
    explicit Dialog(QWidget* parent = nullptr, const std::function<void()>& beforePage = {});
    ~Dialog() override;

    Ui::Dialog* Form() const { return ui; }
    PreVier* SummaryPage() const;
    UpDataParam* WaitDialog() const { return UpDataParamDialog; }

    // Stack indexes of the pages.
    enum PageIndex {
        SummaryIndex,
        ButtonsIndex,
        SensorIndex,
        MacroIndex,
        LightsIndex,
        AdvancedIndex,
        SettingsIndex,
        PageCount
    };

public slots:
    void SlotSecondDialog();
    void SlotBattery(bool IsCharg, int Number, bool IsText);
    void SlotIsUsb(bool Usb, bool IsVs);
    void SlotStartRecord(int index);
    void SlotUpDataParam(int index);
    void SlotMouseIndex(int index);
    // A device was chosen: no battery is shown until it reports its own.
    void SlotDeviceChosen();
    void WindowMin();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void on_PreButton_clicked();
    void on_ButtonMain_clicked();
    void on_SensorButton_clicked();
    void on_MacroButton_clicked();
    void on_LightsButton_clicked();
    void on_Advanced_clicked();
    void on_FormSetting_clicked();
    void on_UpArrow_clicked();
    void on_CloseButton_clicked();
    void on_SetButton_clicked();
    void on_stackedWidgetDialog_currentChanged(int index);

private:
    // Writes the current settings image into the current device's cache file.
    static void SaveDeviceImage();
    QString ButtonSheet(const QString& normal, const QString& hover, const QString& pressed) const;

    Ui::Dialog* ui;
    QButtonGroup* ButtonGroupA;
    QButtonGroup* ButtonGroupB;
    QWidget* Pages[PageCount] = {};  // by PageIndex
    UpDataParam* UpDataParamDialog;
    QString PictureFolder;
    QString NoBatterySheet;  // the bar's look before a battery report
};
