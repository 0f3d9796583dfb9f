#include "keys/GroupKey.h"

#include <QKeyEvent>

#include "core/LanguageTables.h"
#include "dialogs/GroupMaxThree.h"
#include "dialogs/ModalRunner.h"
#include "keys/KeyTables.h"
#include "platform/Clock.h"
#include "ui_GroupKey.h"
#include "widgets/DialogFrame.h"

GroupKey::GroupKey(QWidget* parent) : FramedDialog(parent), ui(new Ui_GroupKey) {
    ui->setupUi(this);
    hook_.SetHook();
    GroupKeyHook::Callback() = [this](int key, bool down, bool repeat) {
        UpdateCapslockTip(key, down, repeat);
    };

    Parts parts;
    parts.Frame = ui->groupKeyA;
    parts.Label = ui->label;
    parts.Close = ui->CloseButton;
    parts.Confirms = {ui->NewHong, ui->NewHong_2};
    parts.KeepFontName = QStringLiteral("lineEdit");
    BuildFrame(parts);

    const QString boxStyle = DialogFrame::CheckBoxStyle(PicturePath);
    for (QCheckBox* box : {ui->Shift, ui->Ctrl, ui->Alt, ui->Win}) box->setStyleSheet(boxStyle);
    ui->lineEdit->setStyleSheet(DialogFrame::InputStyle("QLineEdit"));
    ui->lineEdit->setAttribute(Qt::WA_InputMethodEnabled, false);
    ui->lineEdit->setFocus();
}

GroupKey::~GroupKey() {
    hook_.Unhook();
    delete ui;
}

void GroupKey::FillTexts(int index) {
    ui->label->setText(LanguageText(MouseHomeTexts, index, "ComKey"));
    ui->NewHong->setText(OkText(index));
    ui->NewHong_2->setText(CancelText(index));
}

void GroupKey::UpdateCapslockTip(int keyCode, bool downOrUp, bool aotu) {
    Q_UNUSED(aotu);
    if (!downOrUp) return;
    const qint64 now = Clock::ElapsedMs();
    if (firstPress_) {
        entryStart_ = now;
        firstPress_ = false;
    } else if (now - entryStart_ > EntryWindowMs) {
        ui->lineEdit->clear();
        lastKey_ = -1;
        entryStart_ = now;
    }
    if (keyCode == lastKey_) return;
    lastKey_ = keyCode;
    const QString name = VirtualKeyToName(keyCode, false).value_or(QString(""));
    const QString text = ui->lineEdit->text();
    // Items, not "+" characters: the name "Num+" holds one itself.
    separatorCount_ = qMax(0, SplitKeyCombination(text).size() - 1);
    if (separatorCount_ == 2) {
        separatorCount_ = 0;
        ui->lineEdit->setText(name);
    } else if (!text.contains(name)) {
        if (text.isEmpty()) {
            ui->lineEdit->setText(name);
        } else {
            ui->lineEdit->setText(text + "+" + name);
            if (separatorCount_ == 1) lastKey_ = -1;  // three keys shown: any key starts the next entry
        }
    }
}

void GroupKey::on_NewHong_clicked() {
    QString result;
    int items = 0;
    const std::pair<QCheckBox*, const char*> boxes[] = {
        {ui->Shift, "Shift"}, {ui->Ctrl, "Ctrl"}, {ui->Alt, "Alt"}, {ui->Win, "Win"}};
    for (const auto& box : boxes) {
        if (!box.first->isChecked()) continue;
        ++items;
        if (!result.isEmpty()) result += "+";
        result += box.second;
    }
    const QString field = ui->lineEdit->text();
    items += SplitKeyCombination(field).size();
    if (items <= 3) {
        hook_.Unhook();
        if (!result.isEmpty() && !field.isEmpty())
            result += "+" + field;
        else if (result.isEmpty())
            result = field;
        ResultText = result;
        OkFlag = true;
        close();
        return;
    }
    GroupMaxThree notice;
    notice.move(mapToGlobal(QPoint(0, 0)));
    ModalRunner::Run(notice);
    separatorCount_ = 0;
    lastKey_ = -1;
    ui->lineEdit->clear();
}

void GroupKey::on_NewHong_2_clicked() {
    OkFlag = false;
    hook_.Unhook();
    close();
}

void GroupKey::on_lineEdit_textEdited(const QString& text) {
    ui->lineEdit->setText(text.toUpper());
}

void GroupKey::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F12) return;
    FramedDialog::keyPressEvent(event);
}

// Whatever closes the dialog (a button, the window system) removes its hook.
void GroupKey::done(int result) {
    hook_.Unhook();
    FramedDialog::done(result);
}
