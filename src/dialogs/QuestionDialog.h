#pragma once
#include "dialogs/FramedDialog.h"

class Ui_QuestionDialog;

// The macro name input. The name field drops listed punctuation keys, is disabled while Shift is
// held, removes every space when one is typed at the end, keeps only characters a macro name may
// hold and cuts the text to 30 bytes of the local 8-bit encoding. MacroName holds the accepted name
// after OK; it is empty after Cancel, the close button, Escape or a window close.
class QuestionDialog : public FramedDialog {
    Q_OBJECT
public:
    explicit QuestionDialog(QWidget* parent = nullptr);
    ~QuestionDialog() override;

    // Prompt: the request for a new name when inputName is true, else the request for a new macro's name.
    void SetTitle(bool inputName);

    // What an edit of the name field leaves in it.
    static QString ShapeName(const QString& text);
    // Whether the name field drops a key press with this text or an input-method commit.
    static bool DropsKeyText(const QString& text);
    static bool DropsCommitText(const QString& text);

    QString MacroName;

public slots:
    void reject() override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private slots:
    void on_NewHong_clicked();
    void WindowClosedLan();
    void on_lineEdit_textEdited(const QString& text);

private:
    void FillTexts(int index) override;

    Ui_QuestionDialog* ui;
    QString NewMacroText;
    QString InputNameText;
};
