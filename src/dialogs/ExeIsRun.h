#pragma once
#include <QDialog>
#include <QJsonValue>
#include <QString>

class Ui_ExeIsRun;

// The small notice that another instance already runs; the macro page reuses it for two hints. It reads
// its few texts from the language file itself, since it can be shown before any language table exists.
class ExeIsRun : public QDialog {
    Q_OBJECT
public:
    explicit ExeIsRun(QWidget* parent = nullptr);
    ~ExeIsRun() override;

    void ShowSelectMacroHint();
    void ShowStopRecordHint();

public slots:
    // Reads the texts of language index (0 en.json, 1 cs.json, 2 ru.json); other indexes read nothing.
    // A missing or broken file leaves the texts as they were.
    void SlotChangeLanguage(int index);

private slots:
    void on_CloseButton_clicked();
    void on_NewHong_clicked();

private:
    void Walk(const QJsonValue& value);

    Ui_ExeIsRun* ui;
    QString PicturePath;
    QString SelectMacroHint;
    QString StopRecordHint;
    bool TopIsMouse = false;  // walk state: inside "keyboard" (false) or "mouse" (true)
    QString Section;          // walk state: the current section name
};
