#pragma once
// Alternative form of the press debounce panel: a slider of 1 to 20 ms with a number display. A
// released slider sends; a failed send puts nothing back.

#include <QFrame>
#include <QString>

class Ui_DebouncetimeB;

class DebouncetimeB : public QFrame {
    Q_OBJECT
public:
    explicit DebouncetimeB(QWidget* parent = nullptr);
    ~DebouncetimeB() override;

    void SetDebounce(int value);                       // shows without sending
    void SetItemText(int index, const QString& text);  // the text becomes the number's suffix

private slots:
    void on_Debunce_sliderMoved(int position);
    void on_Debunce_valueChanged(int value);

private:
    Ui_DebouncetimeB* ui;
    QString PictureFolder;
};
