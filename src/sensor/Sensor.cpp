#include "sensor/Sensor.h"

#include <QDir>
#include <QEvent>
#include <QListView>
#include <QSignalBlocker>
#include <array>

#include "core/ConfigIni.h"
#include "core/CurrentFlashData.h"
#include "core/DeviceAllInfo.h"
#include "core/LanguageTables.h"
#include "core/PostMsg.h"
#include "device/DeviceCommand.h"
#include "device/DeviceFlags.h"
#include "platform/Paths.h"
#include "sensor/ReportRates.h"
#include "sensor/SensorStyles.h"
#include "ui_Sensor.h"
#include "widgets/ColorText.h"

namespace {

// PerformanceTimeCode of each entry of "PerformanceOpen"; also its language key.
constexpr std::array<int, 8> kPerformanceCodes = {1, 3, 6, 12, 18, 30, 60, 90};

int PerformanceIndexOfCode(int code) {
    for (size_t i = 0; i < kPerformanceCodes.size(); ++i)
        if (kPerformanceCodes[i] == code) return int(i);
    return -1;
}

// ShowRates mode of a device type; -1 leaves the rates as they are.
int RateModeOfType(int type) {
    switch (type) {
        case 0:
        case 2:
            return 0;
        case 1:
            return 1;
        case 4:
            return 2;
        case 3:
        case 5:
            return 3;
        default:
            return -1;
    }
}

bool HighRate(int code) {
    return code == 16 || code == 32 || code == 64;
}

bool HighRateReceiver(int type) {
    return type == 1 || type == 4 || type == 5;
}

struct TipsPosition {
    int language;
    int modeX;
    int performanceX;
};
const TipsPosition kTipsPositions[] = {{0, 203, 630}, {1, 205, 600}, {2, 235, 630}, {3, 265, 750},
                                       {4, 203, 530}, {5, 203, 530}, {7, 178, 630}};

}  // namespace

