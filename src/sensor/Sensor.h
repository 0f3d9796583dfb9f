#pragma once
// Sensor page of the device window: the DPI level, report-rate, on/off and lift-off panels, and the
// page's own sensor-mode and performance controls. Fills itself from every settings image, follows the
// mouse's one-value reports, and sends the sensor mode and performance settings.

#include <QString>
#include <QWidget>

#include "hidusb/FlashDataMap.h"
#include "sensor/SensorHeader.h"

class QListView;
class Ui_Sensor;

class Sensor : public QWidget {
    Q_OBJECT
public:
    explicit Sensor(QWidget* parent = nullptr);
    ~Sensor() override;

    QString SensorPageFolder;
    QString DpiRangeMinText;
    QString DpiRangeMaxText;
    QString PictureFolder;
    SensorCapabilityLists Capabilities;
    int ConfirmedSensorMode = 0;
    int ConfirmedPerformanceTime = 0;

public slots:
    void SlotHideModel(int index);
    void SlotUpDataSenSorUISensor(FlashDataMap DataMap);
    void SlotUpDataSenSorUIB(FlashDataMap DataMap);
    void SlotFormReset();
    void SlotUpDataReportRate(int index);
    void SlotUpDataDPI(int index);
    void SlotAllLanguage(int index);

protected:
    void changeEvent(QEvent* event) override;

private slots:
    void on_ModelChoose_currentIndexChanged(int index);
    void on_Performance_clicked(bool checked);
    void on_Performance_toggled(bool checked);
    void on_PerformanceOpen_currentIndexChanged(int index);

private:
    void Fill(const FlashDataMap& image);
    QString ModelGroup() const;
    bool ModelListed(const QString& list) const;
    // The sensor mode the mouse holds at a low rate: the list enabled with "Corded" hidden.
    void ShowChosenSensorMode();
    // "Corded", forced at high rates: shown and the list disabled.
    void ShowCordedSensorMode();
    void ShowSensorModeQuietly(int index);
    void ShowLodEntries();

    Ui_Sensor* ui;
    bool formBuilt_ = false;  // change events arrive while the form is being built
    QListView* ModelChooseView = nullptr;
};
