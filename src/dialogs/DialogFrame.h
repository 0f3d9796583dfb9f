#pragma once
#include <QDialog>
#include <QList>
#include <QString>

class QFrame;
class QLabel;
class QToolButton;

// The frame every small dialog shares: frameless top-level window, background picture, message label,
// close button and confirm buttons styled from the product table's colours and the pictures of
// Picture/WarningDialog/, texts from the language tables following SigAllLanguage, fonts corrected for
// the screen's logical DPI. A member builds its form, then calls BuildFrame, and fills its texts in
// FillTexts.
class DialogFrame : public QDialog {
    Q_OBJECT
public:
    explicit DialogFrame(QWidget* parent = nullptr);

    // The installation folder followed by "/Picture/WarningDialog/".
    static QString PictureFolder();
    // Style sheets of the frame's parts.
    static QString LabelStyle();
    static QString ConfirmStyle(const QString& picture = QStringLiteral("Confirm.png"),
                                const QString& pressed = QStringLiteral("ConfirmClick.png"));
    static QString CloseStyle();
    static QString BackgroundStyle(const QString& frameName);
    // 96 divided by the screen's logical DPI; 1 when the DPI is unknown or not positive.
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
    // Window flags, style sheets, language hook (and the first FillTexts) and font correction.
    void BuildFrame(const Parts& parts);
    // Fills the texts of language `index`; called at construction and on every language change.
    virtual void FillTexts(int index) = 0;

    QString PicturePath;

protected slots:
    void SlotAllLanguage(int index);
    // The close button of every member: the same as Escape.
    void on_CloseButton_clicked();
};
