#pragma once
#include "dialogs/NoticeFrame.h"

class Ui_MouseOffLine;

// The one notice that the mouse cannot be reached: OfflineNoticeKind 0 shows the offline text, 1 the
// settings time-out text. Closes itself on SigCloseOffOnline when the device is back. The top-level
// window builds it (DialogMainSeams::CreateOfflineNotice), places and runs it.
class MouseOffLine : public NoticeFrame {
    Q_OBJECT
public:
    explicit MouseOffLine(QWidget* parent = nullptr);
    ~MouseOffLine() override;

private:
    void FillTexts(int index) override;
    Ui_MouseOffLine* ui;
};
