#pragma once
#include <QDialog>
#include <QList>
#include <QString>

class QFrame;
class QLabel;
class QToolButton;

// Base of every small dialog of the frame (FramedDialog.h): frameless top-level window, background
// picture, message label, close button and confirm-style buttons, texts from the language tables
// following SigAllLanguage, fonts corrected for the screen's logical DPI. A member builds its form,
// calls BuildFrame, and fills its texts in FillTexts.
class FramedDialog : public QDialog {
    Q_OBJECT
public:
    explicit FramedDialog(QWidget* parent = nullptr);

    // 96 divided by the logical DPI; 1 when the DPI is not positive.
    static qreal FontFactor(int logicalDpi);
    // Confirm and cancel texts of the common language table.
    static QString OkText(int index);
    static QString CancelText(int index);

protected:
    struct Parts {
        QFrame* Frame = nullptr;
        QLabel* Label = nullptr;
        QToolButton* Close = nullptr;
        QList<QToolButton*> Confirms;  // every button that takes the confirm style
        QString ConfirmPicture = QStringLiteral("Confirm.png");
        QString ConfirmPressedPicture = QStringLiteral("ConfirmClick.png");
        QString KeepFontName;  // a widget whose own font the DPI correction leaves alone
    };
    // Window flags, style sheets, language hook (and the first FillTexts) and font correction; the close
    // button, like Escape, rejects the dialog.
    void BuildFrame(const Parts& parts);
    // Fills the texts of language `index`; called at construction and on every language change.
    virtual void FillTexts(int index) = 0;
    // The window bypasses the window manager: take the keyboard focus when shown.
    void showEvent(QShowEvent* event) override;

    QString PicturePath;

protected slots:
    void SlotAllLanguage(int index);

private:
    void KeepTextsOffEdges();
};
