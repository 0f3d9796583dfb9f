// The line reader of the sensor header, shared by the button page and the sensor page.
#include <QFile>
#include <QtTest>

#include "TestEnv.h"
#include "core/SensorDefines.h"

class TstSensorDefines : public QObject {
    Q_OBJECT

private slots:
    void readsDefineLines_data() {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QVector<int>>("values");
        QTest::newRow("hex after a tab") << QByteArray("#define SENSOR_3395_DPI_1600\t0x1F\n")
                                         << QStringList{"SENSOR_3395_DPI_1600"} << QVector<int>{31};
        QTest::newRow("decimal after a tab")
            << QByteArray("#define A\t31\n") << QStringList{"A"} << QVector<int>{31};
        QTest::newRow("digits without 0x are decimal")
            << QByteArray("#define A\t1F\n") << QStringList{"A"} << QVector<int>{0};
        QTest::newRow("tab value and comment")
            << QByteArray("#define A\t0x1F //note\n") << QStringList{"A"} << QVector<int>{31};
        QTest::newRow("value after a space")
            << QByteArray("#define A 0x1F\n") << QStringList{"A"} << QVector<int>{31};
        QTest::newRow("comment word as value")
            << QByteArray("#define A //note\n") << QStringList{"A"} << QVector<int>{0};
        QTest::newRow("comment with spaces")
            << QByteArray("#define A\t31 // a note\n") << QStringList{} << QVector<int>{};
        QTest::newRow("include guard")
            << QByteArray("#ifndef DRIVER_SENSOR_H\n#define DRIVER_SENSOR_H\n#endif\n") << QStringList{}
            << QVector<int>{};
        QTest::newRow("feature list")
            << QByteArray("#define SUPPORT_LOD_CAL\t3395,3950\n") << QStringList{} << QVector<int>{};
        QTest::newRow("feature word with a comment is a define")
            << QByteArray("#define SUPPORT_RIPPLE\t7 //list\n") << QStringList{"SUPPORT_RIPPLE"}
            << QVector<int>{7};
        QTest::newRow("last line without line end")
            << QByteArray("#define A\t1\n#define B\t2") << QStringList{"A"} << QVector<int>{1};
        QTest::newRow("three tokens without comment or end")
            << QByteArray("#define A 5") << QStringList{} << QVector<int>{};
        QTest::newRow("repeated name")
            << QByteArray("#define A\t1\n#define A\t2\n") << QStringList{"A", "A"} << QVector<int>{1, 2};
        QTest::newRow("damaged DPI entries are dropped")
            << QByteArray(
                   "#define X_DPI_SENSOR_3395_DPI_2000000000\t0x05\n#define SENSOR_3395_DPI_0 5\n"
                   "#define SENSOR_3395_DPI_400\t0x05\n")
            << QStringList{"SENSOR_3395_DPI_400"} << QVector<int>{5};
        QTest::newRow("carriage returns") << QByteArray("#define A\t0x10\r\n#define B 3\r\n")
                                          << QStringList{"A", "B"} << QVector<int>{16, 3};
    }
    void readsDefineLines() {
        QFETCH(QByteArray, header);
        QFETCH(QStringList, names);
        QFETCH(QVector<int>, values);
        const QString path = TestEnv::FreshDir("header") + "/driver_sensor.h";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(header);
        file.close();
        QStringList readNames;
        QVector<int> readValues;
        SensorDefines::Read(path, readNames, readValues);
        QCOMPARE(readNames, names);
        QCOMPARE(readValues, values);
    }

    void missingHeaderReadsNothing() {
        QStringList names;
        QVector<int> values;
        SensorDefines::Read(TestEnv::FreshDir("none") + "/driver_sensor.h", names, values);
        QVERIFY(names.isEmpty() && values.isEmpty());
    }

    // The installed header carries the feature lists only.
    void installedHeaderHasNoDefines() {
        const QString path = QCoreApplication::applicationDirPath() + "/driver_sensor.h";
        QVERIFY(QFile::exists(path));
        QStringList names;
        QVector<int> values;
        SensorDefines::Read(path, names, values);
        QVERIFY2(names.isEmpty(), qPrintable(names.join(',')));
    }
};

QTEST_GUILESS_MAIN(TstSensorDefines)
#include "tst_sensordefines.moc"
