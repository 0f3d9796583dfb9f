#include "sensor/Advanced.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QStringList>
#include <QTabBar>
#include <array>

#include "core/DeviceAllInfo.h"
#include "core/DeviceProductTable.h"
#include "core/LanguageTables.h"
#include "core/PostMsg.h"
#include "sensor/AngleMove.h"
#include "sensor/CurvePlotWidget.h"
#include "sensor/FastClick.h"
#include "sensor/KFPS20.h"
#include "sensor/LongMode.h"
#include "sensor/SensorStyles.h"
#include "sensor/StopCloseTime.h"
#include "ui_Advanced.h"

namespace {

// Tips icons by language: sleep time, 20K scanning, angle tuning, DPI sensitivity; x < 0 leaves them.
struct TipsRow {
    QPoint Sleep, Scan, Angle, Sensitivity;
};
const std::array<TipsRow, 8> kTipsRows = {{
    {{225, 53}, {300, 6}, {230, 6}, {280, 54}},
    {{315, 53}, {400, 6}, {270, 6}, {290, 54}},
    {{250, 53}, {400, 6}, {270, 6}, {290, 54}},
    {{165, 53}, {320, 6}, {230, 6}, {230, 54}},
    {{225, 53}, {300, 6}, {220, 6}, {200, 54}},
    {{225, 53}, {300, 6}, {220, 6}, {200, 54}},
    {{-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}},
    {{205, 53}, {290, 6}, {200, 6}, {290, 54}},
}};

// X of the angle tips icon in a layout pass, by language, with and without long range.
const std::array<int, 8> kAngleTipsWithLongRange = {230, 230, 230, 280, 220, 220, 220, 200};
const std::array<int, 8> kAngleTipsWithout = {230, 170, 170, 280, 220, 220, 220, 200};

// "Adveanced" item 0 of the current model: "-1" (or missing, or empty) means no long range.
bool ModelHasLongRange() {
    const QString item =
        DeviceProductTable::ListItem(CurrentDeviceCopy().DriveIndex, "Adveanced", 0).trimmed();
    return !item.isEmpty() && item != "-1";
}

// The button name shown by the trigger-point panel: the fourth label of the value, latest filed first;
// with fewer labels the earliest filed one.
QString ButtonName(int language, const QString& value) {
    const QStringList labels = KeyOptionLabels(language, value);
    if (labels.isEmpty()) return QString();
    return labels.size() >= 4 ? labels.at(3) : labels.last();
}

}  // namespace

