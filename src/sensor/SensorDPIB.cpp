#include "sensor/SensorDPIB.h"

#include <QButtonGroup>
#include <QSignalBlocker>
#include <mutex>

#include "core/CurrentFlashData.h"
#include "core/DeviceAllInfo.h"
#include "core/PostMsg.h"
#include "device/DeviceCommand.h"
#include "device/DeviceFlags.h"
#include "hidusb/HIDUsb.h"
#include "sensor/LevelColorDialog.h"
#include "sensor/SensorHeader.h"
#include "sensor/SensorStyles.h"
#include "ui_SensorDPIB.h"
#include "widgets/ColorText.h"

namespace {
const char* const kStartColors[SensorDPIB::kLevels] = {"#ff0000", "#ffff00", "#ffaa00", "#00ff00",
                                                       "#aaffff", "#aa55ff", "#9f0000", "#00d4d4"};
const char* const kPresetColors[SensorDPIB::kLevels] = {"#ff0000", "#00ffff", "#00ff00", "#ffffff",
                                                        "#00ffff", "#ff557d", "#ff00ff", "#00ffff"};

bool ValidLevel(int level) {
    return level >= 0 && level < SensorDPIB::kLevels;
}

bool LibraryOnline() {
    const QByteArray path = CurrentDevicePathCopy();
    return !path.isEmpty() && UsbFinderC_GetDeviceOnLine(path.constData());
}

bool OfflineWhileLive() {
    return UiLive && !SensorPageRefreshing && !LibraryOnline();
}
}  // namespace

SensorDPIB::SensorDPIB(QWidget* parent)
    : QFrame(parent),
      ui(new Ui_SensorDPIB),
      ColorDialog(new LevelColorDialog(this)),
      PictureFolder(SensorStyles::SensorPictureFolder()),
      LevelButtonGroup(new QButtonGroup(this)) {
    ui->setupUi(this);
    connect(ColorDialog, &LevelColorDialog::ColorChosen, this, &SensorDPIB::SetColor);
    LevelButtonGroup->setExclusive(true);
    ui->label->setStyleSheet(SensorStyles::CaptionSheet());
    ui->ChooseEvent->setStyleSheet(SensorStyles::ComboSheet(PictureFolder, false));
    SensorStyles::InstallPopupView(ui->ChooseEvent);
    ui->ChooseEvent->setMaxVisibleItems(5);
    const QString slider = SensorStyles::WideSliderSheet(PictureFolder);
    for (int i = 0; i < kLevels; ++i) {
        LevelColors[size_t(i)] = kStartColors[i];
        Slider(i)->setStyleSheet(slider);
        Number(i)->setStyleSheet(SensorStyles::NumberSheet("LinEditColorSecond", true));
        Box(i)->setStyleSheet(SensorStyles::IndicatorCheckBoxSheet(PictureFolder));
        RestyleSwatch(i, "rgb(255, 0, 0)");
        LevelButtonGroup->addButton(Box(i));
        connect(Slider(i), &QSlider::valueChanged, this, [this, i](int value) { SliderReleased(i, value); });
        connect(Box(i), &QCheckBox::toggled, this, [this, i](bool checked) { LevelChecked(i, checked); });
        connect(Swatch(i), &QToolButton::clicked, this, [this, i] {
            ColorEditLevel = i;
            ColorDialog->Open(QColor(LevelColors[size_t(i)]));
        });
    }
}

SensorDPIB::~SensorDPIB() {
    delete ui;
}

QSlider* SensorDPIB::Slider(int level) const {
    QSlider* const sliders[kLevels] = {ui->horizontalSliderA, ui->horizontalSliderB, ui->horizontalSliderC,
                                       ui->horizontalSliderD, ui->horizontalSliderE, ui->horizontalSliderF,
                                       ui->horizontalSliderG, ui->horizontalSliderH};
    return sliders[level];
}

QSpinBox* SensorDPIB::Number(int level) const {
    QSpinBox* const numbers[kLevels] = {ui->spinBoxA, ui->spinBoxB, ui->spinBoxC, ui->spinBoxD,
                                        ui->spinBoxE, ui->spinBoxF, ui->spinBoxG, ui->spinBoxH};
    return numbers[level];
}

QCheckBox* SensorDPIB::Box(int level) const {
    QCheckBox* const boxes[kLevels] = {ui->MA, ui->MB, ui->MC, ui->MD, ui->ME, ui->MF, ui->MG, ui->MH};
    return boxes[level];
}

QToolButton* SensorDPIB::Swatch(int level) const {
    QToolButton* const swatches[kLevels] = {ui->BlueButtonA,      ui->BrightRedButtonA,  ui->RedButtonA,
                                            ui->YellowButtonA,    ui->GreenButtonA,      ui->PurpleButtonA,
                                            ui->LightBlueButtonA, ui->LightYellowButtonA};
    return swatches[level];
}

void SensorDPIB::RestyleSwatch(int level, const QString& colour) {
    Swatch(level)->setStyleSheet(
        "QToolButton{border:0px;border-radius:3px;background-position:center;background-repeat:no-repeat;"
        "background-color:" +
        colour + ";}");
}

// ---- Host setters: they show and never send ----

void SensorDPIB::SetTitleText(const QString& text) {
    ui->label->setText(text);
}

void SensorDPIB::InsertLevelCountItem(int index, const QString& text) {
    const QSignalBlocker blocker(ui->ChooseEvent);
    ui->ChooseEvent->insertItem(index, text);
}

void SensorDPIB::ClearLevelCountItems() {
    const QSignalBlocker blocker(ui->ChooseEvent);
    ui->ChooseEvent->clear();
}

bool SensorDPIB::BlockLevelCountSignals(bool block) {
    return ui->ChooseEvent->blockSignals(block);
}

