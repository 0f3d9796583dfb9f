#include "NoticeFrame.h"

void NoticeFrame::on_NewHong_clicked() {
    accept();
}