Advanced::Advanced(QWidget* parent)
    : QWidget(parent), ui(new Ui_Advanced), PictureFolder(SensorStyles::AdvancedPictureFolder()) {
    ui->setupUi(this);
    for (CurvePlotWidget* plot : {ui->PicA, ui->PicB, ui->PicC, ui->PicD}) plot->EditFlag = 0;

    ModeGroup = new QButtonGroup(this);
    ModeGroup->setExclusive(true);
    for (QAbstractButton* box : {ui->checkBox_3, ui->checkBox_4, ui->checkBox_5, ui->checkBox_6})
        ModeGroup->addButton(box);
    ui->AdvancedTab->setCurrentIndex(0);
    ui->ModeTab->setCurrentIndex(0);
    ui->checkBox_3->setChecked(true);

    ui->verticalScrollBar->hide();
    ui->verticalScrollBar->setStyleSheet(
        "QScrollBar:vertical{width:12px;background:#3f3f3f;border-radius:6px;margin:0px;}"
        "QScrollBar::handle:vertical{background:#5B5B5B;border-radius:5px;min-height:20px;}"
        "QScrollBar::handle:vertical:hover{background:#666666;}"
        "QScrollBar::add-line:vertical,QScrollBar::sub-line:vertical{height:0px;}"
        "QScrollBar::add-page:vertical,QScrollBar::sub-page:vertical{background:transparent;}");
    ui->FrameLongMode->hide();

    SensorStyles::SetTitleMarker(ui->TitleButton, PictureFolder);
    SensorStyles::SetTitleMarker(ui->TitleButton_5, PictureFolder);
    const QString pane =
        "QTabWidget::pane {    border: 0px solid #AAAAAA;    background-color: transparent;}";
    ui->AdvancedTab->setStyleSheet(pane);
    ui->ModeTab->setStyleSheet(pane);
    for (QWidget* label :
         {ui->label, ui->label_2, ui->label_4, ui->label_8, ui->label_9, ui->label_10, ui->label_11})
        label->setStyleSheet(SensorStyles::CaptionSheet());
    ui->checkBox_2->setStyleSheet(
        SensorStyles::CheckBoxSheet(PictureFolder, "CheckBoxChecked.png", "CheckBox.png"));
    for (QWidget* box : {ui->checkBox_3, ui->checkBox_4, ui->checkBox_5, ui->checkBox_6})
        box->setStyleSheet(SensorStyles::IndicatorCheckBoxSheet(PictureFolder));
    ui->Error->setStyleSheet(SensorStyles::TipsSheet(PictureFolder));
    ui->Error_4->setStyleSheet(SensorStyles::TipsSheet(PictureFolder));
    ui->AdvancedTab->tabBar()->hide();
    ui->ModeTab->tabBar()->hide();

    PostMsg::Connect(SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    PostMsg::Connect(SIGNAL(SigFormReset()), this, SLOT(SlotFormReset()));
    PostMsg::Connect(SIGNAL(SigUpDataLightSensor(FlashDataMap)), this,
                     SLOT(SlotUpDataSenSorUISensor(FlashDataMap)));
    PostMsg::Connect(SIGNAL(SigUpDataSensorUIB(FlashDataMap)), this, SLOT(SlotUpDataSenSorUIB(FlashDataMap)));
    PostMsg::Connect(SIGNAL(SigForm()), this, SLOT(SlotForm()));
    PostMsg::Connect(SIGNAL(SigFormB()), this, SLOT(SlotFormB()));
    PostMsg::Connect(SIGNAL(SigLongRangeMode(bool)), this, SLOT(SlotLongRangeMode(bool)));
    PostMsg::Connect(SIGNAL(Sig20KOpen(bool)), this, SLOT(Slot20KOpen(bool)));
    PostMsg::Connect(SIGNAL(SigtVis(int)), this, SLOT(SetPos(int)));

    SlotAllLanguage(CurrentLanguage);
    SetModeLabelColours(false);
    for (QWidget* box : {ui->checkBox_6, ui->checkBox_3, ui->checkBox_4, ui->checkBox_5})
        box->setEnabled(false);
}

Advanced::~Advanced() {
    delete ui;
}

void Advanced::SetModeLabelColours(bool on) {
    const QString sheet =
        on ? SensorStyles::CaptionSheet() : QStringLiteral("QLabel{color: rgb(115,115,115);}");
    for (QWidget* label : {ui->label_8, ui->label_9, ui->label_10, ui->label_11}) label->setStyleSheet(sheet);
}

void Advanced::SetPos(int) {
    ui->FrameFPS->hide();
    ui->FrameLongMode->setVisible(LongRangeFlag);
    ui->FrameAngle->hide();
    const int language = CurrentLanguage;
    if (language >= 0 && language < 8) {
        const auto& xs = LongRangeFlag ? kAngleTipsWithLongRange : kAngleTipsWithout;
        ui->FrameAngle->SetTipsPos(xs[size_t(language)], 6);
    }
    if (LongRangeFlag) ui->FrameLongMode->move(0, 160);
    ui->FrameAngle->move(0, LongRangeFlag ? 263 : 160);
}

void Advanced::ShowLongRange(bool offered) {
    LongRangeFlag = offered;
    ui->FrameLongMode->setVisible(offered);
}

void Advanced::SlotForm() {
    ShowLongRange(ModelHasLongRange() && !CurrentDeviceCopy().IsUsb);
    PostMsg::GetInstance()->EmitSigtVis(0);
}

void Advanced::SlotFormB() {
    SlotForm();
}

void Advanced::SlotLongRangeMode(bool Select) {
    if (ModelHasLongRange()) {
        ShowLongRange(true);
        ui->FrameLongMode->SetChecked(Select);
    }
    PostMsg::GetInstance()->EmitSigtVis(0);
}

void Advanced::Slot20KOpen(bool) {}

void Advanced::Fill(const FlashDataMap& image) {
    const int angle = int(static_cast<int8_t>(image.AngleTune));
    ui->FrameAngle->SetPictureAngle(angle);
    ui->FrameAngle->SetAngleSilently(angle);
    ui->FrameAngle->SetAngleText(AngleText(angle));
    ConfirmedAngle = angle;
    for (size_t i = 0; i < kSleepCodes.size(); ++i)
        if (kSleepCodes[i] == image.SleepTimeCode) ui->frameClose->SetSleepIndex(int(i));
    ui->FrameFPS->SetChecked(image.Scan20K == 1);
    ui->FrameFastClick->SetLeftPressTrigger((image.TriggerFlags & kTriggerLeftBit) != 0);
    ui->FrameFastClick->SetRightPressTrigger((image.TriggerFlags & kTriggerRightBit) != 0);
    PostMsg::GetInstance()->EmitSigtVis(0);
}

void Advanced::SlotUpDataSenSorUISensor(FlashDataMap DataMap) {
    ui->FrameAngle->SetSliderEnabled(true);
    Fill(DataMap);
}

void Advanced::SlotUpDataSenSorUIB(FlashDataMap DataMap) {
    ui->FrameAngle->setEnabled(true);
    Fill(DataMap);
}

void Advanced::SlotFormReset() {
    ui->frameClose->SetSleepIndex(2);
    ShowLongRange(true);
    ui->FrameFPS->SetChecked(false);
    ui->FrameAngle->SetAngleSilently(0);
    ConfirmedAngle = 0;
    ui->FrameAngle->SetAngleText(AngleText(0));
}

void Advanced::SlotAllLanguage(int index) {
    if (index >= 0 && index < int(kTipsRows.size()) && kTipsRows[size_t(index)].Sleep.x() >= 0) {
        const TipsRow& row = kTipsRows[size_t(index)];
        ui->Error->move(row.Sleep);
        ui->FrameFPS->SetTipsPos(row.Scan.x(), row.Scan.y());
        ui->FrameAngle->SetTipsPos(row.Angle.x(), row.Angle.y());
        ui->Error_4->move(row.Sensitivity);
    }
    const auto text = [index](const char* key) {
        return LanguageText(MouseAdvancedSettingsTexts, index, key);
    };
    CurveAxisTitleX = text("dpiModeTipsX");
    CurveAxisTitleY = text("dpiModeTipsY");
    ui->label_2->setText(text("dpiSensitivityTitle"));
    ui->Error_4->setToolTip(text("dpiSensitivityTips").replace("\n", "<br>"));
    ui->label_4->setText(text("dpiModeTitle"));
    const char* const modes[] = {"1", "2", "3", "0"};
    QLabel* const modeLabels[] = {ui->label_8, ui->label_9, ui->label_10, ui->label_11};
    for (int i = 0; i < 4; ++i) modeLabels[i]->setText(LanguageText(MouseDpiModeLabels, index, modes[i]));
    for (size_t i = 0; i < kSleepCodes.size(); ++i)
        ui->frameClose->SetItemText(
            int(i), LanguageText(MousePerformanceLabels, index, QString::number(kSleepCodes[i])));
    ui->label->setText(text("SleepTime"));
    ui->Error->setToolTip(text("SleepTimeTips"));
    ui->FrameFastClick->SetText(0, text("QuickTrigger"));
    ui->FrameFastClick->SetText(1, ButtonName(index, "0x0100"));
    ui->FrameFastClick->SetText(2, ButtonName(index, "0x0200"));
    ui->FrameFastClick->SetText(3, text("Presstrigger"));
    ui->FrameFastClick->SetText(4, text("BottomTrigger"));
}

void Advanced::on_checkBox_2_clicked(bool checked) {
    for (QWidget* box : {ui->checkBox_3, ui->checkBox_4, ui->checkBox_5, ui->checkBox_6})
        box->setEnabled(checked);
    SetModeLabelColours(checked);
}

void Advanced::ShowMode(bool checked, int page) {
    if (checked) ui->ModeTab->setCurrentIndex(page);
}

void Advanced::on_checkBox_3_clicked(bool checked) {
    ShowMode(checked, 0);
}
void Advanced::on_checkBox_4_clicked(bool checked) {
    ShowMode(checked, 1);
}
void Advanced::on_checkBox_5_clicked(bool checked) {
    ShowMode(checked, 2);
}
void Advanced::on_checkBox_6_clicked(bool checked) {
    ShowMode(checked, 3);
}

void Advanced::on_verticalScrollBar_valueChanged(int) {}

void Advanced::wheelEvent(QWheelEvent*) {}
