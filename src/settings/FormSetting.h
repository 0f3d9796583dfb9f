#pragma once
// The settings page of the device window: language, device versions and the firmware update offer,
// pairing entry, restore defaults, auto start, the system's mouse settings and the maker's address. It
// owns the firmware dialog (RepairDialog) and runs the update flow: the check, then up to two stages
// (receiver, then mouse), one step per tick of a 1000 ms timer.

#include <QPoint>
#include <QString>
#include <QStringList>
#include <QWidget>

class QTimer;
class UpDateWarning;
class UpDateRepair;
class Ui_FormSetting;

class FormSetting : public QWidget {
    Q_OBJECT
public:
    explicit FormSetting(QWidget* parent = nullptr);
    ~FormSetting() override;

    Ui_FormSetting* Form() const { return form; }

    // Update flow (GUI thread). The check shows its reason in RepairDialog when it returns false.
    bool ChechIsUpDate();
    void on_Start();
    void on_Receive_clicked();
    void on_Mouse_clicked();
    void RunUpdateStep(int stage, int deviceType, const QString& version);
    void FinishReceiverUpgrade();
    void FinishMouseUpgrade();

    QString PictureDir;
    QString NoDeviceText;
    QString SameDeviceText;
    QString NoUpdateText;
    QString UpgradeText;
    QString NoReceiverText;
    QString NoUsbText;
    QString ErrorText;
    QString MultiDongleText;
    QString MultiMouseText;
    UpDateWarning* UpgradeWarning = nullptr;
    QPoint VersionLabelPos;
    QString ButtonColorText;
    int FontScaleApplied = 0;

    // Update flow members.
    QString ModelSection;
    QString ReceiverModelName;
    QString RepairReceiverModelName;
    int MouseRepairPending = 0;
    bool NoNewFirmware = false;
    bool MouseNoImage = false;
    bool ReceiverUpgradeBusy = false;
    bool MouseUpgradeBusy = false;
    int UpdateStage = 0;
    bool ChainedUpgrade = false;
    int BootCount1K = 0;
    int BootCount2K = 0;
    int BootCount4K = 0;
    int BootCount8K = 0;
    QStringList ReceiverPaths;
    QTimer* DongleCheckTimer = nullptr;
    QTimer* MouseCheckTimer = nullptr;

    // Style sheets of the hidden upgrade button, whose text marks "no newer firmware".
    QString WaitingStyle() const;
    QString ConfirmStyle() const;

public slots:
    void SlotAllLanguage(int index);
    void SlotLanguageSameB(int index);
    void SlotScroolChange(int value);
    void SetVer(int index);
    void SetVerText();
    void SlotLabelText(int index, QString Text);
    void SlotLabelTextB(QString TextA, QString Text);
    void SlotUpdateFrame(bool IsVis);
    void SlotCheckUpdate();
    void SlotContinue(int index);
    void onDongleCheckTimer();
    void onMouseCheckTimer();

private slots:
    void on_comboBox_activated(int index);
    void on_checkBox_clicked(bool checked);
    void on_pushButton_2_clicked();
    void on_pushButton_clicked();
    void on_pushButton_3_clicked();
    void on_Reset_clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    // Reports a text of the check: status text, idle state, false.
    bool Report(const QString& text);
    // A refusal of a store: the message for the user.
    void TellStoreFailed();
    // Places the dialog centred over the page, 75 px left and 65 px up.
    void PlaceOverPage(QWidget& dialog) const;
    // A run is shown in RepairDialog and the user has not closed it: checks and resets leave it alone.
    bool RunHeld() const;
    // Marks a stage running and hands the image to the library; false when refused.
    bool StartStage(int deviceType);
    // The end of a run: success, failure or the idle state with the reason, and the flags restored.
    void EndRun();
    // Shows the upgrading state and lets the receiver check timer start the receiver's stage.
    void StartReceiverStage();
    void ShowStageWarning(const QString& text);

    Ui_FormSetting* form;
    QString RunReason;
};

// Text of the "WiredMode" key in the current language; written by the settings page's language slot.
extern QString WiredModeText;
