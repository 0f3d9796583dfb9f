#pragma once
#include "dialogs/FramedDialog.h"

class Ui_ContainReset;

// Confirms a restore of the factory settings (or, with SetText, another question). Return confirms.
// Confirmed is true only after "OK"; Cancel, the close button, Escape and a window close leave it false.
class ContainReset : public FramedDialog {
    Q_OBJECT
public:
    explicit ContainReset(QWidget* parent = nullptr);
    ~ContainReset() override;

    // Replaces the question; a language change puts the restore question back.
    void SetText(const QString& text);

    bool Confirmed = false;

public slots:
    void reject() override;

private slots:
    void on_OK_clicked();
    void on_Cancel_clicked();

private:
    void FillTexts(int index) override;
    Ui_ContainReset* ui;
};
