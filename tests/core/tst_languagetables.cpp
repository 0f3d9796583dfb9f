#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QtTest>

#include "TestEnv.h"
#include "core/LanguageLoader.h"
#include "core/LanguageTables.h"
#include "core/MacroIni.h"
#include "platform/Paths.h"

namespace {
const char* const Missing = "<missing>";

// Writes `text` to `path`, or removes the file when text is Missing.
void Put(const QString& path, const QString& text) {
    QFile::remove(path);
    if (text == Missing) return;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    file.write(text.toUtf8());
}

// Every string leaf of a JSON document as "path/to/key" (arrays by index).
void Flatten(const QJsonValue& value, const QString& path, QSet<QString>& out) {
    if (value.isObject()) {
        const QJsonObject o = value.toObject();
        for (auto it = o.begin(); it != o.end(); ++it) Flatten(it.value(), path + "/" + it.key(), out);
    } else if (value.isArray()) {
        const QJsonArray a = value.toArray();
        for (int i = 0; i < a.size(); ++i) Flatten(a[i], path + "/" + QString::number(i), out);
    } else if (value.isString() && !value.toString().isEmpty()) {
        out.insert(path);
    }
}

QSet<QString> ShippedKeys(const QString& file) {
    QFile f(QCoreApplication::applicationDirPath() + "/Language/" + file);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &error);
    if (error.error != QJsonParseError::NoError) return {};
    QSet<QString> keys;
    Flatten(doc.object(), QString(), keys);
    return keys;
}

const char* const WalkEn = R"({
  "mouse": {
    "home": {"OpenMain": "Open", "Exit": "Quit"},
    "common": {"OK": "OK", "deep": {"Nested": "nested", "macro": {"Moved": "moved"}, "zLater": "later"}},
    "empty": {"Blank": ""},
    "ProfileOptions": [
      {"value": 2, "option": "Two",
       "children": [{"value": 5, "option": "Five"}, {"value": "x", "option": "NotNumber"}]},
      "not an object",
      {"value": 2, "option": "TwoAgain"}
    ],
    "receiverStatusList": [{"option": "b", "info": "B"}, {"option": "a", "info": "A"}],
    "KeyOptions": [{"value": "0x01", "label": "Left"}]
  },
  "keyboard": {
    "common": {"OK": "Keyboard OK", "OnRun": "keyboard run"},
    "home": {"OpenMain": "not stored"},
    "keyboardKeyfunctions": [
      {"type": "0x0A", "value": "v1", "label": "L1"},
      {"type": "0x04", "value": "v2", "label": "L2"},
      {"type": "0x00", "value": "v0", "label": "L0"}
    ],
    "ReportRates": [{"value": 1000, "option": "1000 Hz"}]
  },
  "aaa": {"Early": "no part, no section"},
  "zzz": {"Late": "after mouse"}
})";

const char* const WalkCs = R"({"mouse": {"home": {"OpenMain": "Otevřít"}}})";
}  // namespace

class TstLanguageTables : public QObject {
    Q_OBJECT
    QString Folder;

    void Load(const QString& en, const QString& cs, const QString& net = Missing) {
        Put(Folder + "/en.json", en);
        Put(Folder + "/cs.json", cs);
        Put(Folder + "/Net.xml", net);
        LoadLanguageFiles();
    }

private slots:
    void initTestCase() {
        const QString install = TestEnv::FreshDir("install");
        Folder = install + "/Language";
        QDir().mkpath(Folder);
        Paths::SetInstallDir(install);
    }
    void cleanupTestCase() { Paths::SetInstallDir(QString()); }

