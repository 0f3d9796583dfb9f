#include "dialogs/MouseOffLine.h"

#include "core/LanguageTables.h"
#include "core/PostMsg.h"
#include "device/DeviceFlags.h"
#include "ui_MouseOffLine.h"

MouseOffLine::MouseOffLine(QWidget* parent) : NoticeFrame(parent), ui(new Ui_MouseOffLine) {
    ui->setupUi(this);
    PostMsg::Connect(SIGNAL(SigCloseOffOnline()), this, SLOT(reject()));
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

void MouseOffLine::FillTexts(int index) {
    const int kind = OfflineNoticeKind;
    if (kind == 0) ui->label->setText(LanguageText(MouseInfoTipsTexts, index, "DialogOffline"));
    ui->NewHong->setText(OkText(index));
    if (kind == 1) ui->label->setText(LanguageText(MouseInfoTipsTexts, index, "TimeOut"));
}
