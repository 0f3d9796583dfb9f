#pragma once
#include "dialogs/NoticeFrame.h"

class Ui_InportFail;

// Notice: an imported profile cannot be used; the text follows ImportResult (1 not a profile,
// 2 made for another product, 3 a macro file that cannot be imported).
class InportFail : public NoticeFrame {
    Q_OBJECT
public:
    explicit InportFail(QWidget* parent = nullptr);
    ~InportFail() override;

private:
    void FillTexts(int index) override;
    Ui_InportFail* ui;
};
