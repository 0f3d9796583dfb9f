#pragma once
#include "dialogs/NoticeFrame.h"

class Ui_UpDateWarning;

// Notice with the opener's text; Return presses its confirm button.
class UpDateWarning : public NoticeFrame {
    Q_OBJECT
public:
    explicit UpDateWarning(QWidget* parent = nullptr);
    ~UpDateWarning() override;

    void SetText(const QString& text);

private:
    void FillTexts(int index) override;
    Ui_UpDateWarning* ui;
};
