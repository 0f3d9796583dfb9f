#pragma once
// The home page: the found devices as a paged grid of tiles, the language choice, the window buttons
// and the entry to the firmware repair while a failed upgrade is recorded.

#include <QList>
#include <QString>
#include <QWidget>
#include <functional>

#include "core/DeviceAllInfo.h"

class QDialog;
class QLabel;
class mytoolButtonEnter;
namespace Ui {
class DialogChange;
}

class DialogChange : public QWidget {
    Q_OBJECT
public:
    explicit DialogChange(QWidget* parent = nullptr);
    ~DialogChange() override;

    // Rebuilds the grid of HomePage from FoundDevices (GUI thread; the hot-plug callback calls it).
    static void UpdateDeviceList();

    // Shows or hides "Repair" and puts the matching text into "label_2".
    void ShowRepairEntry(bool show);
    // Whether the repair entry belongs on the page: a device waits in boot mode for an image beside the
    // program, or the failure record names one that may (a device the repair cannot use, or one that
    // answers among `found` at a normal version, is removed from the record). While an update or a repair
    // runs the record is left alone.
    static bool RepairOffered(const QList<DeviceAllInfo>& found);

    Ui::DialogChange* Form() const { return ui; }

    // Images of another version for a receiver's mouse (at its recorded version) and for the receiver
    // itself: the one firmware decision of the tile click and of Space on the home page. A receiver image
    // found is left in the repair list for a direct start.
    struct FirmwareUpdates {
        bool Mouse = false;
        bool Receiver = false;
    };
    static FirmwareUpdates FindFirmwareUpdates(const DeviceAllInfo& receiver, const QString& mouseVersion);
    // The firmware repair dialog of the settings page; null until it exists.
    static QDialog* (*RepairDialog)();
    // Makes the device window (its pages, the repair dialog, the device thread object) when it does not
    // exist yet; called before a tile click or the repair entry uses any of it. Empty: nothing to do.
    static std::function<void()> DeviceWindowNeeded;

public slots:
    void SlotAllLanguage(int index);
    void SlotSameLanguageA(int index);
    void SlotUpDateButton(bool IsHide);
    void SlotEnterKey();

private slots:
    void on_MinButton_clicked();
    void on_CloseButton_clicked();
    void on_comboBox_activated(int index);
    void on_Repair_clicked();
    void on_LeftButton_clicked();
    void on_RightButton_clicked();
    void on_NewHong_clicked();
    void on_CloseButton_2_clicked();
    void on_NoApear_clicked(bool checked);
    void slotButtonClicked();

private:
    // The tile click (slotButtonClicked) itself.
    void TileClick();
    // The link check of a receiver before it is opened; true when it ended the click.
    bool CheckDeviceLink(const DeviceAllInfo& device);
    void RunPairing(const DeviceAllInfo& device);
    void BuildTiles(int first, int count);
    void ApplyStyles();

    Ui::DialogChange* ui;
};

// The one home page; the hot-plug callback and the grid reach the form through it.
extern DialogChange* HomePage;
extern QString HomePictureFolder;
extern int DeviceTotal;
extern QString NoDeviceText;
extern QString RepairDeviceText;
extern QString OfflineTipText;
extern QString PairTipText;
extern QString NewFirmwareTipText;

// Widgets of the current grid in tile order.
extern QList<mytoolButtonEnter*> TileButtons;
extern QList<QLabel*> TileOfflineIcons;
extern QList<QLabel*> TileLinkIcons;

// The home page's hot-plug callback (GUI thread): repair entry, discovery, grid.
void HomeUsbChangedCallback();
// Re-reads the link state of tile `index`, re-matches it and restyles its tile. An index that names
// no device (a stale tile after the list shrank) changes nothing. Returns true.
bool RefreshDeviceTile(int index);
