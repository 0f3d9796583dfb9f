#pragma once
#include "dialogs/NoticeFrame.h"

class Ui_MouseOffLine;

// The notice that the mouse cannot be reached or did not take a change; its text follows the
// OfflineNoticeKind at its construction (a NoticeKind). The offline notice closes itself on
// SigCloseOffOnline when the device is back; the others stay until the user closes them. Every kind
// closes when the home page is shown (SigMainPageChange). The top-level
// window builds it (DialogMainSeams::CreateOfflineNotice), places and runs it.
class MouseOffLine : public NoticeFrame {
    Q_OBJECT
public:
    explicit MouseOffLine(QWidget* parent = nullptr);
    ~MouseOffLine() override;

private:
    void FillTexts(int index) override;
    Ui_MouseOffLine* ui;
    const int Kind;
};
