#include "home/PreVier.h"

#include <QLabel>

#include "core/LanguageTables.h"
#include "core/PostMsg.h"
#include "platform/Paths.h"
#include "ui_PreVier.h"
#include "widgets/ColorText.h"

PreVier::PreVier(QWidget* parent) : QWidget(parent), ui(new Ui::PreVier) {
    ui->setupUi(this);
    ui->MouseUp->hide();
    ui->DongleUp->hide();
    PictureFolder = Paths::InstallDir() + "/Picture/Buttoninterface/";

    const QString labelSheet = "QLabel{color: rgb(" + OptionColorText("LabelColor") + ";);}";
    for (QLabel* label :
         {ui->DpiName, ui->DpiValue, ui->ReportName, ui->ReportValue, ui->LodName, ui->LodValue,
          ui->MotionName, ui->DebunceValue, ui->ConfigName, ui->ConfigValue, ui->MouseVer, ui->MouseValue,
          ui->DongleVer, ui->DongleValue, ui->MouseUp, ui->DongleUp})
        label->setStyleSheet(labelSheet);
    const QString markSheet =
        "QLabel{border:0px;background-position:center;background-repeat:no-repeat;background-image: url(" +
        PictureFolder + "IsData.png);}";
    ui->MouseUp->setStyleSheet(markSheet);
    ui->DongleUp->setStyleSheet(markSheet);

    PostMsg::Connect(SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    PostMsg::Connect(SIGNAL(SigMouseIndex(int)), this, SLOT(SlotMouseIndex(int)));
    PostMsg::Connect(SIGNAL(SigAddSensor(int)), this, SLOT(SlotAddSensor(int)));
    PostMsg::Connect(SIGNAL(SigAddReport(int)), this, SLOT(SlotAddReport(int)));
    PostMsg::Connect(SIGNAL(SigAddLOD(QString)), this, SLOT(SlotAddLOD(QString)));
    PostMsg::Connect(SIGNAL(SigDebunce(QString)), this, SLOT(SlotDebnunce(QString)));
    PostMsg::Connect(SIGNAL(SigAddConfig(QString)), this, SLOT(SlotAddConfig(QString)));
    PostMsg::Connect(SIGNAL(SigAddVer(int, QString)), this, SLOT(SlotAddVer(int, QString)));
    PostMsg::Connect(SIGNAL(SigAddUpdate(int, bool)), this, SLOT(SlotAddUpdate(int, bool)));
    PostMsg::Connect(SIGNAL(SigSelectMouseInfo(DeviceAllInfo)), this, SLOT(SlotDeviceChosen()));
    SlotAllLanguage(CurrentLanguage);
}

PreVier::~PreVier() {
    delete ui;
}

void PreVier::SlotAllLanguage(int index) {
    ui->ReportName->setText(LanguageText(MouseSensorTexts, index, "ReportRate"));
    ui->MotionName->setText(LanguageText(MouseKeyTexts, index, "DebounceTime"));
    ui->ConfigName->setText(LanguageText(MouseKeyTexts, index, "configName"));
    ui->MouseVer->setText(LanguageText(MouseSettingsTexts, index, "MouseVersion"));
    ui->DongleVer->setText(LanguageText(MouseSettingsTexts, index, "DongleVersion"));
}

void PreVier::SlotMouseIndex(int index) {
    ui->widget->setStyleSheet(
        "#widget{border:0px;background-position:center;background-repeat:no-repeat;background-image: url(" +
        PictureFolder + "mouse" + QString::number(index) + ".png);}");
}

void PreVier::SlotAddSensor(int Value) {
    ui->DpiValue->setText(QString::number(Value));
}

void PreVier::SlotAddReport(int Value) {
    ui->ReportValue->setText(QString::number(Value) + "Hz");
}

void PreVier::SlotAddLOD(QString Value) {
    ui->LodValue->setText(Value);
}

void PreVier::SlotDebnunce(QString Vlue) {
    ui->DebunceValue->setText(Vlue);
}

void PreVier::SlotAddConfig(QString Value) {
    ui->ConfigValue->setText(Value);
}

void PreVier::SlotAddVer(int type, QString Ver) {
    if (type == 0)
        ui->MouseValue->setText(Ver);
    else if (type == 1)
        ui->DongleValue->setText(Ver);
}

void PreVier::SlotAddUpdate(int type, bool Ver) {
    if (type == 0)
        ui->MouseUp->setVisible(Ver);
    else if (type == 1)
        ui->DongleUp->setVisible(Ver);
}

void PreVier::SlotDeviceChosen() {
    for (QLabel* value : {ui->DpiValue, ui->ReportValue, ui->LodValue, ui->DebunceValue, ui->ConfigValue,
                          ui->MouseValue, ui->DongleValue})
        value->clear();
    ui->MouseUp->hide();
    ui->DongleUp->hide();
}
