#pragma once
#include <QDialog>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSystemTrayIcon>
#include <atomic>
#include <memory>

class QAction;
class QMenu;
class QStackedWidget;
namespace Ui {
class DialogMain;
}

// The one top-level window: a frameless 1020 x 700 dialog stacking the home page (0) and the device
// window (1). It hides to the tray icon (or minimises where there is no tray), quits in order, shows the
// offline notice for every page, can be dragged by its free areas and handles a few global keys.
class DialogMain : public QDialog {
    Q_OBJECT
public:
    explicit DialogMain(QWidget* parent = nullptr);
    ~DialogMain() override;

    static constexpr int HomePageIndex = 0;
    static constexpr int DevicePageIndex = 1;

    QStackedWidget* Stack() const;
    // The device window, made at its first use: nobody sees it before a device is opened.
    QWidget* EnsureDeviceWindow();
    bool DeviceWindowMade() const { return devicePage_ != nullptr; }
    // Scales the fonts of the window, and of the device window when it is made later, by factor.
    void ScaleFonts(qreal factor);
    QSystemTrayIcon* TrayIcon() const { return trayIcon_.get(); }
    QMenu* TrayMenu() const { return trayMenu_.get(); }
    QString PicturePath() const { return picturePath_; }

    // Whether hiding goes to the tray; QSystemTrayIcon::isSystemTrayAvailable unless a test says otherwise.
    static bool (*TrayAvailable)();
    // The area the window opens centred in: the primary screen's available geometry unless a test says
    // otherwise.
    static QRect (*ScreenArea)();
    // Tests: the device window is made in the constructor, before the home page, instead of at its
    // first use.
    static bool DeviceWindowAtStart;

public slots:
    void SlotAllLanguage(int index);
    void SlotChangeMainDialog(int index);
    void SlotChangeSize(int index);
    void SlotMouseOffLine(int index);
    void SlotUpPageLight();

    void on_activatedSysTrayIcon(QSystemTrayIcon::ActivationReason reason);
    void slotActionMain();
    void slotActionExitApp();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void MigrateLanguageChoice();
    void CentreOnScreen();
    void HideToTray();
    void ShowFromTray(bool sendDriverStatus);
    void RunPairingDialog(bool currentDevice);
    void CheckReceiverOnHomePage();
    bool DevicePageCurrent() const;

    std::unique_ptr<Ui::DialogMain> ui;
    QWidget* homePage_ = nullptr;
    QWidget* devicePage_ = nullptr;
    QString picturePath_;
    qreal fontScale_ = 1.0;
    std::unique_ptr<QSystemTrayIcon> trayIcon_;
    std::unique_ptr<QMenu> trayMenu_;
    bool trayConnected_ = false;
    bool minimisedInsteadOfTray_ = false;
    QString openText_;
    QString exitText_;
    QPoint pressGlobal_;
    QPoint pressWindow_;
    QPoint dragOffset_;
};
