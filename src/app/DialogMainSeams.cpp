#include "DialogMainSeams.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "DeviceFlags.h"
#include "DialogMain.h"
#include "LanguageTables.h"
#include "MouseOffLine.h"
#include "Paths.h"
#include "PostMsg.h"

namespace {
const char* const kPageStyle =
    "QWidget#PageBody{background-color:#1B1D23;}"
    "QFrame#TitleBar{background-color:#262A33;}"
    "QLabel{color:#E6E6E6;}"
    "QLabel#PageTitle{font-size:15pt;font-weight:600;}"
    "QLabel#PageNote{color:#9AA0AB;}"
    "QToolButton{color:#E6E6E6;background:transparent;border:none;font-size:13pt;padding:4px 10px;}"
    "QToolButton:hover{background-color:#E8442E;}";

// A plain page: a title bar with the window buttons and a short note in the middle.
QWidget* PlaceholderPage(QWidget* parent, const QString& name, const QString& title, const QString& note,
                         int minimiseCode, int closeCode, bool withBack) {
    auto* page = new QWidget(parent);
    page->setObjectName(name);
    page->setStyleSheet(kPageStyle);
    auto* body = new QWidget(page);
    body->setObjectName("PageBody");
    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(body);

    auto* bar = new QFrame(body);
    bar->setObjectName("TitleBar");
    bar->setFixedHeight(44);
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(14, 0, 6, 0);
    if (withBack) {
        auto* back = new QToolButton(bar);
        back->setObjectName("UpArrow");
        back->setText(QStringLiteral("\u2190"));
        QObject::connect(back, &QToolButton::clicked,
                         [] { PostMsg::GetInstance()->EmitSigChangeMainDialog(0); });
        barLayout->addWidget(back);
    }
    auto* logo = new QLabel(bar);
    logo->setPixmap(QPixmap(Paths::InstallDir() + QStringLiteral("/Picture/Dialog/Logo.png"))
                        .scaled(26, 26, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    barLayout->addWidget(logo);
    auto* titleLabel = new QLabel(title, bar);
    titleLabel->setObjectName("PageTitle");
    barLayout->addWidget(titleLabel);
    barLayout->addStretch();
    auto* minimise = new QToolButton(bar);
    minimise->setObjectName("MinButton");
    minimise->setText(QStringLiteral("\u2013"));
    QObject::connect(minimise, &QToolButton::clicked,
                     [minimiseCode] { PostMsg::GetInstance()->EmitSigChangeSize(minimiseCode); });
    auto* close = new QToolButton(bar);
    close->setObjectName("CloseButton");
    close->setText(QStringLiteral("\u2715"));
    QObject::connect(close, &QToolButton::clicked,
                     [closeCode] { PostMsg::GetInstance()->EmitSigChangeSize(closeCode); });
    barLayout->addWidget(minimise);
    barLayout->addWidget(close);

    auto* noteLabel = new QLabel(note, body);
    noteLabel->setObjectName("PageNote");
    noteLabel->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar);
    layout->addWidget(noteLabel, 1);
    return page;
}
}  // namespace

namespace DialogMainSeams {

QWidget* CreateHomePage(QWidget* parent) {
    return PlaceholderPage(parent, "DialogChange", "Vorlant ZEMB", "Looking for devices\u2026", 2, 3, false);
}

QWidget* CreateDeviceWindow(QWidget* parent) {
    return PlaceholderPage(parent, "Dialog", "Vorlant ZEMB", QString(), 0, 1, true);
}

UsbChangedCallback HomePageHotPlugCallback() {
    return nullptr;
}

UsbChangedCallback DeviceWindowHotPlugCallback() {
    return nullptr;
}

UsbDataCallback DeviceDataCallbackFunction() {
    return nullptr;
}

QDialog* CreateOfflineNotice() {
    return new MouseOffLine;
}

QDialog* CreatePairingDialog() {
    return nullptr;
}

bool OfferFirmwareUpdate(QWidget*, const DeviceAllInfo&, const QString&) {
    return false;
}

}  // namespace DialogMainSeams
