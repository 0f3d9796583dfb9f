// The sensor header reader, the product's DPI range, and the DPI register conversion against the
// simulated mouse.
#include <QFile>
#include <QtTest>

#include "DeviceFixture.h"
#include "TestEnv.h"
#include "core/SensorDefines.h"
#include "device/DeviceCommand.h"
#include "platform/Paths.h"
#include "sensor/SensorHeader.h"

namespace {
using DeviceFixture::HandedOver;

QString WriteHeader(const QByteArray& text) {
    const QString path = TestEnv::FreshDir("header") + "/driver_sensor.h";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    file.write(text);
    return path;
}

QString Defines() {
    QStringList entries;
    for (int k = 0; k < SensorHeaderNames.size(); ++k)
        entries << SensorHeaderNames[k] + "=" + QString::number(SensorHeaderValues.value(k));
    return entries.join(' ');
}

QString Lists(const SensorCapabilityLists& l) {
    return QStringList{l.SensorModeModels, l.LodCalModels,     l.RippleModels,
                       l.FixLineModels,    l.MotionSyncModels, l.MousepadCalModels}
        .join('/');
}

QByteArray LevelBytes(const FlashDataMap& image, int level) {
    return QByteArray(reinterpret_cast<const char*>(&image.DpiLevels[level]), 3);
}

}  // namespace

