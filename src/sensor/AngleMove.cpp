#include "sensor/AngleMove.h"

#include <QSignalBlocker>

#include "core/LanguageTables.h"
#include "core/PostMsg.h"
#include "device/DeviceCommand.h"
#include "sensor/SensorStyles.h"
#include "ui_AngleMove.h"
#include "widgets/ColorText.h"
#include "widgets/MySlider.h"

int ConfirmedAngle = 0;

QString AngleText(int degrees) {
    return QString::number(degrees) + QStringLiteral("°");
}

AngleMove::AngleMove(QWidget* parent)
    : QFrame(parent), ui(new Ui_AngleMove), PictureFolder(SensorStyles::AdvancedPictureFolder()) {
    ui->setupUi(this);
    const QString& F = PictureFolder;
    SensorStyles::SetTitleMarker(ui->TitleButton_4, F);
    ui->Keydown_6->setStyleSheet("QLabel{background-color: transparent;color: rgb(" +
                                 OptionColorText("LabelColor") + ";);border-image: url(" + F +
                                 "Level.png);}");
    for (QWidget* label : {ui->Keydown_3, ui->Keydown_4, ui->Keydown_5, ui->label_7})
        label->setStyleSheet(SensorStyles::CaptionSheet());
    ui->AngleSet->setStyleSheet(
        "QSlider:groove:horizontal{height:3px;left: 0px;right: 0px;border:0px;border-radius:0px;"
        "background:rgba(0,0,0,50);}QSlider:handle:horizontal{ width:  14px;height: 14px;  margin-top: "
        "-6px;margin-left: 0px; margin-bottom: -6px;margin-right: 0px; border-image: url(" +
        F + "HuaKuai.png);} QSlider:sub-page:horizontal{background-color: rgb(" +
        OptionColorText("SliderColor") +
        ";);}QSlider:add-page:horizontal{background-color: rgb(136, 148, 158);}");
    ui->widget->SetImage(F + "Back.png");
    ui->widget->setStyleSheet(
        "#widget{border:0px;background-position:center;background-repeat:no-repeat;border-image: url(" + F +
        "Back.png);}");
    ui->widget_2->SetImage(F + "Component.png");
    ui->widget_2->setStyleSheet(
        "#widget_2{border:0px;background-position:center;background-repeat:no-repeat;background-image: url(" +
        F + "Component.png);}");
    ui->Error_3->setStyleSheet(SensorStyles::TipsSheet(F));
    PostMsg::Connect(SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    SlotAllLanguage(CurrentLanguage);
}

AngleMove::~AngleMove() {
    delete ui;
}

void AngleMove::SetAngleSilently(int degrees) {
    const QSignalBlocker blocker(ui->AngleSet);
    ui->AngleSet->setValue(degrees);
}

void AngleMove::SetSliderEnabled(bool enabled) {
    ui->AngleSet->setEnabled(enabled);
}

void AngleMove::SetPictureAngle(int degrees) {
    ui->widget_2->SetAngle(degrees);
}

void AngleMove::SetAngleText(const QString& text) {
    ui->Keydown_6->setText(text);
}

void AngleMove::SetTipsPos(int x, int y) {
    ui->Error_3->move(x, y);
}

void AngleMove::SlotAllLanguage(int index) {
    ui->label_7->setText(LanguageText(MouseAdvancedSettingsTexts, index, "AngularMode"));
    ui->Error_3->setToolTip(LanguageText(MouseAdvancedSettingsTexts, index, "AngularModeTips"));
}

void AngleMove::ShowAngle(int degrees) {
    ui->widget_2->SetAngle(degrees);
    ui->Keydown_6->setText(AngleText(degrees));
}

void AngleMove::on_AngleSet_sliderMoved(int position) {
    ShowAngle(position);
}

void AngleMove::on_AngleSet_valueChanged(int value) {
    ShowAngle(value);
    if (!ui->AngleSet->isEnabled()) {
        ui->AngleSet->setValue(ConfirmedAngle);
        return;
    }
    if (!UiLive || SensorPageRefreshing) return;
    if (SetAngleTune(value)) {
        ConfirmedAngle = value;
        return;
    }
    StopSteppingAfterPress(ui->AngleSet);
    const QSignalBlocker blocker(ui->AngleSet);
    ui->AngleSet->setEnabled(false);
    ShowAngle(ConfirmedAngle);
    ui->AngleSet->setValue(ConfirmedAngle);
}
