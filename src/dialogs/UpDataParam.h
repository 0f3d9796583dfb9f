#pragma once
#include <QString>

#include "dialogs/FramedDialog.h"
#include "hidusb/FlashDataMap.h"

class QTimer;
class Ui_UpDataParam;

// The settings-update wait. 2500 ms after StartTimer it runs one of its roads:
// - forced wait (ForcedMode): waits for the three page reports, then 2000 ms more; offline notice on failure;
// - profile import (ImportMode): reads ProfilePath; when it does not fit, or the device refuses it, the
//   wait closes and then InportFail or the notice says why; else it becomes the current image, goes to
//   the device and every page refills;
// - normal wait with an answering device: waits for the page reports (time-out notice on failure) and
//   creates the model's cache file when there is none;
// - no answer: refills the pages from the cache file when there is one, closes and asks for the offline
//   notice.
// It has no buttons and closes itself; Escape and window close requests are ignored. When the home page
// is shown (SigMainPageChange) it closes at once, and its road ends without a notice.
class UpDataParam : public FramedDialog {
    Q_OBJECT
public:
    explicit UpDataParam(QWidget* parent = nullptr);
    ~UpDataParam() override;

    // Starts the single-shot 2500 ms timer; openers call it right before running the dialog.
    void StartTimer();

    // Reads and tests a profile against the current device's product (its "Sensor" and "DPIMaxGrade");
    // 0 accepted (out written), 1 not readable or not a profile, 2 made for another product.
    static int ReadProfileFile(const QString& path, FlashDataMap* out);

    QString ProfilePath;
    bool ImportMode = false;
    // Cleared when its wait has run, so a later wait of a reused instance is a normal one.
    bool ForcedMode = false;

public slots:
    void reject() override;

private slots:
    void onTimeupDestroy();
    void SlotDeviceLeft();

private:
    void FillTexts(int index) override;
    // Up to twelve tests of the three page reports, 500 ms apart; true when all three came.
    bool WaitForPages(bool clearOnSuccess);
    static void RefillPages(const FlashDataMap& image);
    // The import road; it closes the wait.
    void ImportProfile();
    void CloseWait();
    static void ReportNoAnswer();
    static void ReportTimeOut();

    Ui_UpDataParam* ui;
    QTimer* WaitTimer;
    // The device window was left since StartTimer (or since the dialog was made).
    bool DeviceLeft() const;
    unsigned LeavesAtStart;
};
