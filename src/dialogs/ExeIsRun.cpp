#include "dialogs/ExeIsRun.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "core/MacroIni.h"
#include "core/PostMsg.h"
#include "platform/Paths.h"
#include "ui_ExeIsRun.h"
#include "widgets/DialogFrame.h"

namespace {
const QStringList& SectionNames() {
    static const QStringList names = {
        "AdvancedSettings", "Settings", "common", "home", "infoTips", "key", "light", "macro", "pair",
        "sensor",           "update"};
    return names;
}
}  // namespace

ExeIsRun::ExeIsRun(QWidget* parent) : QDialog(parent), ui(new Ui_ExeIsRun) {
    ui->setupUi(this);
    PostMsg::Connect(SIGNAL(SigChangeLanguage(int)), this, SLOT(SlotChangeLanguage(int)));
    PicturePath = DialogFrame::PicturePath();
    DialogFrame::Apply(this, ui->DeleteConfirmA, ui->label, ui->NewHong, ui->CloseButton, PicturePath);
    SlotChangeLanguage(MacroIni::GetInstance()->GetValue("Language", "Language").toInt());
    DialogFrame::ScaleFonts(this);
}

ExeIsRun::~ExeIsRun() {
    delete ui;
}

void ExeIsRun::ShowSelectMacroHint() {
    ui->label->setText(SelectMacroHint);
}

void ExeIsRun::ShowStopRecordHint() {
    ui->label->setText(StopRecordHint);
}

void ExeIsRun::SlotChangeLanguage(int index) {
    static const char* const files[] = {"/Language/en.json", "/Language/cs.json", "/Language/ru.json"};
    if (index < 0 || index > 2) return;
    QFile file(Paths::InstallDir() + files[index]);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) return;
    TopIsMouse = false;
    Section.clear();
    Walk(document.object());
}

void ExeIsRun::Walk(const QJsonValue& value) {
    if (!value.isObject()) return;  // arrays are not walked
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {  // key order
        const QString key = it.key();
        if (key == "keyboard") TopIsMouse = false;
        if (key == "mouse") TopIsMouse = true;
        if (SectionNames().contains(key)) Section = key;

        const QString text = it.value().toString();
        if (!text.isEmpty() && TopIsMouse) {
            if (Section == "macro" && key == "DialogSelectMacroFirst") SelectMacroHint = text;
            if (Section == "macro" && key == "DialogStopRecordFirst") StopRecordHint = text;
            if (Section == "common" && key == "OK") ui->NewHong->setText(text);
            if (Section == "home" && key == "OnRun") ui->label->setText(text);
        }
        Walk(it.value());
    }
}

void ExeIsRun::on_CloseButton_clicked() {
    close();
}

void ExeIsRun::on_NewHong_clicked() {
    close();
}
