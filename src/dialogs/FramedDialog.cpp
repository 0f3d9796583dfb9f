#include "dialogs/FramedDialog.h"

#include <QFrame>
#include <QLabel>
#include <QToolButton>

#include "core/LanguageTables.h"
#include "core/PostMsg.h"
#include "platform/ScreenMetrics.h"
#include "widgets/DialogFrame.h"
#include "widgets/ScaleChildFonts.h"

FramedDialog::FramedDialog(QWidget* parent) : QDialog(parent) {}

qreal FramedDialog::FontFactor(int logicalDpi) {
    return logicalDpi > 0 ? 96.0 / logicalDpi : 1.0;
}

QString FramedDialog::OkText(int index) {
    return LanguageText(MouseCommonTexts, index, "OK");
}

QString FramedDialog::CancelText(int index) {
    return LanguageText(MouseCommonTexts, index, "Cancel");
}

void FramedDialog::BuildFrame(const Parts& parts) {
    PicturePath = DialogFrame::PicturePath();
    setWindowFlags(DialogFrame::kWindowFlags);
    if (parts.Label) parts.Label->setStyleSheet(DialogFrame::LabelStyle());
    for (QToolButton* button : parts.Confirms)
        button->setStyleSheet(
            DialogFrame::ConfirmStyle(PicturePath, parts.ConfirmPicture, parts.ConfirmPressedPicture));
    if (parts.Close) {
        parts.Close->setStyleSheet(DialogFrame::CloseStyle(PicturePath));
        connect(parts.Close, SIGNAL(clicked()), this, SLOT(reject()));
    }
    if (parts.Frame)
        parts.Frame->setStyleSheet(DialogFrame::BackgroundStyle(parts.Frame->objectName(), PicturePath));
    KeepTextsOffEdges();
    PostMsg::Connect(SIGNAL(SigAllLanguage(int)), this, SLOT(SlotAllLanguage(int)));
    FillTexts(CurrentLanguage);
    // "Receive_2" names no widget of a dialog: without a kept name every font is scaled.
    ScaleChildFonts(this, FontFactor(ScreenMetrics::LogicalDpiX()),
                    parts.KeepFontName.isEmpty() ? QStringLiteral("Receive_2") : parts.KeepFontName);
}

// Texts that a longer language wraps or widens keep a margin to the dialog's left and right edges.
void FramedDialog::KeepTextsOffEdges() {
    constexpr int kEdge = 16;
    for (QLabel* label : findChildren<QLabel*>()) {
        const int left = label->mapTo(this, QPoint(0, 0)).x();
        const int right = width() - left - label->width();
        label->setContentsMargins(qMax(0, kEdge - left), 0, qMax(0, kEdge - right), 0);
    }
}

void FramedDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    activateWindow();
}

void FramedDialog::SlotAllLanguage(int index) {
    FillTexts(index);
}
