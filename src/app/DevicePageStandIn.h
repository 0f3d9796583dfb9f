#pragma once
// Holds the place of a device page that is not built yet: it shows the page's title and feeds the
// summary page the values that the real page will send (DPI, report rate, lift-off distance,
// debounce, configuration). Replaced by the real page when it lands.

#include <QString>
#include <QWidget>

#include "hidusb/FlashDataMap.h"

class QLabel;

class DevicePageStandIn : public QWidget {
    Q_OBJECT
public:
    // The page whose place this one holds; it decides which summary values it sends.
    enum class Role { Buttons, Sensor, Macro, Lights, Advanced };

    DevicePageStandIn(Role role, const QString& objectName, QWidget* parent = nullptr);

    Role PageRole() const { return role_; }

    // Displayed DPI of a level record when no sensor register table applies: (code + 1) x 50, with
    // the two high register bits of the range flags, doubled for each doubling flag.
    static int LevelDpi(const DpiLevelRecord& level);
    // Report rate in Hz of a ReportRateCode; 0 for an unknown code.
    static int ReportRateHz(int code);
    // "1mm", "2mm" or "0.7mm"; empty for an unknown code.
    static QString LodText(int code);

public slots:
    void SlotAllLanguage(int index);
    void SlotImage(FlashDataMap DataMap);
    void SlotUpDataDPI(int index);
    void SlotUpDataReportRate(int index);
    void SlotUpDataConfigUI(int ToTalItem, int SelectIndex, bool ItemEnable);

private:
    Role role_;
    QLabel* title_;
    QLabel* note_;
};
