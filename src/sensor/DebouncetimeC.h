#pragma once
// Alternative form of the press debounce panel: a number display with plus and minus buttons. Each
// step sends at once; a failed send puts nothing back.

#include <QFrame>
#include <QString>

class Ui_DebouncetimeC;

class DebouncetimeC : public QFrame {
    Q_OBJECT
public:
    explicit DebouncetimeC(QWidget* parent = nullptr);
    ~DebouncetimeC() override;

    void SetDebounce(int value);                       // shows without sending
    void SetItemText(int index, const QString& text);  // the text becomes the number's suffix

private slots:
    void on_AddLevelA_clicked();
    void on_ReduceLevelA_clicked();

private:
    Ui_DebouncetimeC* ui;
    QString PictureFolder;
};
