#include "dialogs/QuestionDialog.h"

#include <QInputMethodEvent>
#include <QKeyEvent>

#include "core/LanguageTables.h"
#include "dialogs/MacroName.h"
#include "ui_QuestionDialog.h"
#include "widgets/DialogFrame.h"

namespace {
bool IsOneOf(const QString& text, const char16_t* const* list) {
    for (; *list; ++list)
        if (text == QString::fromUtf16(*list)) return true;
    return false;
}
}  // namespace

QuestionDialog::QuestionDialog(QWidget* parent) : FramedDialog(parent), ui(new Ui_QuestionDialog) {
    ui->setupUi(this);
    setFixedSize(size());
    connect(ui->NewHong_2, SIGNAL(clicked()), this, SLOT(WindowClosedLan()));
    ui->lineEdit->setStyleSheet(DialogFrame::InputStyle("QLineEdit"));
    ui->lineEdit->installEventFilter(this);
    Parts parts;
    parts.Frame = ui->Question;
    parts.Label = ui->label;
    parts.Close = ui->CloseButton;
    parts.Confirms = {ui->NewHong, ui->NewHong_2};
    parts.KeepFontName = QStringLiteral("lineEdit");
    BuildFrame(parts);
}

QuestionDialog::~QuestionDialog() {
    delete ui;
}

void QuestionDialog::SetTitle(bool inputName) {
    ui->label->setText(inputName ? InputNameText : NewMacroText);
}

// Every opening puts the focus into the name field; left elsewhere, a typed space would press a button.
void QuestionDialog::showEvent(QShowEvent* event) {
    FramedDialog::showEvent(event);
    ui->lineEdit->setFocus(Qt::ActiveWindowFocusReason);
}

QString QuestionDialog::ShapeName(const QString& text) {
    QString name = MacroName::WithoutForbidden(text);
    if (name.endsWith(QLatin1Char(' '))) name.remove(QLatin1Char(' '));
    return MacroName::CutToBytes(name);
}

bool QuestionDialog::DropsKeyText(const QString& text) {
    static const char16_t* const dropped[] = {
        u"-", u"=", u"[",  u"]",      u";",      u"'",      u",",      u".",      u"/",   u"*",
        u"+", u"`", u"\\", u"\u3010", u"\uFF1B", u"\u2019", u"\uFF0C", u"\u3002", nullptr};
    return IsOneOf(text, dropped);
}

bool QuestionDialog::DropsCommitText(const QString& text) {
    static const char16_t* const dropped[] = {u"\u3010", u"\u3011", u"-",      u"=",      u"\u3001",
                                              u"\uFF1B", u"\u2019", u"\uFF0C", u"\u3002", u"/",
                                              u"*",      u"\u00B7", u"\u2018", nullptr};
    return IsOneOf(text, dropped);
}

void QuestionDialog::reject() {
    MacroName.clear();
    FramedDialog::reject();
}

bool QuestionDialog::eventFilter(QObject* object, QEvent* event) {
    if (object == ui->lineEdit) {
        if (event->type() == QEvent::KeyPress && DropsKeyText(static_cast<QKeyEvent*>(event)->text()))
            return true;
        if (event->type() == QEvent::InputMethod &&
            DropsCommitText(static_cast<QInputMethodEvent*>(event)->commitString()))
            return true;
    }
    return FramedDialog::eventFilter(object, event);
}

void QuestionDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Shift) {
        ui->lineEdit->setEnabled(false);
    } else if (event->key() == Qt::Key_Escape) {
        reject();  // the same as Cancel
    } else {
        QWidget::keyPressEvent(event);  // Return does nothing here
    }
}

void QuestionDialog::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Shift) {
        ui->lineEdit->setEnabled(true);
        ui->lineEdit->setFocus(Qt::OtherFocusReason);
    } else {
        QWidget::keyReleaseEvent(event);
    }
}

void QuestionDialog::on_NewHong_clicked() {
    const QString name = ui->lineEdit->text();
    if (!name.isEmpty() && !MacroName::IsValid(name)) {
        // A name that cannot become a file ("." or ".."): stay open for a correction.
        ui->lineEdit->selectAll();
        ui->lineEdit->setFocus(Qt::OtherFocusReason);
        return;
    }
    MacroName = name;
    accept();
}

void QuestionDialog::WindowClosedLan() {
    reject();
}

void QuestionDialog::on_lineEdit_textEdited(const QString& text) {
    ui->lineEdit->setText(ShapeName(text));
}

void QuestionDialog::FillTexts(int index) {
    NewMacroText = LanguageText(MouseMacroTexts, index, "DialogNewMacroName");
    InputNameText = LanguageText(MouseMacroTexts, index, "DialogInputMacroName");
    ui->NewHong_2->setText(CancelText(index));
    ui->NewHong->setText(OkText(index));
}
