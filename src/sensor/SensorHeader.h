#pragma once
// The sensor header "driver_sensor.h" (feature lists and DPI register tables), the product's DPI
// range, and the conversion between a DPI value and the register value of a DPI level record.
// GUI thread only.

#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

#include "hidusb/FlashDataMap.h"

// Sensor model of the current device (the "Sensor" value of its product-table group).
extern QString CurrentSensorModel;
// The header's define table: entry k of both belongs together, in file order.
extern QVector<QString> SensorHeaderNames;
extern QVector<int> SensorHeaderValues;

// The models that have each optional feature; a list contains a model when the list text contains
// the model text.
struct SensorCapabilityLists {
    QString SensorModeModels;
    QString LodCalModels;
    QString RippleModels;
    QString FixLineModels;
    QString MotionSyncModels;
    QString MousepadCalModels;
};

struct DpiSegment {
    QString Min;
    QString Max;
    QString Step;
};

struct DpiRange {
    int DpiRangeMode = 0;  // 0x11, 0x22 or 0x33 choose a range rule; others none
    int DpiSegmentCount = 0;
    std::array<DpiSegment, 4> DpiSegments{};
    QVector<int> DpiSegmentMinima;  // of the loaded segments, in order
    QVector<int> DpiSegmentMaxima;
};
extern DpiRange DpiRangeTable;

// Reads "driver_sensor.h" of the installation folder: replaces the define table and sets the lists
// the file names. A missing file leaves the table empty and the lists as they were.
void ParseSensorHeader(SensorCapabilityLists* lists);
// The same for a header at a path.
void ParseSensorHeaderFile(const QString& path, SensorCapabilityLists* lists);

// Fills DpiRangeTable from "DPIRange" items (segments of Min, Max, Step, the range mode last). With 1 to
// 4 segments the range texts become the first Min and the last Max; otherwise they stay, and no
// segment is loaded.
void LoadDpiRangeItems(const QStringList& items, QString* minText, QString* maxText);
// The same from "DPIRange" of a product-table group ("Drive1").
void LoadDpiRange(const QString& group, QString* minText, QString* maxText);

// Snaps a DPI value to the loaded segments of DpiRangeTable: inside a segment down to a multiple of its
// step, in the gap before a segment up to its minimum; *pageStep becomes that segment's step. Values
// outside the segments, and segments without a positive step, leave both unchanged.
int SnapToDpiSegments(int v, int* pageStep);

// DPI value of a level record for CurrentSensorModel.
int DecodeLevelDpi(const DpiLevelRecord& record);
// Sends DPI value v for level 0 to 7 through SetDpiLevelValue and returns its result. Sends nothing
// and gives false for level -1, v <= 0 or a register value that the record cannot carry.
bool SendSensorDPI(int level, int v);
