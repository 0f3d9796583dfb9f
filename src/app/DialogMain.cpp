#include "app/DialogMain.h"

#include <QApplication>
#include <QCursor>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QStackedWidget>
#include <cstdio>
#include <cstdlib>

#include "app/DialogMainSeams.h"
#include "core/ConfigIni.h"
#include "core/DeviceAllInfo.h"
#include "core/LanguageLoader.h"
#include "core/LanguageTables.h"
#include "core/MacroIni.h"
#include "core/PostMsg.h"
#include "core/ToolkitTranslations.h"
#include "device/DeviceFlags.h"
#include "dialogs/ModalRunner.h"
#include "hidusb/HIDUsb.h"
#include "platform/Clock.h"
#include "platform/DebugLog.h"
#include "platform/Paths.h"
#include "platform/RegistryStore.h"
#include "ui_DialogMain.h"
#include "widgets/PicturePreload.h"
#include "widgets/ScaleChildFonts.h"

bool (*DialogMain::TrayAvailable)() = &QSystemTrayIcon::isSystemTrayAvailable;
bool DialogMain::DeviceWindowAtStart = false;

namespace {
QRect PrimaryScreenArea() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

const char* const kWindowStyle = "QFrame#frame{background-color:#1B1D23;border:none;}";

void RegisterHotPlug(UsbChangedCallback callback) {
    if (callback) StartUsbChanged(callback, 600);
}
}  // namespace

QRect (*DialogMain::ScreenArea)() = &PrimaryScreenArea;

