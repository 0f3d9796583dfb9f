#include "dialogs/MouseOffLine.h"

#include "core/LanguageTables.h"
#include "core/PostMsg.h"
#include "device/DeviceFlags.h"
#include "ui_MouseOffLine.h"

MouseOffLine::MouseOffLine(QWidget* parent)
    : NoticeFrame(parent), ui(new Ui_MouseOffLine), Kind(OfflineNoticeKind) {
    ui->setupUi(this);
    if (Kind == NoticeOffline) PostMsg::Connect(SIGNAL(SigCloseOffOnline()), this, SLOT(reject()));
    // Once the device window is left, the home page's message is the one answer.
    PostMsg::Connect(SIGNAL(SigMainPageChange()), this, SLOT(reject()));
    Parts parts;
    parts.Frame = ui->MouseOffLineA;
    parts.Label = ui->label;
    parts.Close = ui->CloseButton;
    parts.Confirms = {ui->NewHong};
    parts.ConfirmPicture = QStringLiteral("ConFirm.png");
    parts.ConfirmPressedPicture = QStringLiteral("ConFirmClick.png");
    BuildFrame(parts);
}

MouseOffLine::~MouseOffLine() {
    delete ui;
}

namespace {
const char* TextKey(int kind) {
    switch (kind) {
        case NoticeOffline:
            return "DialogOffline";
        case NoticeTimeOut:
            return "TimeOut";
        case NoticeNotTaken:
            return "DialogNotTaken";
        case NoticeReceiverNotTaken:
            return "DialogReceiverNotTaken";
        default:
            return nullptr;
    }
}
}  // namespace

void MouseOffLine::FillTexts(int index) {
    if (const char* key = TextKey(Kind)) ui->label->setText(LanguageText(MouseInfoTipsTexts, index, key));
    ui->NewHong->setText(OkText(index));
}
