#include "sensor/SensorLOD.h"

#include <QSignalBlocker>

#include "core/PostMsg.h"
#include "device/DeviceCommand.h"
#include "device/DeviceFlags.h"
#include "sensor/SensorStyles.h"
#include "ui_SensorLOD.h"

namespace {
const char* const kShortLod = "0.7mm";

// LodCode of each entry; the list with the short distance starts with 0.7 mm.
int CodeOfIndex(int index, bool hasShort) {
    static const int kCodesShort[] = {3, 1, 2};
    static const int kCodes[] = {1, 2};
    if (hasShort) return index >= 0 && index < 3 ? kCodesShort[index] : 0;
    return index >= 0 && index < 2 ? kCodes[index] : 0;
}
}  // namespace

SensorLOD::SensorLOD(QWidget* parent)
    : QFrame(parent), ui(new Ui_SensorLOD), PictureFolder(SensorStyles::SensorPictureFolder()) {
    ui->setupUi(this);
    ui->label->setStyleSheet(SensorStyles::CaptionSheet());
    ui->label_2->setStyleSheet(SensorStyles::TipsSheet(PictureFolder));
    ui->LOD->setStyleSheet(SensorStyles::ComboSheet(PictureFolder, true));
    SensorStyles::InstallPopupView(ui->LOD);
    shownIndex_ = ui->LOD->currentIndex();
}

SensorLOD::~SensorLOD() {
    delete ui;
}

void SensorLOD::ShowIndexQuietly(int index) {
    const QSignalBlocker blocker(ui->LOD);
    ui->LOD->setCurrentIndex(index);
    shownIndex_ = ui->LOD->currentIndex();
}

void SensorLOD::AddShortLod() {
    if (ui->LOD->count() != 2) return;
    const QSignalBlocker blocker(ui->LOD);
    ui->LOD->insertItem(0, kShortLod);
    shownIndex_ = ui->LOD->currentIndex();
}

void SensorLOD::RemoveShortLod() {
    if (ui->LOD->count() != 3) return;
    const QSignalBlocker blocker(ui->LOD);
    ui->LOD->removeItem(0);
    shownIndex_ = ui->LOD->currentIndex();
}

void SensorLOD::SetTipsPos(int /*languageIndex*/) {
    ui->label_2->move(50, 1);
}

void SensorLOD::SetEnabled(bool on) {
    ui->LOD->setEnabled(on);
}

int SensorLOD::IndexOfValue(int value) const {
    const bool hasShort = ui->LOD->count() == 3;
    if (hasShort) {
        static const int kIndexShort[] = {1, 2, 0};  // by remembered value 0, 1, 2
        return value >= 0 && value < 3 ? kIndexShort[value] : -1;
    }
    return value == 0 || value == 1 ? value : -1;
}

void SensorLOD::SetLod(int value) {
    RememberedLod = value;
    const int index = IndexOfValue(value);
    if (index < 0) return;
    ShowIndexQuietly(index);
    PostMsg::GetInstance()->EmitSigAddLOD(ui->LOD->itemText(index));
}

void SensorLOD::SetText(const QString& text) {
    ui->label->setText(text);
}

void SensorLOD::SetTips(const QString& text) {
    ui->label_2->setToolTip(text);
}

void SensorLOD::on_LOD_currentIndexChanged(int index) {
    const int before = shownIndex_;
    shownIndex_ = index;
    if (!UiLive || SensorPageRefreshing) return;
    const int code = CodeOfIndex(index, ui->LOD->count() == 3);
    if (code == 0) return;
    if (::SetLod(code)) {
        RememberedLod = code == 3 ? 2 : code - 1;
        PostMsg::GetInstance()->EmitSigAddLOD(ui->LOD->itemText(index));
        return;
    }
    const int back = IndexOfValue(RememberedLod);
    ShowIndexQuietly(back >= 0 ? back : before);
}
