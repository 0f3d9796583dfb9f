#pragma once
#include <QString>
#include <QStringList>
#include <QVector>

// The sensor header "driver_sensor.h" line by line, as both the button page and the sensor page read
// it: define lines give names and values in file order (names may repeat); the six feature-list lines
// give the models that have a feature. Include guards, a last line without a line end, lines that fit
// no define form and damaged DPI table entries add nothing.
namespace SensorDefines {

// The feature lists, in this order.
enum FeatureList { SensorModeSel, LodCal, Ripple, FixLine, MotionSync, MousepadCal, FeatureListCount };

struct Line {
    enum Kind { Nothing, Feature, Define };
    Kind kind = Nothing;
    int feature = -1;  // a FeatureList, for a feature line
    QString models;    // the feature line's text
    QString name;      // a define's name
    int value = 0;     // a define's value
};
Line ParseLine(const QString& line);

// The define lines of the header at a path; a missing file adds nothing.
void Read(const QString& path, QStringList& names, QVector<int>& values);

// A header value: hexadecimal when it contains "0x", else decimal; white space around it is ignored;
// anything that is no number gives 0.
int NumberValue(const QString& text);

// The most DPI a register table entry may name: ten register bits in steps of 100 DPI. Decoding doubles
// an entry twice at most, so every entry within it stays a sound int.
constexpr int kMostTableDpi = 1024 * 100;

// The DPI of a table entry's number text (the text after "..._DPI_"): the decimal number when it lies
// in 1..kMostTableDpi, else 0. *isNumber tells whether the text is a signed decimal number at all, of
// any size.
int TableDpi(const QString& text, bool* isNumber = nullptr);

}  // namespace SensorDefines
