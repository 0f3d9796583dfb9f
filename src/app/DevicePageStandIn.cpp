#include "app/DevicePageStandIn.h"

#include <QLabel>
#include <QVBoxLayout>

#include "core/CurrentFlashData.h"
#include "core/LanguageTables.h"
#include "core/PostMsg.h"

namespace {
struct TitleKey {
    const TextTable* Table;
    const char* Key;
};

TitleKey TitleOf(DevicePageStandIn::Role role) {
    switch (role) {
        case DevicePageStandIn::Role::Buttons:
            return {&MouseTabLabels, "1"};
        case DevicePageStandIn::Role::Sensor:
            return {&MouseTabLabels, "2"};
        case DevicePageStandIn::Role::Macro:
            return {&MouseTabLabels, "3"};
        case DevicePageStandIn::Role::Lights:
            return {&MouseTabLabels, "4"};
        case DevicePageStandIn::Role::Advanced:
            return {&MouseTabLabels, "5"};
    }
    return {&MouseTabLabels, "0"};
}
}  // namespace

DevicePageStandIn::DevicePageStandIn(Role role, const QString& objectName, QWidget* parent)
    : QWidget(parent), role_(role), title_(new QLabel(this)), note_(new QLabel(this)) {
    setObjectName(objectName);
    title_->setObjectName("PageTitle");
    title_->setAlignment(Qt::AlignCenter);
    title_->setStyleSheet("QLabel{color:#E6E6E6;font-size:20pt;}");
    note_->setObjectName("PageNote");
    note_->setAlignment(Qt::AlignCenter);
    note_->setWordWrap(true);
    note_->setStyleSheet("QLabel{color:#9AA0AB;font-size:11pt;}");
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addWidget(title_);
    layout->addWidget(note_);
    layout->addStretch();

    PostMsg::Connect(SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    switch (role) {
        case Role::Buttons:
            PostMsg::Connect(SIGNAL(SigUpDataLightUIButton(FlashDataMap)), this,
                             SLOT(SlotImage(FlashDataMap)));
            PostMsg::Connect(SIGNAL(SigUpDataButtonUIC(FlashDataMap)), this, SLOT(SlotImage(FlashDataMap)));
            PostMsg::Connect(SIGNAL(SigUpDataConfigUI(int, int, bool)), this,
                             SLOT(SlotUpDataConfigUI(int, int, bool)));
            break;
        case Role::Sensor:
            PostMsg::Connect(SIGNAL(SigUpDataLightSensor(FlashDataMap)), this, SLOT(SlotImage(FlashDataMap)));
            PostMsg::Connect(SIGNAL(SigUpDataSensorUIB(FlashDataMap)), this, SLOT(SlotImage(FlashDataMap)));
            PostMsg::Connect(SIGNAL(SigUpDataDPI(int)), this, SLOT(SlotUpDataDPI(int)));
            PostMsg::Connect(SIGNAL(SigUpDataReportRate(int)), this, SLOT(SlotUpDataReportRate(int)));
            break;
        default:
            break;
    }
    SlotAllLanguage(CurrentLanguage);
}

void DevicePageStandIn::SlotAllLanguage(int index) {
    const TitleKey title = TitleOf(role_);
    title_->setText(LanguageText(*title.Table, index, title.Key));
    note_->setText(LanguageText(MouseHomeTexts, index, "PageComing"));
}

int DevicePageStandIn::LevelDpi(const DpiLevelRecord& level) {
    const int code = level.DpiCode | ((level.DpiRangeFlags & 0xC0) << 2);
    int dpi = (level.DpiRangeFlags & 0x22) ? (code + 1) * 100 : (code + 1) * 50;
    if (level.DpiRangeFlags & 0x11) dpi *= 2;
    return dpi;
}

int DevicePageStandIn::ReportRateHz(int code) {
    switch (code) {
        case 8:
            return 125;
        case 4:
            return 250;
        case 2:
            return 500;
        case 1:
            return 1000;
        case 16:
            return 2000;
        case 32:
            return 4000;
        case 64:
            return 8000;
        default:
            return 0;
    }
}

QString DevicePageStandIn::LodText(int code) {
    switch (code) {
        case 1:
            return "1mm";
        case 2:
            return "2mm";
        case 3:
            return "0.7mm";
        default:
            return QString();
    }
}

void DevicePageStandIn::SlotImage(FlashDataMap DataMap) {
    PostMsg* hub = PostMsg::GetInstance();
    if (role_ == Role::Buttons) {
        hub->EmitSigDebunce(QString::number(DataMap.KeyDebounceMs) + "ms");
        return;
    }
    if (DataMap.CurrentDpiLevel < kDpiLevelMax)
        hub->EmitSigAddSensor(LevelDpi(DataMap.DpiLevels[DataMap.CurrentDpiLevel]));
    if (const int hz = ReportRateHz(DataMap.ReportRateCode)) hub->EmitSigAddReport(hz);
    const QString lod = LodText(DataMap.LodCode);
    if (!lod.isEmpty()) hub->EmitSigAddLOD(lod);
}

void DevicePageStandIn::SlotUpDataDPI(int index) {
    if (index < 0 || index >= kDpiLevelMax) return;
    DpiLevelRecord level{};
    {
        std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
        level = CurrentFlashData.DpiLevels[index];
    }
    PostMsg::GetInstance()->EmitSigAddSensor(LevelDpi(level));
}

void DevicePageStandIn::SlotUpDataReportRate(int index) {
    if (const int hz = ReportRateHz(index)) PostMsg::GetInstance()->EmitSigAddReport(hz);
}

void DevicePageStandIn::SlotUpDataConfigUI(int ToTalItem, int SelectIndex, bool) {
    if (ToTalItem > 0 && SelectIndex >= 0 && SelectIndex < ToTalItem)
        PostMsg::GetInstance()->EmitSigAddConfig(QString::number(SelectIndex + 1));
}
