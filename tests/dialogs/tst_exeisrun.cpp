#include <QDir>
#include <QLabel>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "TestEnv.h"
#include "core/ConfigIni.h"
#include "core/MacroIni.h"
#include "dialogs/ExeIsRun.h"
#include "platform/Paths.h"
#include "widgets/DialogFrame.h"

namespace {

const char* const kEnglish = R"({
  "keyboard": {"home": {"OnRun": "keyboard part"}, "common": {"OK": "keyboard OK"}},
  "mouse": {
    "common": {"OK": "OK", "Cancel": "Cancel"},
    "home": {"OnRun": "Vorlant ZEMB is already running.", "Title": ["not", "walked"]},
    "macro": {"DialogSelectMacroFirst": "Select a macro first.", "DialogStopRecordFirst": "Stop the recording first."}
  }
})";
const char* const kCzech = R"({"mouse": {"common": {"OK": "OK"}, "home": {"OnRun": "Vorlant ZEMB již běží."},
  "macro": {"DialogSelectMacroFirst": "Nejprve vyberte makro.", "DialogStopRecordFirst": "Nejprve zastavte nahrávání."}}})";
const char* const kRussian =
    R"({"mouse": {"common": {"OK": "ОК"}, "home": {"OnRun": "Vorlant ZEMB уже запущен."}}})";

void WriteFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QString LabelText(ExeIsRun& dialog) {
    return dialog.findChild<QLabel*>("label")->text();
}
QString OkText(ExeIsRun& dialog) {
    return dialog.findChild<QToolButton*>("NewHong")->text();
}

}  // namespace

class TstExeIsRun : public QObject {
    Q_OBJECT
private:
    QString Install;

    // A fresh installation folder with the three language files (empty content: no file), a product table
    // and a Macro.ini whose "Language" is language (empty: no setting).
    void Prepare(const QByteArray& en, const QByteArray& cs, const QByteArray& ru, const QString& language) {
        Install = TestEnv::FreshDir("install");
        Paths::SetInstallDir(Install);
        if (!en.isEmpty()) WriteFile(Install + "/Language/en.json", en);
        if (!cs.isEmpty()) WriteFile(Install + "/Language/cs.json", cs);
        if (!ru.isEmpty()) WriteFile(Install + "/Language/ru.json", ru);
        const QDir pictures(QCoreApplication::applicationDirPath() + "/Picture/WarningDialog");
        QDir().mkpath(Install + "/Picture/WarningDialog");
        for (const QString& name : pictures.entryList(QDir::Files))
            QFile::copy(pictures.filePath(name), Install + "/Picture/WarningDialog/" + name);
        WriteFile(Install + "/usersetting/Config.ini", "[Option]\nLabelColor=10,200,30\nButtonColor=1,2,3\n");
        ConfigIni::ResetForTest(Install + "/usersetting/Config.ini");
        const QString macroIni = TestEnv::FreshDir("user") + "/Macro.ini";
        WriteFile(macroIni,
                  language.isNull() ? QByteArray() : ("[Language]\nLanguage=" + language.toUtf8() + "\n"));
        MacroIni::ResetForTest(macroIni);
    }

private slots:
    void cleanup() {
        Paths::SetInstallDir(QString());
        ConfigIni::ResetForTest();
        MacroIni::ResetForTest();
    }