void SensorDPIB::SetLevelCountIndex(int index) {
    const QSignalBlocker blocker(ui->ChooseEvent);
    ui->ChooseEvent->setCurrentIndex(index);
}

void SensorDPIB::BlockSliderSignals(bool block) {
    for (int i = 0; i < kLevels; ++i) Slider(i)->blockSignals(block);
}

void SensorDPIB::SetSliderEnabled(bool enabled) {
    for (int i = 0; i < kLevels; ++i) Slider(i)->setEnabled(enabled);
}

void SensorDPIB::SetSliderMinimum(int value) {
    for (int i = 0; i < kLevels; ++i) Slider(i)->setMinimum(value);
}

void SensorDPIB::SetSliderMaximum(int value) {
    for (int i = 0; i < kLevels; ++i) Slider(i)->setMaximum(value);
}

void SensorDPIB::SetSliderValue(int value, int level) {
    if (!ValidLevel(level)) return;
    const QSignalBlocker blocker(Slider(level));
    Slider(level)->setValue(value);
}

void SensorDPIB::SetSpinValue(int value, int level) {
    if (ValidLevel(level)) Number(level)->setValue(value);
}

void SensorDPIB::SetLevelValue(int level, const QString& dpi) {
    if (!ValidLevel(level)) return;
    SetSliderValue(dpi.trimmed().toInt(), level);
    Number(level)->setValue(dpi.trimmed().toInt());
}

void SensorDPIB::SetLevelColor(int level, const QString& colour) {
    if (ValidLevel(level)) LevelColors[size_t(level)] = colour;
}

void SensorDPIB::RestyleAllSwatches() {
    for (int i = 0; i < kLevels; ++i) RestyleSwatch(i, LevelColors[size_t(i)]);
}

void SensorDPIB::SetPresetSwatchColors() {
    for (int i = 0; i < kLevels; ++i) RestyleSwatch(i, kPresetColors[i]);
}

void SensorDPIB::SetCurrentLevelIndex(int level) {
    if (ValidLevel(level)) CurrentLevel = level;
}

void SensorDPIB::SetCurrentLevel(int level) {
    if (!ValidLevel(level)) return;
    const QSignalBlocker blocker(Box(level));
    Box(level)->setChecked(true);
}

void SensorDPIB::CheckLevelButton(int level) {
    if (OfflineWhileLive()) {
        PostMsg::GetInstance()->EmitSigMouseOffLineo(0);
        return;
    }
    if (ValidLevel(level)) Box(level)->setChecked(true);
}

void SensorDPIB::ShowLevels(int lastIndex) {
    if (!ValidLevel(lastIndex)) return;
    for (int i = 0; i < kLevels; ++i) {
        const bool shown = i <= lastIndex;
        for (QWidget* widget : {static_cast<QWidget*>(Swatch(i)), static_cast<QWidget*>(Slider(i)),
                                static_cast<QWidget*>(Number(i)), static_cast<QWidget*>(Box(i))})
            widget->setVisible(shown);
    }
}

// ---- User actions ----

void SensorDPIB::SliderReleased(int level, int value) {
    if (OfflineWhileLive()) {
        Number(level)->setValue(value);
        PostMsg::GetInstance()->EmitSigMouseOffLineo(0);
        return;
    }
    int pageStep = Slider(level)->pageStep();
    const int v = SnapToDpiSegments(value, &pageStep);
    Slider(level)->setPageStep(pageStep);
    Number(level)->setValue(v);
    if (!DpiSendSuppressed && !SensorPageRefreshing) SendSensorDPI(level, v);
}

void SensorDPIB::LevelChecked(int level, bool checked) {
    if (!checked || !UiLive || SensorPageRefreshing) return;
    CurrentLevel = level;
    SetCurrentDpiLevel(level);
}

void SensorDPIB::SetColor(QColor color) {
    if (!ValidLevel(ColorEditLevel)) return;
    const int level = ColorEditLevel;
    const QString text = QString("#%1%2%3")
                             .arg(color.red(), 2, 16, QChar('0'))
                             .arg(color.green(), 2, 16, QChar('0'))
                             .arg(color.blue(), 2, 16, QChar('0'));
    LevelColors[size_t(level)] = text;
    if (UiLive && !SensorPageRefreshing) SetDpiLevelColor(level, color.red(), color.green(), color.blue());
    RestyleSwatch(level, text);
}

void SensorDPIB::on_ChooseEvent_currentIndexChanged(int index) {
    if (!ValidLevel(index) || SensorPageRefreshing) return;
    LevelBeforeCountChange = CurrentLevel;
    const int p = CurrentLevel;
    if (ValidLevel(p) && p > index) {
        BlockSliderSignals(true);
        std::swap(LevelColors[size_t(p)], LevelColors[size_t(index)]);
        RestyleSwatch(p, LevelColors[size_t(p)]);
        RestyleSwatch(index, LevelColors[size_t(index)]);
        const int valueP = Number(p)->value();
        const int valueA = Number(index)->value();
        Slider(p)->setValue(valueA);
        Number(p)->setValue(valueA);
        Slider(index)->setValue(valueP);
        Number(index)->setValue(valueP);
        Box(index)->setChecked(true);
        CurrentLevel = index;
        if (UiLive) {
            DpiLevelRecord recordA{};
            DpiLevelRecord recordP{};
            {
                std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
                recordA = CurrentFlashData.DpiLevels[index];
                recordP = CurrentFlashData.DpiLevels[p];
            }
            ExchangeDpiLevels(recordA, recordP, index, p, index);
        }
        BlockSliderSignals(false);
    }
    ShowLevels(index);
    if (!UiLive) return;
    SetDpiLevelCount(index + 1);
}
