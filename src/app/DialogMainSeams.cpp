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
    auto* notice = new QDialog(nullptr, Qt::FramelessWindowHint | Qt::WindowSystemMenuHint);
    notice->setObjectName("MouseOffLine");
    notice->setFixedSize(300, 140);
    notice->setStyleSheet(
        "QDialog{background-color:#262A33;border:1px solid #E8442E;}"
        "QLabel{color:#E6E6E6;}"
        "QPushButton{color:#E6E6E6;background-color:#E8442E;border:none;padding:4px 18px;}");
    const int kind = OfflineNoticeKind.load();
    QString text = LanguageText(MouseInfoTipsTexts, CurrentLanguage, kind == 1 ? "TimeOut" : "DialogOffline");
    if (text.isEmpty())
        text = kind == 1 ? QStringLiteral("The settings were not read in time.")
                         : QStringLiteral("The mouse is offline. Please move it first.");
    QString ok = LanguageText(MouseCommonTexts, CurrentLanguage, "OK");
    if (ok.isEmpty()) ok = QStringLiteral("OK");
    auto* label = new QLabel(text, notice);
    label->setObjectName("label");
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    auto* button = new QPushButton(ok, notice);
    button->setObjectName("NewHong");
    QObject::connect(button, &QPushButton::clicked, notice, &QDialog::accept);
    auto* layout = new QVBoxLayout(notice);
    layout->addWidget(label, 1);
    layout->addWidget(button, 0, Qt::AlignHCenter);
    QObject::connect(PostMsg::GetInstance(), &PostMsg::SigCloseOffOnline, notice, &QDialog::accept);
    return notice;
}

QDialog* CreatePairingDialog() {
    return nullptr;
}

bool OfferFirmwareUpdate(QWidget*, const DeviceAllInfo&, const QString&) {
    return false;
}

}  // namespace DialogMainSeams