    void walkFillsTables() {
        Load(WalkEn, WalkCs);
        QCOMPARE(LanguageText(MouseHomeTexts, 0, "OpenMain"), QString("Open"));
        QCOMPARE(LanguageText(MouseHomeTexts, 0, "Exit"), QString("Quit"));
        QCOMPARE(LanguageText(MouseHomeTexts, 1, "OpenMain"), QString::fromUtf8("Otevřít"));
        QCOMPARE(LanguageText(MouseHomeTexts, 1, "Exit"), QString());
        // Keyboard and mouse texts of the same section stay apart.
        QCOMPARE(LanguageText(MouseCommonTexts, 0, "OK"), QString("OK"));
        QCOMPARE(LanguageText(KeyboardCommonTexts, 0, "OK"), QString("Keyboard OK"));
        QCOMPARE(LanguageText(MouseCommonTexts, 0, "OnRun"), QString());
        // Deep members belong to the section above them; a nested section name switches it.
        QCOMPARE(LanguageText(MouseCommonTexts, 0, "Nested"), QString("nested"));
        QCOMPARE(LanguageText(MouseMacroTexts, 0, "Moved"), QString("moved"));
        QCOMPARE(LanguageText(MouseMacroTexts, 0, "zLater"), QString("later"));
        QVERIFY(!MouseCommonTexts[0].contains("Moved"));
        QVERIFY(!MouseMacroTexts[0].contains("Blank"));  // empty strings are not stored
        // The walk goes by sorted keys: "aaa" comes before any part or section, "zzz" after
        // the mouse part, whose last section was "home".
        QCOMPARE(LanguageText(MouseHomeTexts, 0, "Late"), QString("after mouse"));
        for (const TextTable* t : {&KeyboardCommonTexts, &MouseCommonTexts, &MouseHomeTexts})
            QVERIFY(!(*t)[0].contains("Early"));
    }

