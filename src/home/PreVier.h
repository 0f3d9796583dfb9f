#pragma once
// The device summary page: a picture of the mouse model and its main settings and versions, each
// value taken from the hub signal of the page that owns it.

#include <QString>
#include <QWidget>

namespace Ui {
class PreVier;
}

class PreVier : public QWidget {
    Q_OBJECT
public:
    explicit PreVier(QWidget* parent = nullptr);
    ~PreVier() override;

    Ui::PreVier* Form() const { return ui; }

public slots:
    void SlotAllLanguage(int index);
    void SlotMouseIndex(int index);
    void SlotAddSensor(int Value);
    void SlotAddReport(int Value);
    void SlotAddLOD(QString Value);
    void SlotDebnunce(QString Vlue);
    void SlotAddConfig(QString Value);
    void SlotAddVer(int type, QString Ver);
    void SlotAddUpdate(int type, bool Ver);
    // A device was chosen: nothing of the previous one stays until the new one reports its own.
    void SlotDeviceChosen();

private:
    Ui::PreVier* ui;
    QString PictureFolder;
};