DialogMain::DialogMain(QWidget* parent) : QDialog(parent), ui(new Ui::DialogMain) {
    // The home page's pictures, its window-sized background first, are decoded on other threads while it
    // is made, and wait in the pixmap cache for its first polish, when it goes into the stack.
    const QString pictures = Paths::InstallDir() + QStringLiteral("/Picture/");
    PicturePreload preload(PicturePreload::Pictures(
        {pictures + QStringLiteral("DialogChange/MainBack.png")},
        {pictures + QStringLiteral("DialogChange"), pictures + QStringLiteral("WarningDialog")}));
    ui->setupUi(this);
    ui->frame->setStyleSheet(kWindowStyle);
    LoadLanguageFiles();
    MigrateLanguageChoice();
    CurrentLanguage = LanguageSetting();
    picturePath_ = Paths::InstallDir() + QStringLiteral("/Picture/Dialog/");

    DialogMainSeams::PrepareHomePage([this] { EnsureDeviceWindow(); });
    // Made inside the stack: inserting them does not restyle their trees a second time.
    if (DeviceWindowAtStart) devicePage_ = DialogMainSeams::CreateDeviceWindow(ui->stackedWidgetMain);
    homePage_ = DialogMainSeams::CreateHomePage(ui->stackedWidgetMain);
    preload.Install();
    ui->stackedWidgetMain->insertWidget(HomePageIndex, homePage_);
    if (devicePage_) ui->stackedWidgetMain->insertWidget(DevicePageIndex, devicePage_);
    ui->stackedWidgetMain->setCurrentIndex(HomePageIndex);

    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
    setFixedSize(width(), height());

    PostMsg::Connect(SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    PostMsg::Connect(SIGNAL(SigChangeMainDialog(int)), this, SLOT(SlotChangeMainDialog(int)));
    PostMsg::Connect(SIGNAL(SigChangeSize(int)), this, SLOT(SlotChangeSize(int)));
    PostMsg::Connect(SIGNAL(SigMouseOffLineo(int)), this, SLOT(SlotMouseOffLine(int)));
    PostMsg::Connect(SIGNAL(SigUpPageLight()), this, SLOT(SlotUpPageLight()));

    const QIcon logo(picturePath_ + QStringLiteral("Logo.png"));
    setWindowIcon(logo);
    trayIcon_ = std::make_unique<QSystemTrayIcon>(logo);
    trayIcon_->setToolTip(Paths::kProductName);

    PostMsg* hub = PostMsg::GetInstance();
    hub->EmitSigLanguageSameA(CurrentLanguage);
    hub->EmitSigLanguageSameB(CurrentLanguage);
    hub->EmitSigAllLanguage(CurrentLanguage);

    CentreOnScreen();
}

// Placed before the first show: a window left to the window manager may keep (0, 0) as Qt's idea of its
// position, and dialogs placed over it would open elsewhere. A window larger than the area keeps its
// top-left corner (and so its top bar) inside it.
void DialogMain::CentreOnScreen() {
    const QRect area = ScreenArea();
    if (!area.isValid()) return;
    const QPoint centred = ModalRunner::CentredPosition(area.topLeft(), area.size(), size(), 0, 0);
    move(qMax(centred.x(), area.left()), qMax(centred.y(), area.top()));
}

DialogMain::~DialogMain() {
    DialogMainSeams::PrepareHomePage(nullptr);
}

// Made as it would have been at start: its receivers of every hub signal come before those of the home
// page and of this window. Only SigAllLanguage has receivers on both sides; the home page's and this
// window's leave it while the device window is made and come back after it. The device window then gets
// what this window sent its pages at start (SigLanguageSameB and SigAllLanguage, now with the current
// language) and the font scaling that followed.
QWidget* DialogMain::EnsureDeviceWindow() {
    if (devicePage_) return devicePage_;
    PostMsg* hub = PostMsg::GetInstance();
    QObject::disconnect(hub, SIGNAL(SigAllLanguage(int)), homePage_, SLOT(SlotAllLanguage(int)));
    QObject::disconnect(hub, SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    devicePage_ = DialogMainSeams::CreateDeviceWindow(ui->stackedWidgetMain);
    ui->stackedWidgetMain->insertWidget(DevicePageIndex, devicePage_);
    hub->EmitSigLanguageSameB(CurrentLanguage);
    hub->EmitSigAllLanguage(CurrentLanguage);
    ScaleChildFonts(devicePage_, fontScale_);
    PostMsg::Connect(SIGNAL(SigAllLanguage(int)), homePage_, SLOT(SlotAllLanguage(int)));
    PostMsg::Connect(SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    return devicePage_;
}

void DialogMain::ScaleFonts(qreal factor) {
    fontScale_ = factor;
    ScaleChildFonts(this, factor);
}

QStackedWidget* DialogMain::Stack() const {
    return ui->stackedWidgetMain;
}

// An old language choice in the registry moves into Macro.ini; the registry value goes once the choice
// is stored there (or when it is the default).
void DialogMain::MigrateLanguageChoice() {
    RegistryStore registry(RegistryStore::ProductKey());
    const int stored = registry.Value(QStringLiteral("LanguageIndex"), 0).toInt();
    if (stored == 0 || MacroIni::GetInstance()->SetValue("Language", "Language", QString::number(stored)))
        registry.Remove(QStringLiteral("LanguageIndex"));
}

bool DialogMain::DevicePageCurrent() const {
    return DeviceWindow.Shown();
}

void DialogMain::SlotAllLanguage(int index) {
    ToolkitTranslations::Apply(index);
    openText_ = LanguageText(MouseHomeTexts, index, QStringLiteral("OpenMain"));
    exitText_ = LanguageText(MouseHomeTexts, index, QStringLiteral("Exit"));
}

void DialogMain::SlotChangeMainDialog(int index) {
    UiLive = true;
    if (index == HomePageIndex) {
        PostMsg* hub = PostMsg::GetInstance();
        hub->EmitSigSecondPageChange();
        DeviceWindow.Leave();
        hub->EmitSigMainPageChange();
        UsbServer_Exit();
        Clock::Sleep(100);
        ui->stackedWidgetMain->setCurrentIndex(HomePageIndex);
        RegisterHotPlug(DialogMainSeams::HomePageHotPlugCallback());
    } else if (index == DevicePageIndex) {
        EnsureDeviceWindow();
        ui->stackedWidgetMain->setCurrentIndex(DevicePageIndex);
        DeviceWindow.Enter();
        RegisterHotPlug(DialogMainSeams::DeviceWindowHotPlugCallback());
    }
}

void DialogMain::SlotChangeSize(int index) {
    if (index < 0 || index > 3) return;
    if (index == 0 || index == 1) UsbServer_SetPCDriverStatus(0);
    if (index == 0 || index == 2) {
        HideToTray();
        return;
    }
    qCDebug(VzDebug) << "close";
    StopUsbChanged();
    DelayMsec(200);
    UsbServer_Exit();
    close();
}

void DialogMain::HideToTray() {
    if (!TrayAvailable()) {
        // No tray on this desktop: the task bar brings the window back.
        minimisedInsteadOfTray_ = true;
        showMinimized();
        return;
    }
    hide();
    // A fresh native window on the way back: the old one may come back iconic when the window manager
    // minimised and restored it before (no tray at that time), leaving neither window nor icon.
    destroy();
    // The menu is rebuilt with the texts of the current language; the previous one goes.
    auto menu = std::make_unique<QMenu>();
    QAction* open = menu->addAction(openText_);
    menu->addSeparator();
    QAction* exitAction = menu->addAction(exitText_);
    connect(open, &QAction::triggered, this, &DialogMain::slotActionMain);
    connect(exitAction, &QAction::triggered, this, &DialogMain::slotActionExitApp);
    trayIcon_->setContextMenu(menu.get());
    trayMenu_ = std::move(menu);
    if (!trayConnected_) {
        connect(trayIcon_.get(), &QSystemTrayIcon::activated, this, &DialogMain::on_activatedSysTrayIcon);
        trayConnected_ = true;
    }
    trayIcon_->show();
}

void DialogMain::ShowFromTray(bool sendDriverStatus) {
    showNormal();
    raise();
    activateWindow();
    if (sendDriverStatus && DevicePageCurrent()) UsbServer_SetPCDriverStatus(1);
    trayIcon_->hide();
}

void DialogMain::on_activatedSysTrayIcon(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::Context:
            // Some desktops open the context menu themselves; never open it twice.
            if (trayMenu_ && !trayMenu_->isVisible()) trayMenu_->exec(QCursor::pos());
            break;
        case QSystemTrayIcon::DoubleClick:
            ShowFromTray(false);
            break;
        case QSystemTrayIcon::Trigger:
            ShowFromTray(true);
            break;
        default:
            break;
    }
}

void DialogMain::slotActionMain() {
    ShowFromTray(true);
}

// Ends the process at once: no connection is closed and no destructor runs (Macro.ini is already on
// disk). _Exit, unlike exit, does not run static destructors under the device library's threads.
void DialogMain::slotActionExitApp() {
    std::fflush(nullptr);
    std::_Exit(0);
}

void DialogMain::SlotMouseOffLine(int index) {
    // The device window was left (back arrow, device gone): a late request about that device opens
    // nothing over the home page, whose own message answers.
    if (!DevicePageCurrent()) return;
    OfflineNoticeKind = index;
    QDialog* notice = DialogMainSeams::CreateOfflineNotice();
    ModalRunner::Place(*notice, this, 0, -20);
    // Only the offline notice waits for the device to come back; the others wait for the user.
    if (index == NoticeOffline) {
        DeviceOfflineShown = true;
        ReconnectRequested = true;
    }
    ModalRunner::Run(*notice);
    delete notice;
}

void DialogMain::SlotUpPageLight() {}

void DialogMain::RunPairingDialog(bool currentDevice) {
    PairCurrentDevice = currentDevice;
    QDialog* pairing = DialogMainSeams::CreatePairingDialog();
    if (!pairing) return;
    ModalRunner::RunOver(*pairing, this);
    // Pairing replaces the data callback; register it again for the current device.
    const QByteArray path = CurrentDevicePathCopy();
    if (UsbDataCallback callback = DialogMainSeams::DeviceDataCallbackFunction(); callback && !path.isEmpty())
        UsbServerC_Start(path.constData(), path.constData(), callback);
    delete pairing;
}

// Space on the home page with exactly one receiver found: a firmware offer when the recorded mouse
// version calls for one, else pairing with the first found device.
void DialogMain::CheckReceiverOnHomePage() {
    if (FoundDevices.size() != 1 || FoundDevices.first().IsUsb) return;
    const DeviceAllInfo device = FoundDevices.first();
    const QString group = QStringLiteral("Drive") + QString::number(device.DriveIndex + 1);
    ConfigIni* table = ConfigIni::GetInstance();
    const QString cid = table->GetValue("Option", "CID");
    const QString mid = table->GetValue(group, "MID");
    const QString mouseVersion =
        RegistryStore(RegistryStore::DriveTestKey()).Value(QStringLiteral("MouseVer") + cid + mid).toString();
    if (mouseVersion.isEmpty()) {
        RunPairingDialog(false);
        return;
    }
    // The offer's texts, its repair dialog and what it sends belong to the device window.
    EnsureDeviceWindow();
    if (DialogMainSeams::OfferFirmwareUpdate(this, device, mouseVersion)) return;
    RunPairingDialog(false);
}

void DialogMain::keyPressEvent(QKeyEvent* event) {
    if (MacroRecording) return;
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_F12:
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            PostMsg::GetInstance()->EmitSigEnterKey();
            return;
        case Qt::Key_Space:
            if (DevicePageCurrent())
                RunPairingDialog(true);
            else
                CheckReceiverOnHomePage();
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void DialogMain::mousePressEvent(QMouseEvent* event) {
    // A control disabled for the moment passes its press on, but it is no free area of the window.
    if (const QWidget* under = childAt(event->pos()); under && !under->isEnabled()) {
        dragOffset_ = QPoint();
        return;
    }
    // The press's own window position is where the window really is, also when pos() lags behind a
    // placement by the window manager.
    pressGlobal_ = event->globalPos();
    pressWindow_ = pressGlobal_ - event->pos();
    dragOffset_ = event->pos();
}

void DialogMain::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() == Qt::LeftButton && !isMaximized() && !dragOffset_.isNull())
        move(event->globalPos() - dragOffset_);
}

void DialogMain::mouseReleaseEvent(QMouseEvent*) {
    dragOffset_ = QPoint();
}

void DialogMain::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // Back from the task bar after a minimise that stood in for the tray.
    if (event->type() == QEvent::WindowStateChange && minimisedInsteadOfTray_ && !isMinimized()) {
        minimisedInsteadOfTray_ = false;
        raise();
        activateWindow();
        if (DevicePageCurrent()) UsbServer_SetPCDriverStatus(1);
    }
}
