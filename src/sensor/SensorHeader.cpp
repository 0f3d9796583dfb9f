#include "sensor/SensorHeader.h"

#include <QFile>
#include <mutex>

#include "core/ConfigIni.h"
#include "core/CurrentFlashData.h"
#include "core/SensorDefines.h"
#include "device/DeviceCommand.h"
#include "platform/Paths.h"

QString CurrentSensorModel;
QVector<QString> SensorHeaderNames;
QVector<int> SensorHeaderValues;
DpiRange DpiRangeTable;

namespace {

// A signed 32-bit number in base 10 or 16 ("0x" allowed in base 16); 0 when it does not convert.
int ReadNumber(const QString& text, int base) {
    QString digits = text.trimmed();
    if (base == 16 && digits.startsWith("0x", Qt::CaseInsensitive)) digits = digits.mid(2);
    bool ok = false;
    const int value = digits.toInt(&ok, base);
    return ok ? value : 0;
}

QString* CapabilityList(int feature, SensorCapabilityLists* lists) {
    QString* const byFeature[SensorDefines::FeatureListCount] = {
        &lists->SensorModeModels, &lists->LodCalModels,     &lists->RippleModels,
        &lists->FixLineModels,    &lists->MotionSyncModels, &lists->MousepadCalModels,
    };
    return feature >= 0 && feature < SensorDefines::FeatureListCount ? byFeature[feature] : nullptr;
}

void ParseLine(const QString& text, SensorCapabilityLists* lists) {
    const SensorDefines::Line line = SensorDefines::ParseLine(text);
    if (line.kind == SensorDefines::Line::Define) {
        SensorHeaderNames.append(line.name);
        SensorHeaderValues.append(line.value);
    } else if (line.kind == SensorDefines::Line::Feature) {
        if (QString* list = CapabilityList(line.feature, lists)) *list = line.models;
    }
}

QString TablePrefix() {
    return "SENSOR_" + CurrentSensorModel + "_DPI";
}

bool ModelHasTable() {
    const QString prefix = TablePrefix();
    for (const QString& name : SensorHeaderNames)
        if (name.contains(prefix)) return true;
    return false;
}

// Models whose register values reach 10 bits; bits 8 and 9 travel in the range flags.
bool HighBitModel() {
    return CurrentSensorModel == "3395" || CurrentSensorModel == "3950";
}

}  // namespace

void ParseSensorHeaderFile(const QString& path, SensorCapabilityLists* lists) {
    SensorHeaderNames.clear();
    SensorHeaderValues.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return;
    while (!file.atEnd()) ParseLine(QString::fromUtf8(file.readLine()), lists);
}

void ParseSensorHeader(SensorCapabilityLists* lists) {
    ParseSensorHeaderFile(Paths::InstallDir() + "/driver_sensor.h", lists);
}

void LoadDpiRangeItems(const QStringList& items, QString* minText, QString* maxText) {
    DpiRange& range = DpiRangeTable;
    range.DpiRangeMode = items.isEmpty() ? 0 : ReadNumber(items.last(), 16);
    range.DpiSegmentMinima.clear();
    range.DpiSegmentMaxima.clear();
    range.DpiSegmentCount = items.isEmpty() ? 0 : (items.size() - 1) / 3;
    const int count = range.DpiSegmentCount;
    if (count < 1 || count > int(range.DpiSegments.size())) return;
    for (int k = 0; k < count; ++k) {
        DpiSegment& segment = range.DpiSegments[size_t(k)];
        segment.Min = items[3 * k];
        segment.Max = items[3 * k + 1];
        segment.Step = items[3 * k + 2];
        range.DpiSegmentMinima.append(ReadNumber(segment.Min, 10));
        range.DpiSegmentMaxima.append(ReadNumber(segment.Max, 10));
    }
    *minText = items[0];
    *maxText = range.DpiSegments[size_t(count - 1)].Max;
}

void LoadDpiRange(const QString& group, QString* minText, QString* maxText) {
    LoadDpiRangeItems(ConfigIni::GetInstance()->GetStringList(group, "DPIRange"), minText, maxText);
}

