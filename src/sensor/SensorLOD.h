#pragma once
// Lift-off distance panel of the sensor page: one list of 1 mm and 2 mm, with 0.7 mm first for the
// sensors that have it. A pick sends at once; a refused send shows the device's distance again.

#include <QFrame>
#include <QString>

class Ui_SensorLOD;

class SensorLOD : public QFrame {
    Q_OBJECT
public:
    explicit SensorLOD(QWidget* parent = nullptr);
    ~SensorLOD() override;

    // The setters change the list with its signals blocked: they never send.
    void AddShortLod();     // two entries -> "0.7mm" inserted first
    void RemoveShortLod();  // three entries -> the first removed
    void SetTipsPos(int languageIndex);
    void SetEnabled(bool on);
    // Shows the device's distance (LodCode - 1: 0 = 1 mm, 1 = 2 mm, 2 = 0.7 mm) and announces it. A value
    // the list has no entry for is remembered only.
    void SetLod(int value);
    void SetText(const QString& text);
    void SetTips(const QString& text);

private slots:
    void on_LOD_currentIndexChanged(int index);

private:
    int IndexOfValue(int value) const;  // -1 when the list has no entry for it
    void ShowIndexQuietly(int index);

    Ui_SensorLOD* ui;
    QString PictureFolder;
    int RememberedLod = 0;  // 1 mm until the host shows the device's value
    int shownIndex_ = 0;    // the entry shown before the pick being handled
};
