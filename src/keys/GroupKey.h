#pragma once
#include "dialogs/FramedDialog.h"
#include "keys/KeyHook.h"

class Ui_GroupKey;

// Asks for a key combination of up to three items: ticked modifier boxes and keys typed on the
// keyboard, captured through the dialog's own hook. The result joins the items with "+"
// (for example "Ctrl+Alt+Del"). Every way of closing ends the modal run rejected; the opener
// reads OkFlag and ResultText.
class GroupKey : public FramedDialog {
    Q_OBJECT
public:
    explicit GroupKey(QWidget* parent = nullptr);
    ~GroupKey() override;

    // Entry window: one combination must be typed within this time of its first key.
    static constexpr qint64 EntryWindowMs = 2000;

    bool OkFlag = false;  // true only after an accepted OK
    QString ResultText;   // valid when OkFlag is set

public slots:
    // Hook callback: (virtual key, down, repeat). Only presses count.
    void UpdateCapslockTip(int keyCode, bool downOrUp, bool aotu);

protected:
    void FillTexts(int index) override;
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

private slots:
    void on_NewHong_clicked();
    void on_NewHong_2_clicked();
    void on_lineEdit_textEdited(const QString& text);

private:
    Ui_GroupKey* ui;
    GroupKeyHook hook_;
    int separatorCount_ = 0;  // separators in the key field before the last key was added
    int lastKey_ = -1;        // virtual key of the last handled press; -1: none
    bool firstPress_ = true;  // the next press starts the entry timer
    qint64 entryStart_ = 0;   // clock time the current entry began
};
