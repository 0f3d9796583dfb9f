#include <QFile>
#include <QImage>
#include <QLabel>
#include <QtTest>

#include "core/LanguageLoader.h"
#include "core/LanguageTables.h"
#include "core/PostMsg.h"
#include "keys/FireKey.h"
#include "widgets/DialogFrame.h"

Q_DECLARE_METATYPE(const TextTable*)

// The installation carries the key-entry dialogs' texts in both languages and their pictures.
class TestKeyTexts : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { LoadLanguageFiles(); }

    void installedTexts_data() {
        QTest::addColumn<const TextTable*>("table");
        QTest::addColumn<QString>("key");
        const QList<QPair<const TextTable*, QStringList>> keys = {
            {&MouseCommonTexts, {"OK", "Cancel"}},
            {&MouseHomeTexts, {"ComKey", "EnterDelay", "EnterKey", "MaxThree"}},
            {&MouseKeyTexts, {"DialogFireKeyTimes", "DialogFireKeyInterval", "DialogFireKeyTips"}},
        };
        for (const auto& [table, names] : keys)
            for (const QString& key : names) QTest::newRow(qPrintable(key)) << table << key;
    }
    void installedTexts() {
        QFETCH(const TextTable*, table);
        QFETCH(QString, key);
        QVERIFY(!LanguageText(*table, 0, key).isEmpty());
        QVERIFY(!LanguageText(*table, 1, key).isEmpty());
        QVERIFY(LanguageText(*table, 0, key) != LanguageText(*table, 1, key) || key == "OK" ||
                key == "DialogFireKeyInterval");
    }

    void pictures_data() {
        QTest::addColumn<QString>("file");
        for (const char* name : {"CheckBox.png", "CheckBoxCheck.png", "BackGround.png", "Confirm.png"})
            QTest::newRow(name) << name;
    }
    void pictures() {
        QFETCH(QString, file);
        const QImage image(DialogFrame::PicturePath() + file);
        QVERIFY2(!image.isNull(), qPrintable(DialogFrame::PicturePath() + file));
    }

    void dialogFollowsTheLanguage() {
        FireKey dialog;
        QLabel* label = dialog.findChild<QLabel*>("label_3");
        QCOMPARE(label->text(), LanguageText(MouseKeyTexts, 0, "DialogFireKeyTips"));
        PostMsg::GetInstance()->EmitSigAllLanguage(1);
        QCOMPARE(label->text(), LanguageText(MouseKeyTexts, 1, "DialogFireKeyTips"));
        PostMsg::GetInstance()->EmitSigAllLanguage(0);
    }
};

QTEST_MAIN(TestKeyTexts)
#include "tst_keytexts.moc"
