#include <QCoreApplication>
#include <QFile>
#include <QSet>
#include <QtTest>
#include <thread>
#include <vector>

#include "TestEnv.h"
#include "core/ConfigIni.h"
#include "widgets/ColorText.h"

namespace {
QString B64(const QByteArray& text) {
    return QString::fromLatin1(text.toBase64());
}

QString WriteFile(const QString& path, const QString& text) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write %s", qPrintable(path));
    file.write(text.toUtf8());
    return path;
}
}  // namespace

class TstConfigIni : public QObject {
    Q_OBJECT
    QString Fixture;

private slots:
    void initTestCase() {
        const QString dir = TestEnv::FreshDir("configini");
        Fixture = WriteFile(dir + "/Config.ini",
                            "[Option]\n"
                            "CID=" +
                                B64("1") +
                                "\n"
                                "VID=" +
                                B64("3A1B") + "," + B64(" 3A\n1C ") +
                                "\n"
                                "USB_PID=" +
                                B64("5001") +
                                "\n"
                                "Wireless8_PID=" +
                                B64("60 08\n") +
                                "\n"
                                "Wireless2_PID=\n"
                                "DeviceTotal=" +
                                B64("2") +
                                "\n"
                                "LabelColor=255,255,255\n"
                                "ButtonColor=12,34\n"
                                "[Drive1]\n"
                                "MID=" +
                                B64("6") +
                                "\n"
                                "Sensor=" +
                                B64("33\n95 ") +
                                "\n"
                                "MM=@@" +
                                B64("ZEMB_M6") +
                                "\n"
                                "D8M=" +
                                B64("Mouse \xc4\x8d\n") +
                                "\n"
                                "KeyParam3=0x05,0x00,0xE9\n");
    }
    void cleanupTestCase() { ConfigIni::ResetForTest(); }
    void init() { ConfigIni::ResetForTest(Fixture); }

    void values_data() {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Base64 CID") << "Option"
                                    << "CID"
                                    << "1";
        QTest::newRow("Base64 line feed and spaces removed") << "Option"
                                                             << "Wireless8_PID"
                                                             << "6008";
        QTest::newRow("Base64 key in a model group") << "Drive1"
                                                     << "Sensor"
                                                     << "3395";
        QTest::newRow("invalid characters skipped") << "Drive1"
                                                    << "MM"
                                                    << "ZEMB_M6";
        QTest::newRow("UTF-8 decoded") << "Drive1"
                                       << "D8M" << QString::fromUtf8("Mouse\xc4\x8d");
        QTest::newRow("empty Base64 value") << "Option"
                                            << "Wireless2_PID"
                                            << "";
        QTest::newRow("other key verbatim") << "Option"
                                            << "DeviceTotal" << B64("2");
        QTest::newRow("MID is not Base64") << "Drive1"
                                           << "MID" << B64("6");
        QTest::newRow("missing key") << "Option"
                                     << "Nothing"
                                     << "";
        QTest::newRow("missing group") << "Drive9"
                                       << "MID"
                                       << "";
    }
    void values() {
        QFETCH(QString, group);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QCOMPARE(ConfigIni::GetInstance()->GetValue(group, key), expected);
    }

    void lists_data() {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("each element decoded") << "Option"
                                              << "VID" << QStringList{"3A1B", "3A1C"};
        QTest::newRow("one element") << "Option"
                                     << "USB_PID" << QStringList{"5001"};
        QTest::newRow("colour of three") << "Option"
                                         << "LabelColor" << QStringList{"255", "255", "255"};
        QTest::newRow("plain list verbatim") << "Drive1"
                                             << "KeyParam3" << QStringList{"0x05", "0x00", "0xE9"};
        QTest::newRow("missing") << "Drive1"
                                 << "KeyParam4" << QStringList();
    }
    void lists() {
        QFETCH(QString, group);
        QFETCH(QString, key);
        QFETCH(QStringList, expected);
        QCOMPARE(ConfigIni::GetInstance()->GetStringList(group, key), expected);
    }

    void missingFileReadsEmpty() {
        ConfigIni::ResetForTest(QDir::homePath() + "/no/such/Config.ini");
        ConfigIni* config = ConfigIni::GetInstance();
        QCOMPARE(config->GetValue("Option", "CID"), QString());
        QCOMPARE(config->GetValue("Option", "DeviceTotal").toInt(), 0);
        QVERIFY(config->GetStringList("Option", "VID").isEmpty());
        QCOMPARE(OptionColorText("LabelColor"), QString(DefaultColorText));
    }

    void instanceIsSharedAcrossThreads() {
        std::vector<ConfigIni*> seen(8, nullptr);
        std::vector<QString> sensors(8);
        std::vector<std::thread> threads;
        for (int i = 0; i < 8; ++i)
            threads.emplace_back([&, i] {
                for (int n = 0; n < 200; ++n) {
                    seen[i] = ConfigIni::GetInstance();
                    sensors[i] = seen[i]->GetValue("Drive1", "Sensor");
                    seen[i]->GetStringList("Option", "VID");
                }
            });
        for (auto& t : threads) t.join();
        for (int i = 0; i < 8; ++i) {
            QCOMPARE(seen[i], seen[0]);
            QCOMPARE(sensors[i], QString("3395"));
        }
    }

