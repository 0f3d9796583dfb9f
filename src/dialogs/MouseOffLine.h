#pragma once
#include "NoticeFrame.h"

class Ui_MouseOffLine;

// The one notice that the mouse cannot be reached: OfflineNoticeKind 0 shows the offline text, 1 the
// settings time-out text. Closes itself on SigCloseOffOnline when the device is back.
class MouseOffLine : public NoticeFrame {
    Q_OBJECT
public:
    explicit MouseOffLine(QWidget* parent = nullptr);
    ~MouseOffLine() override;

    // What the top-level window does for SigMouseOffLineo: sets OfflineNoticeKind to code, builds the
    // notice, places it centred over `window` and 20 pixels higher, and runs it; returns when it closed.
    // The caller sets DeviceOfflineShown and ReconnectRequested.
    static void ShowNotice(QWidget* window, int code);

private:
    void FillTexts(int index) override;
    Ui_MouseOffLine* ui;
};
