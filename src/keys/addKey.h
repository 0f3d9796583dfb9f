#pragma once
#include "dialogs/FramedDialog.h"
#include "keys/KeyHook.h"

class Ui_addKey;

// Captures one key through the dialog's own hook and gives its display name: the key of the last
// press or release reported. The modal run ends accepted only through OK; the opener reads OkFlag
// and KeyName.
class addKey : public FramedDialog {
    Q_OBJECT
public:
    explicit addKey(QWidget* parent = nullptr);
    ~addKey() override;

    bool OkFlag = false;
    QString KeyName;  // may be empty: no key yet, or a key without a name

public slots:
    // Hook callback: (virtual key, down, repeat); presses and releases alike.
    void UpdateCapslockTip(int keyCode, bool downOrUp, bool aotu);

protected:
    void FillTexts(int index) override;
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

private slots:
    void on_NewHong_clicked();
    void on_NewHong_2_clicked();

private:
    Ui_addKey* ui;
    AddKeyHook hook_;
};
