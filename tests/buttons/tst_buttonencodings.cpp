// Encodings of the button page: key names and codes, combination and media records, DPI-lock values.
#include <QtTest>
#include <cstring>

#include "DeviceFixture.h"
#include "buttons/Buttoninterface.h"

namespace {
using Event = QVector<int>;  // state, kind, code

QVector<Event> Events(const KeyActionRecord& record) {
    QVector<Event> events;
    for (int i = 0; i < record.EventCount && i < 6; ++i)
        events << Event{record.Events[i].State, record.Events[i].Kind, record.Events[i].Code};
    return events;
}
}  // namespace

class TstButtonEncodings : public QObject {
    Q_OBJECT
    Buttoninterface* page = nullptr;

private slots:
    void initTestCase() {
        DeviceFixture::Init();
        page = new Buttoninterface;
    }
    void cleanupTestCase() { delete page; }

    void comboTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QVector<Event>>("events");
        QTest::newRow("Ctrl+Alt+Del")
            << "Ctrl+Alt+Del" << true << QVector<Event>{{0, 0, 0x01}, {0, 0, 0x04}, {0, 1, 0x4C},
                                                        {1, 1, 0x4C}, {1, 0, 0x04}, {1, 0, 0x01}};
        QTest::newRow("F") << "F" << true << QVector<Event>{{0, 1, 0x09}, {1, 1, 0x09}};
        QTest::newRow("A++B") << "A++B" << true << QVector<Event>{{0, 1, 0x04}, {0, 1, 0}, {0, 1, 0x05},
                                                                  {1, 1, 0x05}, {1, 1, 0}, {1, 1, 0x04}};
        QTest::newRow("ctrl+a") << "ctrl+a" << true
                                << QVector<Event>{{0, 1, 0}, {0, 1, 0}, {1, 1, 0}, {1, 1, 0}};
        QTest::newRow("Ctrl+Num+") << "Ctrl+Num+" << true
                                   << QVector<Event>{{0, 0, 0x01}, {0, 1, 0x57}, {1, 1, 0x57}, {1, 0, 0x01}};
        QTest::newRow("Shift+F12") << "Shift+F12" << true
                                   << QVector<Event>{{0, 0, 0x02}, {0, 1, 0x45}, {1, 1, 0x45}, {1, 0, 0x02}};
        QTest::newRow("Win+→") << QString::fromUtf8("Win+→") << true
                               << QVector<Event>{{0, 0, 0x08}, {0, 1, 0x4F}, {1, 1, 0x4F}, {1, 0, 0x08}};
        QTest::newRow("four names") << "Ctrl+Shift+Alt+A" << false << QVector<Event>{};
        QTest::newRow("empty") << "" << false << QVector<Event>{};
    }
    void comboTexts() {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QFETCH(QVector<Event>, events);
        KeyActionRecord record;
        std::memset(&record, 0x5A, sizeof record);
        const KeyActionRecord untouched = record;
        QCOMPARE(Buttoninterface::ComboTextToRecord(text, record), accepted);
        if (!accepted) {
            QVERIFY(std::memcmp(&record, &untouched, sizeof record) == 0);
            return;
        }
        QCOMPARE(int(record.EventCount), events.size());
        QCOMPARE(Events(record), events);
        for (int i = 0; i < 6; ++i) QCOMPARE(record.Events[i].DelayMs, i < events.size() ? 10u : 0u);
        QVERIFY(record.Zero[0] == 0 && record.Zero[1] == 0 && record.Zero[2] == 0);
    }

    void keyCodeNames_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");
        QTest::newRow("0x20 modifier") << 0x20 << 0 << "Shift";
        QTest::newRow("0x20 key") << 0x20 << 1 << "3";
        QTest::newRow("0x20 consumer") << 0x20 << 2 << "";
        QTest::newRow("0x10 modifier") << 0x10 << 0 << "Ctrl";
        QTest::newRow("0x10 key") << 0x10 << 1 << "M";
        QTest::newRow("0x40 key") << 0x40 << 1 << "F7";
        QTest::newRow("0x40 modifier") << 0x40 << 0 << "Alt";
        QTest::newRow("0x80 key") << 0x80 << 1 << "Win";
        QTest::newRow("0x01 key") << 0x01 << 1 << "Ctrl";
        QTest::newRow("keypad Enter") << 0x58 << 1 << "Enter";
        QTest::newRow("Num+") << 0x57 << 1 << "Num+";
        QTest::newRow("Num9") << 0x61 << 1 << "Num9";
        QTest::newRow("0") << 0x27 << 1 << "0";
        QTest::newRow("unnamed 0x32") << 0x32 << 1 << "";
        QTest::newRow("unnamed 0x64") << 0x64 << 1 << "";
        QTest::newRow("zero") << 0 << 0 << "";
    }
    void keyCodeNames() {
        QFETCH(int, code);
        QFETCH(int, kind);
        QFETCH(QString, name);
        QCOMPARE(Buttoninterface::KeyCodeToName(code, kind), name);
    }

    // Every named key comes back from its own record.
    void namesRoundTrip() {
        for (int code = 0x04; code <= 0x65; ++code) {
            const QString name = Buttoninterface::KeyCodeToName(code, 1);
            if (name.isEmpty() || code == 0x58) continue;
            KeyActionRecord record{};
            QVERIFY2(Buttoninterface::ComboTextToRecord(name, record), qPrintable(name));
            QCOMPARE(int(record.Events[0].Code), code);
        }
    }

    void mediaRecord() {
        const KeyActionRecord record = Buttoninterface::MakeMediaRecord(0x01, 0x83);
        const QByteArray bytes(reinterpret_cast<const char*>(&record), sizeof record);
        QCOMPARE(bytes.left(20), QByteArray::fromHex("02000000000283010a000000010283010a000000"));
        QCOMPARE(bytes.mid(20), QByteArray(32, '\0'));
    }

    void dpiConversions_data() {
        QTest::addColumn<QString>("sensor");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QVector<int>>("values");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("indexIn");
        QTest::addColumn<int>("dpiOut");
        QTest::newRow("no defines") << "3395" << QStringList{} << QVector<int>{} << 400 << 7 << 7 << 400;
        QTest::newRow("other sensor's defines")
            << "3395" << QStringList{"SENSOR_3950_DPI_400"} << QVector<int>{3} << 1200 << 23 << 3 << 200;
        QTest::newRow("listed value")
            << "3395" << QStringList{"SENSOR_3395_DPI_400"} << QVector<int>{0x13} << 400 << 19 << 19 << 400;
        QTest::newRow("unlisted value")
            << "3395" << QStringList{"SENSOR_3395_DPI_400"} << QVector<int>{0x13} << 450 << 9 << 5 << 0;
        QTest::newRow("first of repeated names")
            << "3395" << QStringList{"SENSOR_3395_DPI_700", "SENSOR_3395_DPI_700"} << QVector<int>{4, 5}
            << 700 << 4 << 5 << 700;
        QTest::newRow("model with a capital I")
            << "PIXI" << QStringList{"SENSOR_PIXI_DPI_1100"} << QVector<int>{21} << 1100 << 21 << 21 << 1100;
    }
    void dpiConversions() {
        QFETCH(QString, sensor);
        QFETCH(QStringList, names);
        QFETCH(QVector<int>, values);
        QFETCH(int, dpi);
        QFETCH(int, index);
        QFETCH(int, indexIn);
        QFETCH(int, dpiOut);
        page->SensorName = sensor;
        page->SensorDefineNames = names;
        page->SensorDefineValues = values;
        QCOMPARE(page->DpiValueToIndex(dpi), index);
        QCOMPARE(page->DpiIndexToValue(indexIn), dpiOut);
    }
};

QTEST_MAIN(TstButtonEncodings)
#include "tst_buttonencodings.moc"