Sensor::Sensor(QWidget* parent) : QWidget(parent), ui(new Ui_Sensor) {
    ui->setupUi(this);
    formBuilt_ = true;
    ui->frame_3->show();
    PictureFolder = SensorStyles::SensorPictureFolder();
    SensorPageFolder = Paths::UserDataDir() + "/usersetting/SensorPage";
    PostMsg::Connect(SIGNAL(SigHideModel(int)), this, SLOT(SlotHideModel(int)));
    QDir().mkpath(SensorPageFolder);

    for (QComboBox* list :
         {static_cast<QComboBox*>(ui->ModelChoose), static_cast<QComboBox*>(ui->PerformanceOpen)}) {
        list->setStyleSheet(SensorStyles::ComboSheet(PictureFolder, true));
        SensorStyles::InstallPopupView(list);
    }
    ui->PerformanceOpen->setMaxVisibleItems(5);

    ParseSensorHeader(&Capabilities);

    const QString labelColour = OptionColorText("LabelColor");
    ui->label_5->setStyleSheet(SensorStyles::CaptionSheet());
    ui->label->setStyleSheet(SensorStyles::TipsSheet(PictureFolder));
    ui->label_2->setStyleSheet(SensorStyles::TipsSheet(PictureFolder));
    ui->Performance->setStyleSheet("QCheckBox{color: rgb(" + labelColour +
                                   ";);}QCheckBox::indicator:checked {image: url(" + PictureFolder +
                                   "CheckBoxChecked.png);}QCheckBox::indicator:unchecked {image: url(" +
                                   PictureFolder + "CheckBox.png);}");
    for (QWidget* title : {ui->TitleButton, ui->TitleButton_2, ui->TitleButton_4})
        title->setStyleSheet("#" + title->objectName() + "{border-image: url(" + PictureFolder +
                             "Title.png);}");

    ModelChooseView = qobject_cast<QListView*>(ui->ModelChoose->view());

    PostMsg::Connect(SIGNAL(SigUpDataLightSensor(FlashDataMap)), this,
                     SLOT(SlotUpDataSenSorUISensor(FlashDataMap)));
    PostMsg::Connect(SIGNAL(SigFormReset()), this, SLOT(SlotFormReset()));
    PostMsg::Connect(SIGNAL(SigUpDataReportRate(int)), this, SLOT(SlotUpDataReportRate(int)));
    PostMsg::Connect(SIGNAL(SigUpDataDPI(int)), this, SLOT(SlotUpDataDPI(int)));
    PostMsg::Connect(SIGNAL(SigUpDataSensorUIB(FlashDataMap)), this, SLOT(SlotUpDataSenSorUIB(FlashDataMap)));
    PostMsg::Connect(SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    SlotAllLanguage(CurrentLanguage);
}

Sensor::~Sensor() {
    delete ui;
}

QString Sensor::ModelGroup() const {
    return "Drive" + QString::number(CurrentDeviceCopy().DriveIndex + 1);
}

bool Sensor::ModelListed(const QString& list) const {
    return list.contains(CurrentSensorModel);
}

void Sensor::ShowSensorModeQuietly(int index) {
    const QSignalBlocker blocker(ui->ModelChoose);
    ui->ModelChoose->setCurrentIndex(index);
}

void Sensor::ShowChosenSensorMode() {
    int mode = 0;
    {
        std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
        mode = CurrentFlashData.SensorModeIndex;
    }
    ui->ModelChoose->setEnabled(true);
    ui->ModelChoose->setCurrentIndex(mode);
    ConfirmedSensorMode = mode;
    if (ModelChooseView) ModelChooseView->setRowHidden(2, true);
}

void Sensor::ShowCordedSensorMode() {
    if (ModelChooseView) ModelChooseView->setRowHidden(2, false);
    ui->ModelChoose->setCurrentIndex(2);
    ConfirmedSensorMode = 2;
    ui->ModelChoose->setEnabled(false);
}

void Sensor::ShowLodEntries() {
    if (CurrentSensorModel == "3950")
        ui->frameLOD->AddShortLod();
    else
        ui->frameLOD->RemoveShortLod();
}

void Sensor::SlotUpDataSenSorUISensor(FlashDataMap DataMap) {
    SensorPageRefreshed = false;
    Fill(DataMap);
    SensorPageRefreshed = true;
    PostMsg::GetInstance()->EmitSigtVis(0);
}

void Sensor::SlotUpDataSenSorUIB(FlashDataMap DataMap) {
    Fill(DataMap);
    PostMsg::GetInstance()->EmitSigtVis(0);
}

void Sensor::Fill(const FlashDataMap& image) {
    SensorDPI* dpi = ui->frameDpi;
    const DeviceAllInfo device = CurrentDeviceCopy();
    const QString group = ModelGroup();
    dpi->EnableSlider();
    dpi->ClearLevelCountItems();
    dpi->BlockSliderSignals(true);
    dpi->SetSliderEnabled(true);
    SensorPageRefreshing = true;
    const int current = image.CurrentDpiLevel;
    dpi->SetCurrentLevelIndex(current);

    const int rate = ReportRateIndexOfCode(image.ReportRateCode);
    if (rate >= 0) {
        ui->frameRate->SetRate(rate);
        if (device.IsUsb && (image.ReportRateCode == 16 || image.ReportRateCode == 32))
            ui->frameRate->SetRate(3);
    }

    CurrentSensorModel = ConfigIni::GetInstance()->GetValue(group, "Sensor");
    ShowLodEntries();

    if (!ModelListed(Capabilities.SensorModeModels)) {
        ui->ModelChoose->setEnabled(false);
    } else {
        ui->ModelChoose->setEnabled(true);
        if (device.IsUsb || (HighRateReceiver(device.Type) && HighRate(image.ReportRateCode))) {
            ShowCordedSensorMode();
        } else {
            ui->ModelChoose->setCurrentIndex(image.SensorModeIndex);
            ConfirmedSensorMode = image.SensorModeIndex;
            if (ModelChooseView) ModelChooseView->setRowHidden(2, true);
        }
    }

    ui->frameLOD->SetLod(image.LodCode - 1);

    const bool performance = image.PerformanceMode != 0;
    ui->Performance->setChecked(performance);
    ui->PerformanceOpen->setEnabled(performance);
    PostMsg::GetInstance()->EmitSig20KOpen(performance);
    const int time = PerformanceIndexOfCode(image.PerformanceTimeCode);
    if (time >= 0) {
        ui->PerformanceOpen->setCurrentIndex(time);
        ConfirmedPerformanceTime = time;
    }

    ui->frame->SetChecked(image.RippleControl != 0);
    ui->frame_4->SetChecked(image.AngleSnap != 0);
    ui->frame_3->SetChecked(image.MotionSyncEnable != 0);

    const int places = qBound(1, ConfigIni::GetInstance()->GetValue(group, "DPIMaxGrade").toInt(), 8);
    dpi->BlockLevelCountSignals(true);
    for (int i = 0; i < places; ++i) {
        const DpiLevelRecord& r = image.DpiLevels[i];
        dpi->SetLevelColor(i, QString("#%1%2%3")
                                  .arg(r.ColorR, 2, 16, QChar('0'))
                                  .arg(r.ColorG, 2, 16, QChar('0'))
                                  .arg(r.ColorB, 2, 16, QChar('0')));
        dpi->InsertLevelCountItem(i, QString::number(i + 1));
    }
    dpi->BlockLevelCountSignals(false);
    dpi->SetSelectedSwatch(current);

    const bool twoInOne = ConfigIni::GetInstance()->GetValue(group, "XIn1").toInt() == 2;
    for (QWidget* widget : std::initializer_list<QWidget*>{ui->TitleButton_4, ui->label_5, ui->label_11,
                                                           ui->ModelChoose, ui->frameLOD, ui->Performance,
                                                           ui->PerformanceOpen, ui->frame, ui->frame_4})
        widget->setVisible(!twoInOne);
    ui->frame_3->show();

    LoadDpiRange(group, &DpiRangeMinText, &DpiRangeMaxText);
    dpi->SetSliderMaximum(DpiRangeMaxText.toInt());
    dpi->SetSliderMinimum(DpiRangeMinText.toInt());

    for (int i = 0; i < places; ++i) {
        const int value = DecodeLevelDpi(image.DpiLevels[i]);
        dpi->SetLevelText(i, QString::number(value));
        if (i == current) {
            PostMsg::GetInstance()->EmitSigAddSensor(value);
            dpi->SetSliderValue(value);
            dpi->SetSpinValue(value);
        }
    }
    const int count = qBound(1, int(image.DpiLevelCount), 8);
    dpi->ShowLevels(count - 1);
    dpi->SetLevelCountIndex(count - 1);
    dpi->MoveLevelMarker(current + 1);
    dpi->SetCurrentLevel(current);

    const int mode = RateModeOfType(device.Type);
    if (mode >= 0) ui->frameRate->ShowRates(mode);

    ui->frameLOD->SetEnabled(true);
    ui->frame->setVisible(ModelListed(Capabilities.RippleModels));
    ui->frame_4->setVisible(ModelListed(Capabilities.FixLineModels));
    ui->frame_3->show();

    dpi->BlockSliderSignals(false);
    SensorPageRefreshing = false;
}

void Sensor::SlotFormReset() {
    SensorDPI* dpi = ui->frameDpi;
    const DeviceAllInfo device = CurrentDeviceCopy();
    SensorPageRefreshing = true;
    dpi->SetSliderMaximum(32000);
    dpi->SetSliderMinimum(50);
    dpi->LoadDriveDefaults();
    dpi->ClearLevelCountItems();
    for (int i = 0; i < 6; ++i) dpi->InsertLevelCountItem(i, QString::number(i + 1));
    dpi->BlockLevelCountSignals(false);
    dpi->ShowLevels(5);
    dpi->SetLevelCountIndex(5);
    dpi->MoveLevelMarker(2);
    dpi->SetCurrentLevel(1);
    dpi->SetSliderValue(1600);
    dpi->SetSpinValue(1600);
    PostMsg::GetInstance()->EmitSigAddSensor(1600);

    if (device.Type <= 5) {
        const int mode = RateModeOfType(device.Type);
        if (mode >= 0) ui->frameRate->ShowRates(mode);
        ui->frameRate->SetRate(3);
        ShowSensorModeQuietly(0);
        ConfirmedSensorMode = 0;
    }
    if (device.IsUsb) {
        ShowSensorModeQuietly(0);
        ConfirmedSensorMode = 0;
    }
    CurrentSensorModel = ConfigIni::GetInstance()->GetValue(ModelGroup(), "Sensor");
    ShowLodEntries();
    {
        const QSignalBlocker blocker(ui->PerformanceOpen);
        ui->PerformanceOpen->setCurrentIndex(2);
    }
    ConfirmedPerformanceTime = 2;
    ui->frameLOD->SetLod(0);
    ui->Performance->setChecked(false);
    PostMsg::GetInstance()->EmitSig20KOpen(false);
    ui->PerformanceOpen->setEnabled(false);
    ui->frame_3->SetChecked(true);
    ui->frame_4->SetChecked(false);
    ui->frame->SetChecked(false);
    SensorPageRefreshing = false;
    PostMsg::GetInstance()->EmitSigtVis(0);
}

void Sensor::SlotUpDataDPI(int index) {
    UiLive = false;
    ui->frameDpi->MoveLevelMarker(index + 1);
    if (index >= 0 && index < 8) {
        ui->frameDpi->SetCurrentLevel(index);
        ui->frameDpi->SetCurrentLevelIndex(index);
    }
    UiLive = true;
}

void Sensor::SlotUpDataReportRate(int index) {
    const int rate = ReportRateIndexOfCode(index);
    if (rate < 0) return;
    ui->frameRate->SetRate(rate);
    if (!ModelListed(Capabilities.SensorModeModels) || CurrentDeviceCopy().IsUsb) return;
    if (HighRate(index))
        ShowCordedSensorMode();
    else
        ShowChosenSensorMode();
}

void Sensor::SlotHideModel(int index) {
    const DeviceAllInfo device = CurrentDeviceCopy();
    const bool listed = ModelListed(Capabilities.SensorModeModels);
    if (index == 0 && !device.IsUsb && listed) ShowChosenSensorMode();
    if (index == 1 && HighRateReceiver(device.Type) && listed) ShowCordedSensorMode();
}

void Sensor::SlotAllLanguage(int index) {
    for (const TipsPosition& position : kTipsPositions) {
        if (position.language != index) continue;
        ui->label->move(position.modeX, 361);
        ui->label_2->move(position.performanceX, 361);
        ui->frameLOD->SetTipsPos(index);
        ui->frame->SetTipsPos(index);
        ui->frame_3->SetTipsPos(index);
        ui->frame_4->SetTipsPos(index);
    }
    auto text = [index](const char* key) { return LanguageText(MouseSensorTexts, index, key); };
    ui->frameDpi->SetTitleText(text("DPISetting"));
    ui->frameRate->SetTitleText(text("ReportRate"));
    ui->label_5->setText(text("SensorSetting"));
    ui->label_11->setText(text("SensorMode"));
    // The modes' names ("Corded" among them) in the language, as the list shows them.
    for (int mode = 0; mode < ui->ModelChoose->count(); ++mode)
        ui->ModelChoose->setItemText(mode, LanguageText(MouseSensorModeLabels, index, QString::number(mode)));
    ui->label->setToolTip(text("SensorModeTips"));
    ui->frameLOD->SetText(text("LOD"));
    ui->frameLOD->SetTips(text("LODTips"));
    ui->frame_3->SetText(text("MotionSync"));
    ui->frame_3->SetTips(text("MotionSyncTips"));
    ui->Performance->setText(text("Performance"));
    ui->label_2->setToolTip(text("PerformanceTips"));
    for (size_t i = 0; i < kPerformanceCodes.size(); ++i)
        ui->PerformanceOpen->setItemText(
            int(i), LanguageText(MousePerformanceLabels, index, QString::number(kPerformanceCodes[i])));
    ui->frame->SetText(text("Ripple"));
    ui->frame->SetTips(text("RippleTips"));
    ui->frame_4->SetText(text("Angle"));
    ui->frame_4->SetTips(text("AngleTips"));
}

void Sensor::on_ModelChoose_currentIndexChanged(int index) {
    if (!UiLive || SensorPageRefreshing || index == 2 || index < 0) return;
    if (SetSensorMode(index))
        ConfirmedSensorMode = index;
    else
        ShowSensorModeQuietly(ConfirmedSensorMode);
}

void Sensor::on_Performance_clicked(bool checked) {
    if (UiLive) {
        if (SetPerformanceMode(checked ? 1 : 0)) {
            PostMsg::GetInstance()->EmitSig20KOpen(checked);
        } else {
            const QSignalBlocker blocker(ui->Performance);
            ui->Performance->setChecked(!checked);
            ui->PerformanceOpen->setEnabled(!checked);
        }
    }
    PostMsg::GetInstance()->EmitSigtVis(0);
}

void Sensor::on_Performance_toggled(bool checked) {
    ui->PerformanceOpen->setEnabled(checked);
}

void Sensor::on_PerformanceOpen_currentIndexChanged(int index) {
    if (!UiLive || SensorPageRefreshing || index < 0 || index >= int(kPerformanceCodes.size())) return;
    if (!IsDeviceOnline()) {
        const QSignalBlocker blocker(ui->PerformanceOpen);
        ui->PerformanceOpen->setCurrentIndex(ConfirmedPerformanceTime);
        return;
    }
    if (SetPerformanceTime(kPerformanceCodes[size_t(index)])) {
        ConfirmedPerformanceTime = index;
    } else {
        const QSignalBlocker blocker(ui->PerformanceOpen);
        ui->PerformanceOpen->setCurrentIndex(ConfirmedPerformanceTime);
    }
}

void Sensor::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (formBuilt_) ui->PerformanceOpen->setEnabled(ui->Performance->isChecked());
}