class TestSensorHeader : public QObject {
    Q_OBJECT

private slots:
    void header_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("defines");
        QTest::addColumn<QString>("lists");
        QTest::newRow("tab define") << QByteArray("#define SENSOR_X_DPI_400\t0x10\n#define A\t12\n")
                                    << "SENSOR_X_DPI_400=16 A=12"
                                    << "/////";
        QTest::newRow("carriage return dropped") << QByteArray("#define A\t7\r\n") << "A=7"
                                                 << "/////";
        QTest::newRow("value, blank, line feed") << QByteArray("#define NAME\t5 \n") << "NAME=5"
                                                 << "/////";
        QTest::newRow("keyword in a three-word line is a define")
            << QByteArray("#define SUPPORT_RIPPLE\t3395 \n") << "SUPPORT_RIPPLE=3395"
            << "/////";
        QTest::newRow("hex value with a comment") << QByteArray("#define A\t0x1F //note\n") << "A=31"
                                                  << "/////";
        QTest::newRow("name blank value") << QByteArray("#define B 12\n") << "B=12"
                                          << "/////";
        QTest::newRow("comment of three words") << QByteArray("// word other\n") << "word=0"
                                                << "/////";
        QTest::newRow("define with a longer comment") << QByteArray("#define A\t5 // two words\n") << ""
                                                      << "/////";
        QTest::newRow("unfinished last define") << QByteArray("#define A\t5\n#define B\t6") << "A=5"
                                                << "/////";
        QTest::newRow("unfinished last feature line")
            << QByteArray("#define A\t5\n#define SUPPORT_FIXLINE\t3950") << "A=5"
            << "///3950//";
        QTest::newRow("features, later line replaces")
            << QByteArray(
                   "#define SUPPORT_SENSOR_MODE_SEL\t3395\n#define SUPPORT_RIPPLE\t1|2\n"
                   "#define SUPPORT_RIPPLE\t3395|3950\n#define SUPPORT_MOUSEPAD_CAL\tx\n")
            << ""
            << "3395//3395|3950///x";
        QTest::newRow("no tab part adds nothing") << QByteArray("#define C\n#define SUPPORT_RIPPLE\n") << ""
                                                  << "/////";
        QTest::newRow("tabs only separate values") << QByteArray("#define\tA\t5\n") << ""
                                                   << "/////";
        QTest::newRow("DPI entry beyond the registers is a damaged line")
            << QByteArray(
                   "#define SENSOR_3395_DPI_2000000000\t0x05\n#define SENSOR_3395_DPI_400\t0x05\n"
                   "#define SENSOR_3395_DPI_99999999999999999999\t6\n")
            << "SENSOR_3395_DPI_400=5"
            << "/////";
        QTest::newRow("DPI entry of no DPI is a damaged line")
            << QByteArray(
                   "#define SENSOR_T1_DPI_0\t0x05\n#define SENSOR_T1_DPI_-400\t7\n"
                   "#define SENSOR_T1_DPI_102400\t9\n")
            << "SENSOR_T1_DPI_102400=9"
            << "/////";
    }

    void header() {
        QFETCH(QByteArray, text);
        QFETCH(QString, defines);
        QFETCH(QString, lists);
        SensorCapabilityLists read;
        ParseSensorHeaderFile(WriteHeader(text), &read);
        QCOMPARE(Defines(), defines);
        QCOMPARE(Lists(read), lists);
    }

    // One damaged header gives the button page and the sensor page one table, and a level whose code
    // a damaged entry carried decodes by the register rule without overflowing.
    void damagedLines_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("kept");
        QTest::newRow("DPI after a later _DPI_") << QByteArray("#define X_DPI_SENSOR_3395_DPI_2000000000\t0x05\n")
                                                 << false;
        QTest::newRow("beyond an int") << QByteArray("#define SENSOR_3395_DPI_99999999999999999999\t0x05\n")
                                       << false;
        QTest::newRow("beyond the registers, space form")
            << QByteArray("#define SENSOR_3395_DPI_2000000000 0x05\n") << false;
        QTest::newRow("beyond the registers, comment") << QByteArray("#define SENSOR_3395_DPI_102401\t5 //x\n")
                                                       << false;
        QTest::newRow("signed beyond") << QByteArray("#define SENSOR_3395_DPI_+2000000000\t0x05\n") << false;
        QTest::newRow("zero") << QByteArray("#define SENSOR_3395_DPI_0\t0x05\n") << false;
        QTest::newRow("negative") << QByteArray("#define SENSOR_3395_DPI_-400\t0x05\n") << false;
        QTest::newRow("most the registers hold") << QByteArray("#define SENSOR_3395_DPI_102400\t0x05\n") << true;
        QTest::newRow("no number after the last _DPI_")
            << QByteArray("#define SENSOR_3395_DPI_2000000000_A\t0x05\n") << true;
    }
    void damagedLines() {
        QFETCH(QByteArray, line);
        QFETCH(bool, kept);
        if (!kept) QTest::ignoreMessage(QtWarningMsg, QRegularExpression("damaged line ignored"));
        const QString path = WriteHeader("#define SENSOR_3395_DPI_400\t0x07\n" + line);
        SensorCapabilityLists lists;
        ParseSensorHeaderFile(path, &lists);
        if (!kept) QTest::ignoreMessage(QtWarningMsg, QRegularExpression("damaged line ignored"));
        QStringList buttonNames;
        QVector<int> buttonValues;
        SensorDefines::Read(path, buttonNames, buttonValues);
        QCOMPARE(buttonNames, QStringList(SensorHeaderNames.toList()));
        QCOMPARE(buttonValues, SensorHeaderValues);
        QCOMPARE(SensorHeaderNames.size(), kept ? 2 : 1);

        CurrentSensorModel = "3395";
        DpiLevelRecord record{};
        record.DpiCode = 5;
        record.DpiCodeCopy = 5;
        record.DpiRangeFlags = 0x33;
        const int dpi = DecodeLevelDpi(record);
        QVERIFY2(dpi >= 0 && dpi <= 4 * SensorDefines::kMostTableDpi, qPrintable(QString::number(dpi)));
    }

    void readingAgainReplacesTheTable() {
        SensorCapabilityLists read;
        ParseSensorHeaderFile(WriteHeader("#define A\t1\n#define B\t2\n"), &read);
        ParseSensorHeaderFile(WriteHeader("#define C\t3\n"), &read);
        QCOMPARE(Defines(), QString("C=3"));
        ParseSensorHeaderFile(TestEnv::FreshDir("none") + "/driver_sensor.h", &read);
        QCOMPARE(Defines(), QString());
    }

    void installedHeaderReachesEveryFeatureBranch() {
        SensorCapabilityLists read;
        ParseSensorHeader(&read);
        QVERIFY(read.SensorModeModels.contains("3395"));
        QVERIFY(!read.SensorModeModels.contains("3950"));
        QVERIFY(read.FixLineModels.contains("3950"));
        QVERIFY(!read.FixLineModels.contains("3395"));
        for (const QString& list :
             {read.RippleModels, read.LodCalModels, read.MotionSyncModels, read.MousepadCalModels}) {
            QVERIFY(list.contains("3395"));
            QVERIFY(list.contains("3950"));
        }
        // No register table for the shipped sensors.
        QVERIFY(QStringList(SensorHeaderNames.toList()).filter("_DPI").isEmpty());
    }

    void dpiRange_data() {
        QTest::addColumn<QString>("items");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("minima");
        QTest::addColumn<QString>("maxima");
        QTest::addColumn<QString>("minText");
        QTest::addColumn<QString>("maxText");
        QTest::newRow("13 items") << "100,1000,50,1050,4000,100,4100,8000,100,8200,16000,200,33" << 0x33 << 4
                                  << "100,1050,4100,8200"
                                  << "1000,4000,8000,16000"
                                  << "100"
                                  << "16000";
        QTest::newRow("7 items") << "50,4000,50,4100,8000,100,22" << 0x22 << 2 << "50,4100"
                                 << "4000,8000"
                                 << "50"
                                 << "8000";
        QTest::newRow("4 items") << "50,26000,50,0" << 0 << 1 << "50"
                                 << "26000"
                                 << "50"
                                 << "26000";
        QTest::newRow("no items") << "" << 0 << 0 << ""
                                  << ""
                                  << "keep"
                                  << "keep";
        QTest::newRow("16 items") << "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,11" << 0x11 << 5 << ""
                                  << ""
                                  << "keep"
                                  << "keep";
    }

    void dpiRange() {
        QFETCH(QString, items);
        QFETCH(int, mode);
        QFETCH(int, count);
        QFETCH(QString, minima);
        QFETCH(QString, maxima);
        QFETCH(QString, minText);
        QFETCH(QString, maxText);
        QString min = "keep";
        QString max = "keep";
        LoadDpiRangeItems(items.split(',', Qt::SkipEmptyParts), &min, &max);
        QCOMPARE(DpiRangeTable.DpiRangeMode, mode);
        QCOMPARE(DpiRangeTable.DpiSegmentCount, count);
        auto join = [](const QVector<int>& v) {
            QStringList parts;
            for (int x : v) parts << QString::number(x);
            return parts.join(',');
        };
        QCOMPARE(join(DpiRangeTable.DpiSegmentMinima), minima);
        QCOMPARE(join(DpiRangeTable.DpiSegmentMaxima), maxima);
        QCOMPARE(min, minText);
        QCOMPARE(max, maxText);
    }

    void conversion_data() {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<QString>("range");
        QTest::addColumn<int>("flagsBefore");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<QByteArray>("bytes");  // empty: nothing handed over
        QTest::addColumn<int>("decoded");

        const QByteArray table =
            "#define SENSOR_T1_DPI_400\t0x05\n#define SENSOR_T1_DPI_800\t0x0A\n"
            "#define SENSOR_T1_DPI_1600\t0x14\n#define SENSOR_T1_DPI_3200\t300\n";
        const QString four = "100,1000,50,1050,4000,100,4100,8000,100,8200,16000,200,33";
        QTest::newRow("3395 high bits") << "3395" << QByteArray() << "50,26000,50,0" << 0 << 26000
                                        << QByteArray::fromHex("070788") << 26000;
        QTest::newRow("3950 high bits") << "3950" << QByteArray() << "50,30000,50,0" << 0 << 30000
                                        << QByteArray::fromHex("575788") << 30000;
        QTest::newRow("other model") << "3311" << QByteArray() << "50,12000,50,0" << 0 << 1600
                                     << QByteArray::fromHex("1f1f00") << 1600;
        QTest::newRow("segment 2 of 4")
            << "3311" << QByteArray() << four << 0 << 2000 << QByteArray::fromHex("131322") << 2000;
        QTest::newRow("segment 3 of 4")
            << "3311" << QByteArray() << four << 0 << 6000 << QByteArray::fromHex("3b3b11") << 6000;
        QTest::newRow("segment 4 of 4")
            << "3311" << QByteArray() << four << 0 << 12000 << QByteArray::fromHex("3b3b33") << 12000;
        QTest::newRow("below every segment")
            << "3311" << QByteArray() << four << 0 << 50 << QByteArray::fromHex("000000") << 50;
        QTest::newRow("doubled at the first maximum")
            << "3311" << QByteArray() << "100,4000,50,4100,8000,100,22" << 0 << 4000
            << QByteArray::fromHex("4f4f00") << 4000;
        QTest::newRow("doubled above it") << "3311" << QByteArray() << "100,4000,50,4100,8000,100,22" << 0
                                          << 4200 << QByteArray::fromHex("292922") << 4200;
        QTest::newRow("doubled without segments")
            << "3311" << QByteArray() << "11" << 0 << 1600 << QByteArray::fromHex("1f1f00") << 1600;
        QTest::newRow("quadrupled without segments")
            << "3311" << QByteArray() << "33" << 0 << 1600 << QByteArray::fromHex("1f1f00") << 1600;
        QTest::newRow("table entry") << "T1" << table << "50,3200,50,0" << 0 << 800
                                     << QByteArray::fromHex("0a0a00") << 800;
        QTest::newRow("table fallback")
            << "T1" << table << "50,3200,50,0" << 0 << 1000 << QByteArray::fromHex("141400") << 1600;
        QTest::newRow("table fallback, doubled flags before")
            << "T1" << table << "50,3200,50,0" << 0x22 << 1000 << QByteArray::fromHex("0a0a00") << 800;
        QTest::newRow("table entry too large")
            << "T1" << table << "50,3200,50,0" << 0 << 3200 << QByteArray() << 0;
        QTest::newRow("zero") << "3311" << QByteArray() << "50,12000,50,0" << 0 << 0 << QByteArray() << 0;
        QTest::newRow("negative") << "3311" << QByteArray() << "50,12000,50,0" << 0 << -100 << QByteArray()
                                  << 0;
        QTest::newRow("other model above a byte")
            << "3311" << QByteArray() << "50,26000,50,0" << 0 << 20000 << QByteArray() << 0;
        QTest::newRow("3395 above ten bits")
            << "3395" << QByteArray() << "50,60000,50,0" << 0 << 60000 << QByteArray() << 0;
    }

    void conversion() {
        QFETCH(QString, model);
        QFETCH(QByteArray, header);
        QFETCH(QString, range);
        QFETCH(int, flagsBefore);
        QFETCH(int, dpi);
        QFETCH(QByteArray, bytes);
        QFETCH(int, decoded);
        DeviceFixture::Init();
        DeviceFixture::ConnectWithImage(DeviceFixture::IgnoreData);
        SensorCapabilityLists lists;
        ParseSensorHeaderFile(WriteHeader(header), &lists);
        CurrentSensorModel = model;
        QString min, max;
        LoadDpiRangeItems(range.split(','), &min, &max);
        const int level = 3;
        QVERIFY(SetDpiLevelValue(level, 1, 1, flagsBefore));
        const FlashDataMap before = DeviceFixture::ImageNow();
        HidSim::ClearCallLog();

        const bool sent = SendSensorDPI(level, dpi);

        QCOMPARE(sent, !bytes.isEmpty());
        QCOMPARE(HandedOver(), sent);
        if (!sent) {
            QVERIFY(std::memcmp(&before, &CurrentFlashData, sizeof before) == 0);
            return;
        }
        QCOMPARE(LevelBytes(DeviceFixture::LastHandedImage(), level), bytes);
        QCOMPARE(LevelBytes(DeviceFixture::ImageNow(), level), bytes);
        QCOMPARE(DecodeLevelDpi(DeviceFixture::ImageNow().DpiLevels[level]), decoded);
    }

    void decodeFlags_data() {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<QByteArray>("header");
        const QByteArray t1 = "#define SENSOR_T1_DPI_400\t0x05\n";
        QTest::newRow("base") << "3311" << 31 << 0 << 1600 << t1;
        QTest::newRow("doubled") << "3311" << 31 << 0x22 << 3200 << t1;
        QTest::newRow("quadrupled") << "3311" << 31 << 0x33 << 6400 << t1;
        QTest::newRow("high bits ignored for other models") << "3311" << 7 << 0x80 << 400 << t1;
        QTest::newRow("3395 high bits") << "3395" << 7 << 0x88 << 26000 << t1;
        QTest::newRow("table without the code") << "T1" << 99 << 0 << 0 << t1;
        QTest::newRow("table doubled") << "T1" << 5 << 0x33 << 1600 << t1;
        // The damaged entry is no table: the register rule decodes the level.
        QTest::newRow("damaged entry beyond the registers")
            << "3395" << 5 << 0x33 << 1200 << QByteArray("#define SENSOR_3395_DPI_2000000000\t0x05\n");
    }

    void decodeFlags() {
        QFETCH(QString, model);
        QFETCH(int, code);
        QFETCH(int, flags);
        QFETCH(int, dpi);
        QFETCH(QByteArray, header);
        SensorCapabilityLists lists;
        ParseSensorHeaderFile(WriteHeader(header), &lists);
        CurrentSensorModel = model;
        DpiLevelRecord record{};
        record.DpiCode = uint8_t(code);
        record.DpiCodeCopy = uint8_t(code);
        record.DpiRangeFlags = uint8_t(flags);
        QCOMPARE(DecodeLevelDpi(record), dpi);
    }

    void noLevelSendsNothing() {
        DeviceFixture::Init();
        DeviceFixture::ConnectWithImage(DeviceFixture::IgnoreData);
        CurrentSensorModel = "3395";
        HidSim::ClearCallLog();
        QVERIFY(!SendSensorDPI(-1, 1600));
        QVERIFY(!SendSensorDPI(8, 1600));
        QVERIFY(!HandedOver());
    }
};

QTEST_MAIN(TestSensorHeader)
#include "tst_sensorheader.moc"
