#pragma once
#include "dialogs/FramedDialog.h"

class Ui_DeleteConfirm;

// Confirms deleting the selected macro. Confirmed is true only after the confirm button.
class DeleteConfirm : public FramedDialog {
    Q_OBJECT
public:
    explicit DeleteConfirm(QWidget* parent = nullptr);
    ~DeleteConfirm() override;

    bool Confirmed = false;

public slots:
    void reject() override;

private slots:
    void on_NewHong_clicked();

private:
    void FillTexts(int index) override;
    Ui_DeleteConfirm* ui;
};
