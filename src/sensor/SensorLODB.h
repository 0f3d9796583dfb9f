#pragma once
// Alternative form of the lift-off distance panel: check boxes for 0.7, 1 and 2 mm. A failed send
// puts nothing back.

#include <QFrame>
#include <QString>

class QButtonGroup;
class Ui_SensorLODB;

class SensorLODB : public QFrame {
    Q_OBJECT
public:
    explicit SensorLODB(QWidget* parent = nullptr);
    ~SensorLODB() override;

    void AddShortLod();
    void RemoveShortLod();
    void SetEnabled(bool on);
    void SetLod(int value);  // LodCode - 1; announces nothing
    void SetText(const QString& text);
    void SetTips(const QString& text);

private slots:
    void on_MM1_clicked(bool checked);
    void on_MM2_clicked(bool checked);
    void on_MM0_clicked(bool checked);

private:
    void Send(int code);

    Ui_SensorLODB* ui;
    QString PictureFolder;
    QButtonGroup* group_;
};
