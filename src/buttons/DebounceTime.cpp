#include "buttons/DebounceTime.h"

#include <QListView>
#include <QSignalBlocker>

#include "core/PictureStyles.h"
#include "core/PostMsg.h"
#include "device/DeviceCommand.h"
#include "device/DeviceFlags.h"
#include "dialogs/LessThree.h"
#include "dialogs/ModalRunner.h"
#include "platform/Paths.h"
#include "ui_DebounceTime.h"
#include "widgets/ColorText.h"

namespace {
// Press debounce times up to this many ms get the warning.
constexpr int kShortDebounceMs = 7;
constexpr int kWarningDx = -409;
constexpr int kWarningDy = -202;
}  // namespace

DebounceTime::DebounceTime(QWidget* parent) : QFrame(parent), ui(new Ui_DebounceTime) {
    ui->setupUi(this);
    PictureFolder = Paths::InstallDir() + "/Picture/Buttoninterface/";
    const QString select = OptionColorText("ComboxSelectColor");
    ui->Debunce->setStyleSheet(PictureStyles::ComboBoxSheet(
        PictureFolder, OptionColorText("ComboxTextColor"), select, OptionColorText("ComboxBackGroundColor")));
    auto* view = new QListView(ui->Debunce);
    view->setStyleSheet(PictureStyles::ComboViewSheet(select));
    ui->Debunce->setMaxVisibleItems(5);
    ui->Debunce->setView(view);
}

DebounceTime::~DebounceTime() {
    delete ui;
}

void DebounceTime::SetDebounce(int value) {
    const bool hasItem = value >= 0 && value < ui->Debunce->count();
    if (hasItem) DebounceIndex = value;
    ShowItem(hasItem ? value : -1);
    PostMsg::GetInstance()->EmitSigDebunce(ui->Debunce->currentText());
}

void DebounceTime::SetItemText(int index, const QString& suffix) {
    ui->Debunce->setItemText(index, QString::number(index) + suffix);
}

int DebounceTime::CurrentIndex() const {
    return ui->Debunce->currentIndex();
}

void DebounceTime::ShowItem(int index) {
    const QSignalBlocker blocker(ui->Debunce);
    ui->Debunce->setCurrentIndex(index);
}

void DebounceTime::on_Debunce_currentIndexChanged(int index) {
    if (index < 0) return;
    if (!UiLive || !SetKeyDebounce(index)) {
        ShowItem(DebounceIndex);
        return;
    }
    DebounceIndex = index;
    PostMsg::GetInstance()->EmitSigDebunce(ui->Debunce->currentText());
    if (index <= kShortDebounceMs && !ButtonPageRefreshing) {
        LessThree notice;
        ModalRunner::RunOver(notice, this, kWarningDx, kWarningDy);
    }
}