int SnapToDpiSegments(int v, int* pageStep) {
    const DpiRange& range = DpiRangeTable;
    const int n = range.DpiSegmentCount;
    if (n < 1 || n > int(range.DpiSegments.size())) return v;
    for (int k = 0; k < n; ++k) {
        const DpiSegment& s = range.DpiSegments[size_t(k)];
        const int min = ReadNumber(s.Min, 10);
        const int max = ReadNumber(s.Max, 10);
        const int step = ReadNumber(s.Step, 10);
        if (v >= min && v <= max) {
            if (step <= 0) return v;
            *pageStep = step;
            return v - v % step;
        }
        if (k + 1 < n) {
            const DpiSegment& next = range.DpiSegments[size_t(k + 1)];
            const int nextMin = ReadNumber(next.Min, 10);
            const int nextStep = ReadNumber(next.Step, 10);
            if (v > max && v < nextMin) {
                if (nextStep <= 0) return v;
                *pageStep = nextStep;
                return nextMin;
            }
        }
    }
    return v;
}

int DecodeLevelDpi(const DpiLevelRecord& record) {
    const int code = record.DpiCode;
    const int flags = record.DpiRangeFlags;
    const QString prefix = TablePrefix();
    const QString valuePrefix = prefix + "_";
    bool hasTable = false;
    int dpi = -1;
    for (int k = 0; k < SensorHeaderNames.size(); ++k) {
        const QString& name = SensorHeaderNames[k];
        if (!name.contains(prefix)) continue;
        hasTable = true;
        if (SensorHeaderValues.value(k) != code) continue;
        const int at = name.indexOf(valuePrefix);
        dpi = at < 0 ? 0 : SensorDefines::TableDpi(name.mid(at + valuePrefix.size()));
        if (flags & 0x22) dpi *= 2;
        break;
    }
    if (dpi < 0) {
        if (hasTable) {
            dpi = 0;
        } else {
            int r = code;
            if (HighBitModel()) r |= (flags & 0xC0) << 2;
            dpi = (r + 1) * ((flags & 0x22) ? 100 : 50);
        }
    }
    if (flags & 0x11) dpi *= 2;
    return dpi;
}

bool SendSensorDPI(int level, int v) {
    if (level < 0 || level >= kDpiLevelMax || v <= 0) return false;
    int before = 0;
    {
        std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
        before = CurrentFlashData.DpiLevels[level].DpiRangeFlags;
    }
    const int fallback = (before & 0x22) ? v / 100 : v / 50;

    const DpiRange& range = DpiRangeTable;
    int m = 1;
    int e = 0;
    if (range.DpiRangeMode == 0x33) {
        static const int kMultiplier[] = {1, 2, 2, 4};
        static const int kBits[] = {0, 0x22, 0x11, 0x33};
        for (int k = qMin(range.DpiSegmentMinima.size(), 4); k >= 1; --k) {
            if (range.DpiSegmentMinima[k - 1] <= v) {
                m = kMultiplier[k - 1];
                e = kBits[k - 1];
                break;
            }
        }
    } else if (range.DpiRangeMode == 0x22 || range.DpiRangeMode == 0x11) {
        if (!range.DpiSegmentMaxima.isEmpty() && v > range.DpiSegmentMaxima.first()) {
            m = 2;
            e = range.DpiRangeMode;
        }
    }

    int r = 0;
    int flags = e;
    if (ModelHasTable()) {
        const QString name = TablePrefix() + "_" + QString::number(v / m);
        const int at = SensorHeaderNames.indexOf(name);
        r = at >= 0 ? SensorHeaderValues.value(at) : fallback;
        if (r < 0 || r > 255) return false;
    } else {
        r = v / (50 * m) - 1;
        if (r < 0) return false;
        if (HighBitModel()) {
            if (r > 1023) return false;
            const int high = r >> 8;
            flags |= (high << 2) | (high << 6);
        } else if (r > 255) {
            return false;
        }
    }
    return SetDpiLevelValue(level, r, r, flags);
}
