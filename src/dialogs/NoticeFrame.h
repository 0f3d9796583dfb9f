#pragma once
#include "dialogs/FramedDialog.h"

// A member of the dialog frame with a confirm button "NewHong" that only closes it.
class NoticeFrame : public FramedDialog {
    Q_OBJECT
public:
    using FramedDialog::FramedDialog;

protected slots:
    void on_NewHong_clicked();
};
