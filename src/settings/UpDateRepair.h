#pragma once
// The firmware dialog: shows the settings page's update of receiver and mouse and runs the repair of an
// interrupted upgrade (pre-check, receiver then mouse stage, status callback). One shared instance lives
// in RepairDialog; openers may make short-lived ones. While a run flashes nothing closes it.

#include <QDialog>
#include <QList>
#include <QString>
#include <functional>

#include "firmware/RepairRun.h"

class QTimer;
class Ui_UpDateRepair;

class UpDateRepair : public QDialog {
    Q_OBJECT
public:
    explicit UpDateRepair(QWidget* parent = nullptr);
    ~UpDateRepair() override;

    // Dialog states. ResetState is invokable: the home page resets the dialog before a repair.
    Q_INVOKABLE void ResetState();
    void ShowReadyState();
    void ShowIdleState();
    void ShowUpgradingState();
    void SetStatusText(const QString& text);
    // Outcome codes of SigProgress that end a run: 1, 2, 5, 6.
    static bool IsOutcomeCode(int code) { return code == 1 || code == 2 || code == 5 || code == 6; }

    // A run started on this dialog and the dialog has not been closed or reset since.
    bool HoldsRun() const { return RunStarted; }
    // A run started and has no outcome yet: no road closes the dialog.
    bool Flashing() const { return RunStarted && !OutcomeShown; }

    // Repair: true when a repair can start (otherwise the reason is shown, except for a missing record).
    bool CheckRepairPossible();
    void StartRepairUpgrade();
    // Flashes the receiver with the image the opener's FindRepairFirmware chose, as one stage; class,
    // CID and MID name the device in the failure record.
    void StartRepairUpgradeDirect(int argument, int receiverClass = 0, int cid = 0, int mid = 0);

    QString PictureDir;
    QString WarnText;
    QString NotDeviceText;
    QString SameDeviceText;
    QString FailText;
    QString SuccessText;
    bool DirectStart = false;
    int DirectArgument = 0;
    QString StartText;
    QString CancelText;
    QString OkText;
    QString NoReceiverText;
    QString NoUsbText;
    QString ErrorFileText;
    QString MultiDongleText;
    QString MultiMouseText;
    QString ReadyText;
    QString ReceiverModel;
    int FailedType = 0;
    QString DriveSection;
    bool FirmwareFound = false;

public slots:
    void SlotAllLanguage(int index);
    void SlotAutoRepair(int index);
    void SlotAutoRepairProgress(int index);
    void SlotProgress(int schedue, int Discrib);
    void SlotRepairCheckUpdate();
    void reject() override;
    // Watchdog of a repair stage: a stage without a status record for 30 s ends as failed.
    void SlotRepairWatchdog();

private slots:
    void on_CloseButton_clicked();
    void on_NewHong_clicked();
    void on_NewHong_2_clicked();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The status line, the confirm button with its text, cancel and close, all usable; no progress bar.
    void ShowChoice(const QString& confirmText);
    void SetShortcuts();
    bool ClosingRefused() const;
    // Closing steps 2 and 3 (progress shown: new version or back home), then hide.
    void CloseAfterRun();
    // Reports a text: status, idle state, false.
    bool Report(const QString& text);
    // The run ends before any stage started: failure with the reason, closable.
    void EndRepairUnstarted(const QString& reason);
    // Starts a run with its watchdog; when nothing starts, the run ends failed.
    void RunRepair(const std::function<bool()>& start);

    Ui_UpDateRepair* ui;
    QTimer* Watchdog;
    RepairPlan Plan;
    bool RunStarted = false;
    bool OutcomeShown = false;
};

// The one repair and update dialog, made by the settings page.
extern UpDateRepair* RepairDialog;
