#pragma once
#include "DialogFrame.h"

// A member of the dialog frame with a confirm button "NewHong" that only closes it.
class NoticeFrame : public DialogFrame {
    Q_OBJECT
public:
    using DialogFrame::DialogFrame;

protected slots:
    void on_NewHong_clicked();
};
