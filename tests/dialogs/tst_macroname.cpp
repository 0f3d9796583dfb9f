#include <QtTest>

#include "dialogs/MacroName.h"

class TstMacroName : public QObject {
    Q_OBJECT
private slots:
    void cut_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("30 single bytes stay") << QString(30, 'a') << QString(30, 'a');
        QTest::newRow("31 single bytes") << QString(31, 'a') << QString(30, 'a');
        // Two-byte characters in UTF-8 (the local encoding here): 16 of them give 15.
        QTest::newRow("16 two-byte characters") << QString(16, QChar(0x00E9)) << QString(15, QChar(0x00E9));
        QTest::newRow("three-byte characters") << QString(11, QChar(0x4E2D)) << QString(10, QChar(0x4E2D));
        QTest::newRow("mixed at the edge") << QString(29, 'a') + QChar(0x00E9) << QString(29, 'a');
        QTest::newRow("surrogate pair kept whole")
            << QString(27, 'a') + QString::fromUcs4(U"\U0001F600") << QString(27, 'a');
        QTest::newRow("empty") << QString() << QString();
    }
    void cut() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(MacroName::CutToBytes(text), expected);
    }

    void valid_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("valid");
        QTest::newRow("plain") << "Macro 1" << true;
        QTest::newRow("30 bytes") << QString(30, 'm') << true;
        QTest::newRow("31 bytes") << QString(31, 'm') << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("blank") << "   " << false;
        QTest::newRow("dot") << "." << false;
        QTest::newRow("dot dot") << ".." << false;
        QTest::newRow("dots inside") << "a..b" << true;
        QTest::newRow("slash") << "a/b" << false;
        QTest::newRow("backslash") << "a\\b" << false;
        QTest::newRow("NUL") << QString("a") + QChar(0) + "b" << false;
        QTest::newRow("tab") << "a\tb" << false;
        QTest::newRow("newline") << "a\nb" << false;
    }
    void valid() {
        QFETCH(QString, name);
        QFETCH(bool, valid);
        QCOMPARE(MacroName::IsValid(name), valid);
    }

    void forbiddenCharactersRemoved() {
        QCOMPARE(MacroName::WithoutForbidden(QString("a/b\\c\td") + QChar(0) + "e"), QString("abcde"));
    }
};

QTEST_GUILESS_MAIN(TstMacroName)
#include "tst_macroname.moc"
