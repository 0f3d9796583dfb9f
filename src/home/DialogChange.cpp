#include "home/DialogChange.h"

#include <QDebug>
#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QListView>
#include <QMap>
#include <QPair>
#include <QPointer>

#include "core/ConfigIni.h"
#include "core/DeviceProductTable.h"
#include "core/LanguageTables.h"
#include "core/MacroIni.h"
#include "core/PictureStyles.h"
#include "core/PostMsg.h"
#include "device/DeviceDiscovery.h"
#include "device/DeviceFlags.h"
#include "device/Worker.h"
#include "dialogs/ModalRunner.h"
#include "dialogs/QuestiondialogB.h"
#include "dialogs/RePair.h"
#include "dialogs/UpDateWarning.h"
#include "firmware/BootDevices.h"
#include "firmware/FailRecord.h"
#include "firmware/FirmwareImages.h"
#include "home/Match.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/RegistryStore.h"
#include "ui_DialogChange.h"
#include "widgets/mytoolButtonEnter.h"

DialogChange* HomePage = nullptr;
QString HomePictureFolder;
int DeviceTotal = 0;
QString NoDeviceText;
QString RepairDeviceText;
QString OfflineTipText;
QString PairTipText;
QString NewFirmwareTipText;
QList<mytoolButtonEnter*> TileButtons;
QList<QLabel*> TileOfflineIcons;
QList<QLabel*> TileLinkIcons;

namespace {
// Grid pages taken out of the stack while a tile click runs (its dialogs may rebuild the grid): the
// clicked tile must outlive the click, so they are deleted once it has returned.
QList<QPointer<QWidget>> RetiredPages;
int ClickDepth = 0;

void DeleteRetiredPages() {
    for (const QPointer<QWidget>& page : RetiredPages)
        if (page) page->deleteLater();
    RetiredPages.clear();
}
}  // namespace

QDialog* (*DialogChange::RepairDialog)() = nullptr;
std::function<void()> DialogChange::DeviceWindowNeeded;

namespace {

constexpr int kTilesPerPage = 3;

QString TileButtonSheet(const QString& picture) {
    return "QToolButton{border:0px;background-position:center;background-repeat:no-repeat;background-image: "
           "url(" +
           HomePictureFolder + picture + ");color: rgb(255, 255, 255);}";
}

QString TileIconSheet(const QString& picture) {
    return "QLabel{border:0px;background-position:center;background-repeat:no-repeat;background-image: url(" +
           HomePictureFolder + picture + ");color: rgb(255, 255, 255);}";
}

// The picture of a known mouse model: 0 for MID 6, 1 for any other.
QString ModelPicture(const QString& prefix, const DeviceAllInfo& device) {
    return prefix + (MidOf(device) == 6 ? "0" : "1") + ".png";
}

// Kind of device for the identical-devices count: 0 on its cable, 1..4 the receiver classes.
int DeviceKind(const DeviceAllInfo& device) {
    if (device.IsUsb) return 0;
    switch (device.Type) {
        case kTypeReceiver1K:
            return 1;
        case kTypeReceiver2K:
            return 2;
        case kTypeReceiver4K:
            return 3;
        default:
            return 4;
    }
}

QString BadgePicture(quint8 type) {
    switch (type) {
        case kTypeReceiver2K:
            return "2KHz.png";
        case kTypeReceiver4K:
            return "4KHz.png";
        case kTypeReceiver1K:
            return "1KHz.png";
        case kTypeReceiver8K:
        case 3:
            return "8KHz.png";
        default:
            return QString();
    }
}

struct TilePlace {
    QPoint Button;
    QPoint Icon;
    QPoint Badge;
};

// Positions inside a page with `count` tiles (3 on a full page).
TilePlace PlaceOf(int count, int slot) {
    if (count == 1) return {{305, 0}, {530, 20}, {312, 10}};
    if (count == 2)
        return slot == 0 ? TilePlace{{135, 0}, {360, 20}, {142, 10}}
                         : TilePlace{{445, 0}, {665, 20}, {452, 10}};
    return {{300 * slot, 0}, {225 + 300 * slot, 20}, {7 + 300 * slot, 10}};
}

}  // namespace