    void colourText_data() {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("expected");
        QTest::newRow("three numbers") << QStringList{"255", "255", "255"} << "255,255,255";
        QTest::newRow("spaces trimmed") << QStringList{" 0", "128 ", " 7 "} << "0,128,7";
        QTest::newRow("extra elements ignored") << QStringList{"1", "2", "3", "4"} << "1,2,3";
        QTest::newRow("two numbers") << QStringList{"1", "2"} << DefaultColorText;
        QTest::newRow("empty") << QStringList() << DefaultColorText;
        QTest::newRow("not a number") << QStringList{"1", "x", "3"} << DefaultColorText;
        QTest::newRow("above 255") << QStringList{"1", "2", "256"} << DefaultColorText;
        QTest::newRow("negative") << QStringList{"-1", "2", "3"} << DefaultColorText;
    }
    void colourText() {
        QFETCH(QStringList, list);
        QFETCH(QString, expected);
        QCOMPARE(ColorText(list), expected);
    }

    void optionColourFallsBack() {
        QCOMPARE(OptionColorText("LabelColor"), QString("255,255,255"));
        QCOMPARE(OptionColorText("ButtonColor"), QString(DefaultColorText));
        QCOMPARE(OptionColorText("ButtonColor", "0,0,0"), QString("0,0,0"));
    }

    // The shipped product table holds the installation's agreed models.
    void shippedTable() {
        ConfigIni::ResetForTest(QCoreApplication::applicationDirPath() + "/usersetting/Config.ini");
        const ConfigIni* c = ConfigIni::GetInstance();
        QCOMPARE(c->GetValue("Option", "CID"), QString("35"));
        QCOMPARE(c->GetStringList("Option", "VID"), QStringList{"3A1B"});
        QCOMPARE(c->GetStringList("Option", "USB_PID"), QStringList{"5001"});
        QCOMPARE(c->GetStringList("Option", "Wireless_PID"), QStringList{"6001"});
        QCOMPARE(c->GetStringList("Option", "Wireless2_PID"), QStringList{"6002"});
        QCOMPARE(c->GetStringList("Option", "Wireless4_PID"), QStringList{"6004"});
        QCOMPARE(c->GetStringList("Option", "Wireless8_PID"), QStringList{"6008"});
        QCOMPARE(c->GetValue("Option", "DeviceTotal").toInt(), 2);
        for (const char* key : {"InterfaceId", "DeviceId", "Transition", "ShowBatteryValue"}) {
            bool ok = false;
            c->GetValue("Option", key).toInt(&ok, 10);
            QVERIFY2(ok, key);
        }
        for (const char* key :
             {"LabelColor", "ButtonColor", "ComboxTextColor", "ComboxSelectColor", "ComboxBackGroundColor",
              "SliderColor", "LinEditColor", "LinEditColorSecond"}) {
            const QStringList list = c->GetStringList("Option", key);
            QVERIFY2(list.size() == 3 && ColorText(list, "none") != "none", key);
        }

        struct Model {
            const char* Group;
            const char* Mid;
            const char* Sensor;
            const char* Mm;
            int Keys;
            bool LongRange;
        };
        const Model models[] = {{"Drive1", "6", "3395", "ZEMB_M6", 8, true},
                                {"Drive2", "7", "3950", "ZEMB_M7", 6, false}};
        QSet<QString> receiverNames;
        for (const Model& m : models) {
            const QString g = m.Group;
            QCOMPARE(c->GetValue(g, "MID"), QString(m.Mid));
            QCOMPARE(c->GetValue(g, "Sensor"), QString(m.Sensor));
            QCOMPARE(c->GetValue(g, "MM"), QString(m.Mm));
            for (const char* key : {"DM", "D2M", "D4M", "D8M"}) {
                QVERIFY2(!c->GetValue(g, key).isEmpty(), key);
                receiverNames.insert(c->GetValue(g, key));
            }
            QCOMPARE(c->GetValue(g, "KeyNumber").toInt(), m.Keys);
            QCOMPARE(c->GetValue(g, "DPIMaxGrade").toInt(), 8);
            QCOMPARE(c->GetStringList(g, "DPIGrade").size(), 8);
            QCOMPARE(c->GetStringList(g, "DPIColor").size(), 24);
            const int rangeItems = c->GetStringList(g, "DPIRange").size();
            QVERIFY((rangeItems - 1) % 3 == 0 && rangeItems >= 4 && rangeItems <= 13);
            QVERIFY(!c->GetValue(g, "XIn1").isEmpty());
            for (int k = 1; k <= 16; ++k) {
                const QStringList param = c->GetStringList(g, "KeyParam" + QString::number(k));
                QVERIFY(param.size() >= 3);
                QVERIFY(param.first().startsWith("0x") && param.first().size() == 4);
            }
            const QStringList adv = c->GetStringList(g, "Adveanced");
            QCOMPARE(adv.size(), 2);
            if (m.LongRange)
                QVERIFY(adv[0] == "0" || adv[0] == "1");
            else
                QCOMPARE(adv[0], QString("-1"));
        }
        QCOMPARE(c->GetValue("Drive1", "DM"), QString("ZEMB_D1"));
        QCOMPARE(c->GetValue("Drive1", "D2M"), QString("ZEMB_D2"));
        QCOMPARE(c->GetValue("Drive1", "D4M"), QString("ZEMB_D4"));
        QCOMPARE(c->GetValue("Drive1", "D8M"), QString("ZEMB_D8"));
        QCOMPARE(receiverNames.size(), 8);  // every receiver firmware name is its own
    }
};

QTEST_GUILESS_MAIN(TstConfigIni)
#include "tst_configini.moc"
