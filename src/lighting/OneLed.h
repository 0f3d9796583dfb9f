#pragma once
// The receiver indicator panel: three exclusive options for the receiver's indicator mode, written
// to the receiver's DongleRGB record.

#include <QFrame>
#include <QString>

class QButtonGroup;
class QCheckBox;
class Ui_OneLed;

class OneLed : public QFrame {
    Q_OBJECT
public:
    explicit OneLed(QWidget* parent = nullptr);
    ~OneLed() override;

    // Option 0..2 ticked with all three boxes' signals blocked; other indexes do nothing.
    void SelectOptionSilently(int index);
    // The same without blocking: a newly ticked option is written to the receiver.
    void SelectOption(int index);
    // The ticked option, -1 while none is.
    int SelectedOption() const { return selected_; }

public slots:
    void SlotAllLanguage(int index);

private slots:
    void on_ReUntil_toggled(bool checked);
    void on_ReUntil_2_toggled(bool checked);
    void on_ReUntil_3_toggled(bool checked);

private:
    QCheckBox* Box(int index) const;
    void Toggled(int index, bool checked);
    void PutBack(int index);

    Ui_OneLed* ui;
    QString PictureFolder;
    QButtonGroup* Group;
    int selected_ = -1;
};
