#include "keys/addKey.h"

#include <QKeyEvent>

#include "core/LanguageTables.h"
#include "keys/KeyTables.h"
#include "ui_addKey.h"
#include "widgets/DialogFrame.h"

addKey::addKey(QWidget* parent) : FramedDialog(parent), ui(new Ui_addKey) {
    ui->setupUi(this);
    hook_.SetHook();
    AddKeyHook::Callback() = [this](int key, bool down, bool repeat) {
        UpdateCapslockTip(key, down, repeat);
    };
    Parts parts;
    parts.Frame = ui->addKeyA;
    parts.Label = ui->label;
    parts.Close = ui->CloseButton;
    parts.Confirms = {ui->NewHong, ui->NewHong_2};
    BuildFrame(parts);
    ui->lineEdit->setStyleSheet(DialogFrame::InputStyle("QLineEdit"));
    ui->lineEdit->setFocus();
}

addKey::~addKey() {
    hook_.Unhook();
    delete ui;
}

void addKey::FillTexts(int index) {
    ui->label->setText(LanguageText(MouseHomeTexts, index, "EnterKey"));
    ui->NewHong->setText(OkText(index));
    ui->NewHong_2->setText(CancelText(index));
}

void addKey::UpdateCapslockTip(int keyCode, bool downOrUp, bool aotu) {
    Q_UNUSED(downOrUp);
    Q_UNUSED(aotu);
    const QString name = VirtualKeyToName(keyCode, true).value_or(QString(""));
    ui->lineEdit->setText(name);
    KeyName = name;
}

void addKey::on_NewHong_clicked() {
    OkFlag = true;
    hook_.Unhook();
    accept();
}

void addKey::on_NewHong_2_clicked() {
    OkFlag = false;
    hook_.Unhook();
    reject();
}

void addKey::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F12) return;
    FramedDialog::keyPressEvent(event);
}

void addKey::done(int result) {
    hook_.Unhook();
    FramedDialog::done(result);
}