    // Every label of a key option stays, and position 0 is the last one of the file.
    void keyOptionLabelsByPosition_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("found");
        QTest::newRow("last") << "0x0100" << 0 << "Fourth" << true;
        QTest::newRow("first of four") << "0x0100" << 3 << "First" << true;
        QTest::newRow("from children") << "0x0100" << 1 << "Third" << true;
        QTest::newRow("beyond") << "0x0100" << 4 << "" << false;
        QTest::newRow("negative") << "0x0100" << -1 << "" << false;
        QTest::newRow("single") << "7" << 0 << "Rate" << true;
        QTest::newRow("unknown value") << "0x0999" << 0 << "" << false;
    }
    void keyOptionLabelsByPosition() {
        QFETCH(QString, value);
        QFETCH(int, position);
        QFETCH(QString, label);
        QFETCH(bool, found);
        Load(R"({"mouse": {"key": {"KeyOptions": [
               {"value": "0x0100", "label": "First"}, {"value": "7", "label": "Rate"},
               {"value": "0x0100", "label": "Second", "children": [{"value": "0x0100", "label": "Third"}]},
               {"value": "0x0100", "label": "Fourth"}]}}})",
             WalkCs);
        bool ok = !found;
        QCOMPARE(KeyOptionLabel(0, value, position, &ok), label);
        QCOMPARE(ok, found);
        QCOMPARE(KeyOptionLabel(1, value, position), QString());
        QCOMPARE(LanguageText(MouseKeyOptionLabels, 0, "0x0100"), QString("Fourth"));
    }

    void walkFillsOptionArrays() {
        Load(WalkEn, WalkCs);
        const TextMap& profiles = MouseProfileLabels[0];
        QCOMPARE(profiles.value("2"), QString("TwoAgain"));  // the later one in file order
        QCOMPARE(profiles.value("5"), QString("Five"));      // from "children"
        QCOMPARE(profiles.value("0"), QString("NotNumber"));
        QCOMPARE(profiles.size(), 3);
        QCOMPARE(LanguageText(MouseKeyOptionLabels, 0, "0x01"), QString("Left"));
        QCOMPARE(LanguageText(KeyboardReportRateLabels, 0, "1000"), QString("1000 Hz"));
        QVERIFY(MouseReportRateLabels[0].isEmpty());
        QCOMPARE(LanguageText(KeyboardKeyFunction0ALabels, 0, "v1"), QString("L1"));
        QCOMPARE(LanguageText(KeyboardKeyFunction00Labels, 0, "v0"), QString("L0"));
        for (const TextTable* t : {&KeyboardKeyFunction00Labels, &KeyboardKeyFunction01Labels,
                                   &KeyboardKeyFunction05Labels, &KeyboardKeyFunction0ALabels})
            QVERIFY(!(*t)[0].contains("v2"));
        const TextPairs expected{{"b", "B"}, {"a", "A"}};
        QCOMPARE(ReceiverStatusPairs(0), expected);
        QVERIFY(ReceiverStatusPairs(1).isEmpty());
        QVERIFY(MouseProfileLabels[1].isEmpty());
    }

    void fileStates_data() {
        QTest::addColumn<QString>("en");
        QTest::addColumn<QString>("cs");
        QTest::addColumn<QString>("expectEn");
        QTest::addColumn<QString>("expectCs");
        const QString en = R"({"mouse": {"home": {"OpenMain": "Open"}}})";
        const QString cs = R"({"mouse": {"home": {"OpenMain": "Otevřít"}}})";
        QTest::newRow("both") << en << cs << "Open" << QString::fromUtf8("Otevřít");
        QTest::newRow("cs missing") << en << Missing << "Open"
                                    << "";
        QTest::newRow("cs broken") << en << cs.left(20) << "Open"
                                   << "";
        QTest::newRow("en missing") << Missing << cs << "" << QString::fromUtf8("Otevřít");
        QTest::newRow("en empty file") << "" << cs << "" << QString::fromUtf8("Otevřít");
        QTest::newRow("array document") << "[{\"home\": \"x\"}]" << cs << "" << QString::fromUtf8("Otevřít");
        QTest::newRow("both missing") << Missing << Missing << ""
                                      << "";
    }
    void fileStates() {
        QFETCH(QString, en);
        QFETCH(QString, cs);
        QFETCH(QString, expectEn);
        QFETCH(QString, expectCs);
        Load(en, cs);
        QCOMPARE(LanguageText(MouseHomeTexts, 0, "OpenMain"), expectEn);
        QCOMPARE(LanguageText(MouseHomeTexts, 1, "OpenMain"), expectCs);
        // Every table holds exactly one element per language, also after a reload.
        for (const TextTable* t :
             {&MouseHomeTexts, &KeyboardUpdateTexts, &MouseRandomDelayLabels, &KeyboardKeyFunction0ALabels})
            QCOMPARE(t->size(), LanguageCount);
        QCOMPARE(MouseReceiverStatusPairs.size(), LanguageCount);
    }

    void netXml_data() {
        QTest::addColumn<QString>("xml");
        QTest::addColumn<int>("entries");
        QTest::addColumn<QStringList>("texts");  // CompanyText 0..3
        const QString english =
            "<English><CompanyName>Name</CompanyName><CompanyNameCn>NameCs</CompanyNameCn>"
            "<Label>skip</Label><CompanyWebcn>web.cs</CompanyWebcn>"
            "<CompanyWeben>web.en</CompanyWeben></English>";
        const QStringList full{"Name", "NameCs", "web.cs", "web.en"};
        const QStringList none{"", "", "", ""};
        QTest::newRow("english") << "<?xml version=\"1.0\"?><Profile>" + english + "</Profile>" << 1 << full;
        QTest::newRow("other element before english")
            << "<Profile><Sensor><CompanyName>Hidden</CompanyName><a><b/></a></Sensor>" + english +
                   "</Profile>"
            << 1 << full;
        QTest::newRow("notice element before english")
            << "<Profile><InportFail><label>x</label></InportFail>" + english + "</Profile>" << 0 << none;
        QTest::newRow("root is not Profile")
            << "<Labels><Profile>" + english + "</Profile></Labels>" << 0 << none;
        QTest::newRow("missing file") << QString(Missing) << 0 << none;
        QTest::newRow("no CompanyWeben")
            << "<Profile><English><CompanyName>Name</CompanyName></English></Profile>" << 0 << none;
        QTest::newRow("short entry")
            << "<Profile><English><CompanyName>Name</CompanyName><CompanyWeben>web.en</CompanyWeben>"
               "</English></Profile>"
            << 1 << QStringList{"Name", "web.en", "", ""};
        QTest::newRow("broken after an entry")
            << "<Profile>" + english + "<English><CompanyName>x</Comp" << 1 << full;
    }
    void netXml() {
        QFETCH(QString, xml);
        QFETCH(int, entries);
        QFETCH(QStringList, texts);
        Load(Missing, Missing, xml);
        QCOMPARE(CompanyTexts.size(), entries);
        for (int i = 0; i < 4; ++i) QCOMPARE(CompanyText(i), texts[i]);
        QCOMPARE(CompanyText(-1), QString());
        QCOMPARE(CompanyText(4), QString());
    }

    void languageOutOfRangeReadsEnglish() {
        Load(WalkEn, WalkCs);
        for (int language : {-1, 2, 99})
            QCOMPARE(LanguageText(MouseHomeTexts, language, "OpenMain"), QString("Open"));
        const TextPairs expected{{"b", "B"}, {"a", "A"}};
        QCOMPARE(ReceiverStatusPairs(5), expected);
        const TextTable unloaded;
        QCOMPARE(LanguageText(unloaded, 1, "OpenMain"), QString());
        QVERIFY(LanguageMap(unloaded, 0).isEmpty());
    }

    void languageSetting_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("none") << QString() << 0;
        QTest::newRow("English") << "0" << 0;
        QTest::newRow("Czech") << "1" << 1;
        QTest::newRow("unknown 2") << "2" << 0;
        QTest::newRow("negative") << "-1" << 0;
        QTest::newRow("not a number") << "cs" << 0;
    }
    void languageSetting() {
        QFETCH(QString, stored);
        QFETCH(int, expected);
        MacroIni::ResetForTest(TestEnv::FreshDir("macro") + "/Macro.ini");
        if (!stored.isNull()) MacroIni::GetInstance()->SetValue("Language", "Language", stored);
        QCOMPARE(LanguageSetting(), expected);
        MacroIni::ResetForTest();
    }

    // The shipped files: both languages carry the same keys, and the texts this shell reads.
    void shippedFiles() {
        const QSet<QString> en = ShippedKeys("en.json");
        const QSet<QString> cs = ShippedKeys("cs.json");
        QVERIFY(!en.isEmpty());
        QCOMPARE(en - cs, QSet<QString>());
        QCOMPARE(cs - en, QSet<QString>());
        const QSet<QString> notice{"/mouse/home/OnRun", "/mouse/common/OK",
                                   "/mouse/macro/DialogSelectMacroFirst",
                                   "/mouse/macro/DialogStopRecordFirst"};
        QCOMPARE(ShippedKeys("ru.json"), notice);

        Paths::SetInstallDir(QCoreApplication::applicationDirPath());
        LoadLanguageFiles();
        for (int language : {0, 1}) {
            for (const char* key : {"OpenMain", "Exit", "OnRun", "WiredMode", "NewVerTips"})
                QVERIFY2(!LanguageText(MouseHomeTexts, language, key).isEmpty(), key);
            QVERIFY(!LanguageText(MouseCommonTexts, language, "OK").isEmpty());
            QVERIFY(!LanguageText(MouseMacroTexts, language, "DialogSelectMacroFirst").isEmpty());
        }
        QVERIFY(LanguageText(MouseHomeTexts, 0, "Exit") != LanguageText(MouseHomeTexts, 1, "Exit"));
        QCOMPARE(CompanyTexts.size(), 1);
        for (int i = 0; i < 4; ++i) QVERIFY(!CompanyText(i).isEmpty());
        Paths::SetInstallDir(QFileInfo(Folder).path());
    }
};

QTEST_GUILESS_MAIN(TstLanguageTables)
#include "tst_languagetables.moc"