DialogChange::DialogChange(QWidget* parent) : QWidget(parent), ui(new Ui::DialogChange) {
    ui->setupUi(this);
    HomePage = this;
    HomePictureFolder = Paths::InstallDir() + "/Picture/DialogChange/";
    ApplyStyles();

    ui->label_2->show();
    ui->label_3->show();
    ui->RightButton->hide();
    ui->LeftButton->hide();

    PostMsg::Connect(SIGNAL(SigLanguageSameA(int)), this, SLOT(SlotSameLanguageA(int)));
    PostMsg::Connect(SIGNAL(SigUpDateButton(bool)), this, SLOT(SlotUpDateButton(bool)));
    PostMsg::Connect(SIGNAL(SigEnterKey()), this, SLOT(SlotEnterKey()));

    // No devices scanned yet: only a record no repair can use goes now.
    ui->Repair->setVisible(RepairOffered({}));

    DeviceTotal = DeviceProductTable::DeviceTotal();

    PostMsg::Connect(SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    SlotAllLanguage(CurrentLanguage);
    ui->FindVer->hide();

    mytoolButtonEnter::SetTileRefresher(RefreshDeviceTile);
    StartUsbChanged(HomeUsbChangedCallback, 600);
}

DialogChange::~DialogChange() {
    mytoolButtonEnter::SetTileRefresher(nullptr);
    TileButtons.clear();
    TileOfflineIcons.clear();
    TileLinkIcons.clear();
    if (HomePage == this) HomePage = nullptr;
    delete ui;
}

void DialogChange::ApplyStyles() {
    ConfigIni* table = ConfigIni::GetInstance();
    const auto colour = [table](const char* key) { return table->GetStringList("Option", key).join(","); };
    const QString textColour = colour("ComboxTextColor");
    const QString selectColour = colour("ComboxSelectColor");
    const QString backColour = colour("ComboxBackGroundColor");
    const QString& p = HomePictureFolder;

    ui->frameChange->setStyleSheet("#frameChange{border-image: url(" + p + "MainBack.png);}");
    ui->CloseButton->setStyleSheet(
        PictureStyles::ToolButtonSheet(p, "Close.png", "CloseHover.png", "CloseClick.png"));
    ui->MinButton->setStyleSheet(
        PictureStyles::ToolButtonSheet(p, "Min.png", "MinHover.png", "MinClick.png"));
    ui->Repair->setStyleSheet("#Repair{border:0px;background-image: url(" + p +
                              "Repair.png);background-position:center;background-repeat:no-repeat;}");
    ui->RightButton->setStyleSheet("QToolButton{border-image: url(" + p +
                                   "Right.png);}QToolButton:hover{border-image: url(" + p +
                                   "RightClick.png);}");
    ui->LeftButton->setStyleSheet("QToolButton{border-image: url(" + p +
                                  "Left.png);}QToolButton:hover{border-image: url(" + p + "LeftClick.png);}");
    ui->comboBox->setStyleSheet(PictureStyles::ComboBoxSheet(p, textColour, selectColour, backColour));

    const QString w = Paths::InstallDir() + "/Picture/WarningDialog/";
    const QString labelColour = colour("LabelColor");
    const QString buttonColour = colour("ButtonColor");
    ui->FindVerlaebl->setStyleSheet("QLabel{color: rgb(" + labelColour + ";);}");
    ui->NewHong->setStyleSheet(
        "QToolButton{border:0px;background-position:center;background-repeat:no-repeat;color: rgb(" +
        buttonColour + ";);border-image: url(" + w + "Confirm.png);}QToolButton:pressed{border-image: url(" +
        w + "ConfirmClick.png); }");
    ui->CloseButton_2->setStyleSheet(
        PictureStyles::ToolButtonSheet(w, "Close.png", "CloseHover.png", "CloseClick.png"));
    ui->FindVer->setStyleSheet(
        "#FindVer{border:0px;background-position:center;background-repeat:no-repeat;background-image: url(" +
        w + "BackGround.png);}");
    ui->NoApear->setStyleSheet(
        "QCheckBox{color: rgb(" + labelColour + ";);}QCheckBox::indicator:checked {image: url(" + w +
        "CheckBoxCheck.png);}QCheckBox::indicator:unchecked {image: url(" + w + "CheckBox.png);}");

    auto* view = new QListView(ui->comboBox);
    view->setStyleSheet(PictureStyles::ComboViewSheet(selectColour));
    ui->comboBox->setView(view);
    ui->comboBox->setMaxVisibleItems(5);
}

bool DialogChange::RepairOffered(const QList<DeviceAllInfo>& found) {
    // While an update or a repair runs the record is left alone.
    if (!UpdateIdle || RepairRunning) return !UpgradeFailRecord().isEmpty();
    // A device waiting in boot mode for an image beside the program keeps the entry; the record keeps it
    // while its device may be waiting where it cannot be reached.
    const bool recorded = PruneUpgradeFailRecord(found);
    return recorded || !FindWaitingDevices().isEmpty();
}

void DialogChange::ShowRepairEntry(bool show) {
    ui->Repair->setVisible(show);
    ui->label_2->setText(show ? RepairDeviceText : NoDeviceText);
}

void DialogChange::SlotAllLanguage(int index) {
    NoDeviceText = LanguageText(MouseHomeTexts, index, "PleaseEnter");
    RepairDeviceText = LanguageText(MouseHomeTexts, index, "RepairDevice");
    if (ui->Repair->isHidden())
        ui->label_2->setText(NoDeviceText);
    else
        ui->label_2->setText(RepairDeviceText);
    ui->label_3->setText(LanguageText(MouseHomeTexts, index, "ClickIn"));
    OfflineTipText = LanguageText(MouseInfoTipsTexts, index, "DialogOffline");
    PairTipText = LanguageText(MouseHomeTexts, index, "PairTips_z");
    ui->FindVerlaebl->setText(LanguageText(MouseUpdateTexts, index, "UpgradeTips"));
    ui->NewHong->setText(LanguageText(MouseCommonTexts, index, "OK"));
    ui->NoApear->setText(LanguageText(MouseHomeTexts, index, "NoApear"));
    NewFirmwareTipText = LanguageText(MouseHomeTexts, index, "NewVerTips");

    for (QLabel* icon : TileOfflineIcons) {
        icon->setToolTip(OfflineTipText + "\n" + PairTipText);
        icon->setFont(ui->NoApear->font());
    }
}

void DialogChange::SlotSameLanguageA(int index) {
    const bool blocked = ui->comboBox->blockSignals(true);
    ui->comboBox->setCurrentIndex(index);
    ui->comboBox->blockSignals(blocked);
}

void DialogChange::on_comboBox_activated(int index) {
    // A choice that could not be stored would be lost at the next start: the box goes back.
    if (!MacroIni::GetInstance()->SetValue("Language", "Language", QString::number(index))) {
        SlotSameLanguageA(CurrentLanguage);
        UpDateWarning notice;
        notice.SetText(LanguageText(MouseSettingsTexts, CurrentLanguage, "StoreFail"));
        ModalRunner::RunOver(notice, this, -20, 0);
        return;
    }
    CurrentLanguage = index;
    PostMsg* hub = PostMsg::GetInstance();
    hub->EmitSigAllLanguage(index);
    hub->EmitSigLanguageSameB(index);
}

void DialogChange::on_Repair_clicked() {
    if (DeviceWindowNeeded) DeviceWindowNeeded();
    QDialog* dialog = RepairDialog ? RepairDialog() : nullptr;
    if (dialog) {
        ModalRunner::Place(*dialog, this);
        QMetaObject::invokeMethod(dialog, "ResetState");
        dialog->setModal(true);
    }
    PostMsg::GetInstance()->EmitSigRepairCheckUpdate();
    if (dialog) dialog->show();
}

void DialogChange::SlotUpDateButton(bool IsHide) {
    // The end of a repair hides the entry only when nothing waits in boot mode any more: a refused or
    // failed start leaves the device waiting without a record.
    ShowRepairEntry(!IsHide || !FindWaitingDevices().isEmpty());
}

void DialogChange::SlotEnterKey() {
    if (ui->FindVer->isVisible())
        ui->FindVer->hide();
    else if (ui->Repair->isVisible())
        on_Repair_clicked();
}

void DialogChange::on_MinButton_clicked() {
    PostMsg::GetInstance()->EmitSigChangeSize(2);
}

void DialogChange::on_CloseButton_clicked() {
    PostMsg::GetInstance()->EmitSigChangeSize(3);
}

void DialogChange::on_NewHong_clicked() {
    ui->FindVer->hide();
}

void DialogChange::on_CloseButton_2_clicked() {
    ui->FindVer->hide();
}

void DialogChange::on_NoApear_clicked(bool checked) {
    MacroIni::GetInstance()->SetValue("FindNew", "IsShow", checked ? "1" : "0");
}

// ---- Grid ----

void DialogChange::UpdateDeviceList() {
    DialogChange* page = HomePage;
    if (!page) return;
    Ui::DialogChange* ui = page->ui;

    TileButtons.clear();
    TileOfflineIcons.clear();
    TileLinkIcons.clear();
    for (int i = ui->stackedWidget->count() - 1; i >= 0; --i) {
        QWidget* old = ui->stackedWidget->widget(i);
        ui->stackedWidget->removeWidget(old);
        old->hide();
        RetiredPages.append(old);
    }
    if (ClickDepth == 0) DeleteRetiredPages();

    const auto showNoTiles = [ui] {
        ui->label_2->show();
        ui->label_3->hide();
        ui->LeftButton->hide();
        ui->RightButton->hide();
    };
    if (FoundDevices.isEmpty()) {
        showNoTiles();
        return;
    }

    // Devices per (kind, product entry); any number of product entries.
    QMap<QPair<int, int>, int> counts;
    for (int i = 0; i < FoundDevices.size(); ++i) {
        ++counts[qMakePair(DeviceKind(FoundDevices.at(i)), int(FoundDevices.at(i).DriveIndex))];
        DeviceDiscovery::RefreshDeviceLinkState(i);
    }

    DeviceTotal = DeviceProductTable::DeviceTotal();
    bool identical = false;
    for (int m = 0; m < DeviceTotal; ++m) {
        bool twice = false;
        for (int kind = 0; kind <= 4; ++kind) twice = twice || counts.value(qMakePair(kind, m)) > 1;
        if (twice) {
            identical = true;
            continue;
        }
        // A mouse on its cable hides the receivers of its model.
        if (!identical && counts.value(qMakePair(0, m)) == 1) {
            for (int i = FoundDevices.size() - 1; i >= 0; --i) {
                if (FoundDevices.at(i).DriveIndex == m && !FoundDevices.at(i).IsUsb) FoundDevices.removeAt(i);
            }
        }
    }

    if (identical) {
        showNoTiles();
        QuestiondialogB notice;
        ModalRunner::RunOver(notice, page);
        return;
    }

    ui->label_2->hide();
    ui->label_3->show();
    const int n = FoundDevices.size();
    for (int first = 0; first < n; first += kTilesPerPage)
        page->BuildTiles(first, qMin(kTilesPerPage, n - first));

    ui->stackedWidget->setCurrentIndex(0);
    ui->RightButton->setVisible(n > kTilesPerPage);
    ui->LeftButton->hide();

    const QList<mytoolButtonEnter*> buttons = TileButtons;
    for (mytoolButtonEnter* button : buttons) {
        RefreshDeviceTile(mytoolButtonEnter::TileNumber(button->objectName()));
        connect(button, SIGNAL(clicked()), page, SLOT(slotButtonClicked()));
    }
}

void DialogChange::BuildTiles(int first, int count) {
    auto* tilePage = new QWidget;
    const QString tipText = OfflineTipText + "\n" + PairTipText;
    for (int slot = 0; slot < count; ++slot) {
        const int number = first + slot;
        const DeviceAllInfo& device = FoundDevices.at(number);
        const bool unmatched = device.DriveIndex == DeviceTotal;
        const TilePlace place = PlaceOf(count, slot);

        auto* button = new mytoolButtonEnter(tilePage);
        button->setObjectName("btn" + QString::number(number));
        auto* offline = new QLabel(tilePage);
        offline->setObjectName("label" + QString::number(number));
        auto* link = new QLabel(tilePage);
        link->setObjectName("UsbWifi" + QString::number(number));

        button->setStyleSheet(
            TileButtonSheet(unmatched ? QString("Unknow.png") : ModelPicture("DisOnlin", device)));
        link->setStyleSheet(TileIconSheet(device.IsUsb ? "OnLineUsb.png" : "OnLineWifi.png"));
        offline->setStyleSheet(TileIconSheet("DisOnline.png"));

        button->move(place.Button);
        offline->move(place.Icon);
        link->move(place.Icon);
        const QString badgePicture = BadgePicture(device.Type);
        if (!badgePicture.isEmpty()) {
            auto* badge = new QLabel(tilePage);
            badge->setStyleSheet("QLabel{background-image: url(" + HomePictureFolder + badgePicture + ");}");
            badge->setFixedSize(42, 26);
            badge->setFocusPolicy(Qt::NoFocus);
            badge->move(place.Badge);
        }

        button->setFixedSize(284, 360);
        button->setFocusPolicy(Qt::NoFocus);
        offline->setFixedSize(32, 32);
        offline->setFocusPolicy(Qt::NoFocus);
        link->setFixedSize(32, 32);
        link->setFocusPolicy(Qt::NoFocus);
        button->lower();

        TileButtons.append(button);
        offline->hide();
        offline->setToolTip(tipText);
        offline->setFont(ui->NoApear->font());
        TileOfflineIcons.append(offline);
        link->hide();
        if (count == 1) {
            link->setToolTip(tipText);
            link->setFont(ui->NoApear->font());
        }
        TileLinkIcons.append(link);
    }
    ui->stackedWidget->addWidget(tilePage);
}

void DialogChange::on_RightButton_clicked() {
    ui->label_2->hide();
    ui->label_3->show();
    const int current = ui->stackedWidget->currentIndex();
    if (current == ui->stackedWidget->count() - 2) {
        ui->LeftButton->show();
        ui->RightButton->hide();
    }
    if (current + 1 < ui->stackedWidget->count()) ui->stackedWidget->setCurrentIndex(current + 1);
}

void DialogChange::on_LeftButton_clicked() {
    ui->label_2->hide();
    ui->label_3->show();
    const int current = ui->stackedWidget->currentIndex();
    if (current == 1) {
        ui->LeftButton->hide();
        ui->RightButton->show();
    }
    if (current > 0) ui->stackedWidget->setCurrentIndex(current - 1);
}

bool RefreshDeviceTile(int index) {
    if (!DeviceDiscovery::RefreshDeviceEntry(index) || index >= TileButtons.size() ||
        index >= TileLinkIcons.size() || index >= TileOfflineIcons.size())
        return true;
    const DeviceAllInfo& device = FoundDevices.at(index);
    QString picture;
    if (device.DriveIndex == DeviceTotal) {
        TileLinkIcons.at(index)->show();
        picture = "Unknow.png";
    } else if (device.Online) {
        TileLinkIcons.at(index)->show();
        TileOfflineIcons.at(index)->hide();
        picture = ModelPicture("OnLine", device);
    } else {
        TileOfflineIcons.at(index)->show();
        TileLinkIcons.at(index)->hide();
        picture = ModelPicture("DisOnlin", device);
    }
    TileButtons.at(index)->setStyleSheet(TileButtonSheet(picture));
    return true;
}

void HomeUsbChangedCallback() {
    DeviceDiscovery::ScanHomeDevices();
    // After the scan: a record whose device now answers is dropped.
    if (HomePage) HomePage->ShowRepairEntry(DialogChange::RepairOffered(FoundDevicesMirror));
    DialogChange::UpdateDeviceList();
    QDialog* repair = DialogChange::RepairDialog ? DialogChange::RepairDialog() : nullptr;
    if (repair && repair->isVisible() && !RepairRunning) PostMsg::GetInstance()->EmitSigRepairCheckUpdate();
}

// ---- Selection ----

void DialogChange::slotButtonClicked() {
    ++ClickDepth;
    TileClick();
    if (--ClickDepth == 0) DeleteRetiredPages();
}

void DialogChange::TileClick() {
    // Everything the click sends reaches the device window's pages.
    if (DeviceWindowNeeded) DeviceWindowNeeded();
    PostMsg* hub = PostMsg::GetInstance();
    hub->EmitSigIsUsb(false, true);
    hub->EmitSigSetver(6);

    QObject* tile = sender();
    if (!tile) return;
    const int i = mytoolButtonEnter::TileNumber(tile->objectName());
    // A tile of an older grid may name a device that is no longer in the list.
    if (i < 0 || i >= FoundDevices.size()) return;
    const DeviceAllInfo dev = FoundDevices.at(i);
    ConfigIni* table = ConfigIni::GetInstance();
    const QString group = DeviceProductTable::DriveGroup(dev.DriveIndex);

    const int mid = table->GetValue(group, "MID").toInt();
    if (mid == 6)
        hub->EmitSigMouseIndex(0);
    else if (mid == 7)
        hub->EmitSigMouseIndex(1);

    if (FoundDevices.size() == 2 && (i == 0 || i == 1)) {
        const DeviceAllInfo other = FoundDevices.at(1 - i);
        if (other.CidMidWord == dev.CidMidWord && !UsbFinderC_GetDeviceOnLine(dev.Path.constData()) &&
            UsbFinderC_GetDeviceOnLine(other.Path.constData()) && CheckDeviceLink(dev))
            return;
    }
    if (dev.DriveIndex == DeviceTotal && !dev.IsUsb && CheckDeviceLink(dev)) return;
    if (dev.DriveIndex == DeviceTotal) return;

    hub->EmitSigSelectMouseInfo(dev);

    QString updateFlag;
    const int receiverClass = DeviceProductTable::ReceiverClass(dev.Type);
    if (QDir(Paths::InstallDir() + "/bin").exists()) {
        const bool available =
            receiverClass != 0 && IsUpdateAvailable(kReceiverFirmware, dev.Version, receiverClass);
        ReceiverUpdateAvailable = available;
        if (available) updateFlag = "true";
    }
    hub->EmitSigLabelTextB(dev.Version, updateFlag);
    hub->EmitSigChangeMainDialog(1);

    Clock::Sleep(150);
    WorkerRunEnable = true;
    if (DeviceWorker) DeviceWorker->start();
}

DialogChange::FirmwareUpdates DialogChange::FindFirmwareUpdates(const DeviceAllInfo& device,
                                                                const QString& mouseVersion) {
    ConfigIni* table = ConfigIni::GetInstance();
    const QString group = DeviceProductTable::DriveGroup(device.DriveIndex);
    const int cid = table->GetValue("Option", "CID").toInt();
    const int mid = table->GetValue(group, "MID").toInt();
    FirmwareUpdates updates;
    updates.Mouse =
        ::FindUpdateFirmware(kMouseFirmware, mouseVersion, table->GetValue(group, "MM"), cid, mid);
    const QString key = ReceiverModelKey(DeviceProductTable::ReceiverClass(device.Type));
    if (!key.isEmpty()) {
        const QString model = table->GetValue(group, key);
        if (!(key != "DM" && model.isEmpty()))
            updates.Receiver = ::FindRepairFirmware(kReceiverFirmware, device.Version, model, cid, mid);
    }
    return updates;
}

bool DialogChange::CheckDeviceLink(const DeviceAllInfo& device) {
    ConfigIni* table = ConfigIni::GetInstance();
    const QString group = DeviceProductTable::DriveGroup(device.DriveIndex);
    const QString cidText = table->GetValue("Option", "CID");
    const QString midText = table->GetValue(group, "MID");
    const QString mouseVersion =
        RegistryStore(RegistryStore::DriveTestKey()).Value("MouseVer" + cidText + midText).toString();
    if (mouseVersion.isEmpty()) {
        RunPairing(device);
        return true;
    }

    const FirmwareUpdates updates = FindFirmwareUpdates(device, mouseVersion);
    const bool mouseUpdate = updates.Mouse;
    const bool receiverUpdate = updates.Receiver;

    if (!mouseUpdate && receiverUpdate) return false;
    if (mouseUpdate && !receiverUpdate) {
        UpDateWarning notice;
        notice.SetText(LanguageText(MouseHomeTexts, CurrentLanguage, "WiredMode"));
        ModalRunner::RunOver(notice, this, -20, 0);
        return true;
    }
    RePair question;
    ModalRunner::RunOver(question, this);
    if (question.Confirmed) RunPairing(device);
    return true;
}

void DialogChange::RunPairing(const DeviceAllInfo& device) {
    PairCurrentDevice = true;
    PairTargetDevice = device;
    Match pairing;
    pairing.InitPair();
    ModalRunner::RunOver(pairing, this);
}