    void textsPerLanguage_data() {
        QTest::addColumn<QByteArray>("en");
        QTest::addColumn<QByteArray>("cs");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("ok");
        QTest::addColumn<QString>("selectHint");
        QTest::addColumn<QString>("stopHint");
        const QByteArray en(kEnglish);
        const QByteArray cs(kCzech);
        const QString noSetting;
        QTest::newRow("no setting: English") << en << cs << noSetting << "Vorlant ZEMB is already running."
                                             << "OK"
                                             << "Select a macro first."
                                             << "Stop the recording first.";
        QTest::newRow("Czech") << en << cs << "1"
                               << "Vorlant ZEMB již běží."
                               << "OK"
                               << "Nejprve vyberte makro."
                               << "Nejprve zastavte nahrávání.";
        QTest::newRow("Russian") << en << cs << "2"
                                 << "Vorlant ZEMB уже запущен."
                                 << "ОК"
                                 << ""
                                 << "";
        QTest::newRow("not a number: English") << en << cs << "abc"
                                               << "Vorlant ZEMB is already running."
                                               << "OK"
                                               << "Select a macro first."
                                               << "Stop the recording first.";
        QTest::newRow("index out of range") << en << cs << "5"
                                            << "Confirm Delete"
                                            << "确定"
                                            << ""
                                            << "";
        QTest::newRow("negative index") << en << cs << "-1"
                                        << "Confirm Delete"
                                        << "确定"
                                        << ""
                                        << "";
        QTest::newRow("missing file") << en << QByteArray() << "1"
                                      << "Confirm Delete"
                                      << "确定"
                                      << ""
                                      << "";
        QTest::newRow("broken file") << QByteArray("{\"mouse\": {\"home\": {\"OnRun\": \"cut") << cs
                                     << noSetting << "Confirm Delete"
                                     << "确定"
                                     << ""
                                     << "";
        QTest::newRow("array document") << QByteArray("[{\"mouse\": {\"home\": {\"OnRun\": \"x\"}}}]") << cs
                                        << noSetting << "Confirm Delete"
                                        << "确定"
                                        << ""
                                        << "";
        QTest::newRow("keyboard part only")
            << QByteArray(R"({"keyboard": {"home": {"OnRun": "keys"}, "common": {"OK": "keys OK"}}})") << cs
            << noSetting << "Confirm Delete"
            << "确定"
            << ""
            << "";
        QTest::newRow("empty text keeps the default")
            << QByteArray(R"({"mouse": {"home": {"OnRun": ""}, "common": {"OK": "OK"}}})") << cs << noSetting
            << "Confirm Delete"
            << "OK"
            << ""
            << "";
    }
    void textsPerLanguage() {
        QFETCH(QByteArray, en);
        QFETCH(QByteArray, cs);
        QFETCH(QString, language);
        QFETCH(QString, label);
        QFETCH(QString, ok);
        QFETCH(QString, selectHint);
        QFETCH(QString, stopHint);
        Prepare(en, cs, kRussian, language);

        ExeIsRun dialog;
        QCOMPARE(LabelText(dialog), label);
        QCOMPARE(OkText(dialog), ok);
        dialog.ShowSelectMacroHint();
        QCOMPARE(LabelText(dialog), selectHint);
        dialog.ShowStopRecordHint();
        QCOMPARE(LabelText(dialog), stopHint);
    }

    void frameStyleAndFlags() {
        Prepare(kEnglish, kCzech, kRussian, QString());
        ExeIsRun dialog;
        QCOMPARE(int(DialogFrame::kWindowFlags), 0x6C12);
        QCOMPARE(dialog.windowFlags() & ~Qt::Window, DialogFrame::kWindowFlags);  // Qt adds Window: no parent
        const QString pictures = Install + "/Picture/WarningDialog/";
        QVERIFY(
            dialog.findChild<QWidget*>("DeleteConfirmA")->styleSheet().contains(pictures + "BackGround.png"));
        QVERIFY(dialog.findChild<QWidget*>("NewHong")->styleSheet().contains("color: rgb(1,2,3;)"));
        QVERIFY(
            dialog.findChild<QWidget*>("CloseButton")->styleSheet().contains(pictures + "CloseHover.png"));
        QLabel* label = dialog.findChild<QLabel*>("label");
        QCOMPARE(label->styleSheet(), QString("QLabel{color: rgb(10,200,30;);}"));
        label->ensurePolished();
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(10, 200, 30));
    }

    void closes_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK") << "NewHong";
        QTest::newRow("close button") << "CloseButton";
        QTest::newRow("Escape") << "Escape";
    }
    void closes() {
        QFETCH(QString, how);
        Prepare(kEnglish, kCzech, kRussian, QString());
        ExeIsRun dialog;
        QTimer::singleShot(0, &dialog, [&] {
            if (how == "Escape")
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                dialog.findChild<QToolButton*>(how)->click();
        });
        QTimer::singleShot(5000, &dialog, [&] { dialog.done(42); });  // safety net: fail, not hang
        const int result = dialog.exec();
        QVERIFY(result != 42);
        QVERIFY(!dialog.isVisible());
    }

    void installedPicturesAreDrawn_data() {
        QTest::addColumn<QString>("name");
        for (const char* name : {"BackGround.png", "Confirm.png", "ConfirmClick.png", "Close.png",
                                 "CloseHover.png", "CloseClick.png"})
            QTest::newRow(name) << QString(name);
    }
    void installedPicturesAreDrawn() {
        QFETCH(QString, name);
        const QImage image(QCoreApplication::applicationDirPath() + "/Picture/WarningDialog/" + name);
        QVERIFY2(!image.isNull(), qPrintable(name));
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
        QVERIFY2(colours.size() > 1, "a blank picture");
    }
};

QTEST_MAIN(TstExeIsRun)
#include "tst_exeisrun.moc"
