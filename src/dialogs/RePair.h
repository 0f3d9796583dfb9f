#pragma once
#include "dialogs/FramedDialog.h"

class Ui_RePair;

// Confirms pairing the mouse with its receiver again.
// Confirmed is true only after "OK"; Cancel, the close button, Escape and a window close leave it false.
class RePair : public FramedDialog {
    Q_OBJECT
public:
    explicit RePair(QWidget* parent = nullptr);
    ~RePair() override;

    bool Confirmed = false;

public slots:
    void reject() override;

private slots:
    void on_OK_clicked();
    void on_Cancel_clicked();

private:
    void FillTexts(int index) override;
    Ui_RePair* ui;
};
