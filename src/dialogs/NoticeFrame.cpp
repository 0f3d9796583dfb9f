#include "dialogs/NoticeFrame.h"

void NoticeFrame::on_NewHong_clicked() {
    accept();
}
