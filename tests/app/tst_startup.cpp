#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QToolTip>
#include <QtTest>

#include "TestEnv.h"
#include "app/Startup.h"
#include "platform/Paths.h"
#include "widgets/ScaleChildFonts.h"

namespace {
void Touch(const QString& path, const QDateTime& modified) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
    file.flush();
    QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
}

QStringList ShownTexts;
void RecordMessageBox(const QString& text) {
    ShownTexts << text;
}

// An installation folder with its language files and pictures, less the parts named.
QString Installation(const QStringList& without, const QByteArray& english = "{}") {
    const QString root = TestEnv::FreshDir("install");
    QDir().mkpath(root + "/Language");
    QDir().mkpath(root + "/Picture/Macro");
    for (const char* file : {"Language/en.json", "Language/cs.json", "Picture/Macro/MacroUp.png"}) {
        QFile f(root + '/' + file);
        if (f.open(QIODevice::WriteOnly)) f.write(QByteArray(file).endsWith("en.json") ? english : "{}");
    }
    for (const QString& part : without) {
        QFileInfo info(root + '/' + part);
        if (info.isDir())
            QDir(info.filePath()).removeRecursively();
        else
            QFile::remove(info.filePath());
    }
    return root;
}

QFont SizedFont(qreal points) {
    QFont font;
    font.setPointSizeF(points);
    return font;
}
}  // namespace

class TstStartup : public QObject {
    Q_OBJECT
private slots:
    void foldersAndMacroIniCreated() {
        QDir(Paths::UserDataDir()).removeRecursively();
        PrepareUserFolders();
        for (const char* sub : {"Log", "Device_Info", "Exception", "usersetting", "usersetting/MainPage",
                                "usersetting/MacroPage", "usersetting/SensorPage"}) {
            QVERIFY2(QDir(Paths::UserDataDir() + '/' + sub).exists(), sub);
        }
        const QString macroIni = Paths::UserDataDir() + "/Macro.ini";
        QCOMPARE(QFileInfo(macroIni).size(), qint64(0));

        // A later start leaves existing content alone.
        QFile file(macroIni);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Language]\nLanguage=1\n");
        file.close();
        Touch(Paths::UserDataDir() + "/Log/keep.txt", QDateTime::currentDateTime());
        PrepareUserFolders();
        QCOMPARE(QFileInfo(macroIni).size(), qint64(22));
        QVERIFY(QFile::exists(Paths::UserDataDir() + "/Log/keep.txt"));
    }

    void brokenInstallationIsNamedAndEndsTheStart_data() {
        QTest::addColumn<QStringList>("without");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QByteArray>("english");
        QTest::newRow("complete") << QStringList() << QString() << QByteArray("{}");
        QTest::newRow("no installation folder") << QStringList{""} << "" << QByteArray("{}");
        QTest::newRow("no Language folder") << QStringList{"Language"} << "/Language" << QByteArray("{}");
        QTest::newRow("no Czech language file")
            << QStringList{"Language/cs.json"} << "/Language" << QByteArray("{}");
        QTest::newRow("no Picture folder") << QStringList{"Picture"} << "/Picture" << QByteArray("{}");
        QTest::newRow("broken English language file")
            << QStringList() << "/Language" << QByteArray("{\"mouse\": ");
        QTest::newRow("empty Picture folder")
            << QStringList{"Picture/Macro"} << "/Picture" << QByteArray("{}");
    }
    void brokenInstallationIsNamedAndEndsTheStart() {
        QFETCH(QStringList, without);
        QFETCH(QString, folder);
        QFETCH(QByteArray, english);
        const QString root = Installation(without, english);
        ShownTexts.clear();
        SetMessageBoxShower(&RecordMessageBox);
        Paths::SetInstallDir(root);
        const int status = CheckInstallation();
        Paths::SetInstallDir(QString());
        SetMessageBoxShower(nullptr);
        if (folder.isNull()) {
            QCOMPARE(status, 0);
            QVERIFY(ShownTexts.isEmpty());
            return;
        }
        QVERIFY(status != 0);
        QCOMPARE(ShownTexts.size(), 1);
        QVERIFY2(ShownTexts.first().contains(root + folder + '\n'), qPrintable(ShownTexts.first()));
    }

    // The real program with a wrong installation folder: one message box, then a non-zero exit.
    void programWithoutInstallationExitsWithAMessage() {
        const QString missing = TestEnv::FreshDir("no-install") + "/missing";
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VORLANT_INSTALL_DIR", missing);
        env.insert("VORLANT_NOTICE_AUTOCLOSE_MS", "0");
        env.insert("VORLANT_SIM_CONTROL", "off");
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationDirPath() + "/VorlantZEMB", QStringList());
        QVERIFY(child.waitForFinished(20000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 1);
        const QString output = QString::fromUtf8(child.readAllStandardError());
        QVERIFY2(output.contains("notice shown: true") && output.contains(missing), qPrintable(output));
    }

    void scaleFactorRule_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("expected");
        QTest::newRow("1280") << 1280 << QString();
        QTest::newRow("1920") << 1920 << QString();
        QTest::newRow("1921") << 1921 << "1";
        QTest::newRow("2560") << 2560 << "1";
        QTest::newRow("3839") << 3839 << "1";
        QTest::newRow("3840") << 3840 << "2";
        QTest::newRow("5760") << 5760 << "3";
    }
    void scaleFactorRule() {
        QFETCH(int, width);
        QFETCH(QString, expected);
        QCOMPARE(ScaleFactorForWidth(width), expected);
        QCOMPARE(ScaleFactorForWidth(width).isNull(), expected.isNull());
    }

    void oldFilesDeletedByAge_data() {
        QTest::addColumn<qint64>("ageSeconds");
        QTest::addColumn<bool>("kept");
        QTest::newRow("fresh") << qint64(0) << true;
        QTest::newRow("7 days 23 hours") << qint64(7 * 86400 + 23 * 3600) << true;
        QTest::newRow("one second short of 8 days") << qint64(8 * 86400 - 1) << true;
        QTest::newRow("8 days") << qint64(8 * 86400) << false;
        QTest::newRow("a year") << qint64(365 * 86400) << false;
        QTest::newRow("an hour in the future") << qint64(-3600) << true;
        QTest::newRow("ten years in the future") << qint64(-10LL * 365 * 86400) << true;
    }
    void oldFilesDeletedByAge() {
        QFETCH(qint64, ageSeconds);
        QFETCH(bool, kept);
        const QString dir = TestEnv::FreshDir("Log");
        const QDateTime now = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);
        Touch(dir + "/file.log", now.addSecs(-ageSeconds));
        DeleteOldFiles(dir, now);
        QCOMPARE(QFile::exists(dir + "/file.log"), kept);
    }

    void subFoldersAndTheirContentStay() {
        const QString dir = TestEnv::FreshDir("Exception");
        const QDateTime now = QDateTime::currentDateTimeUtc();
        QVERIFY(QDir().mkpath(dir + "/old/deeper"));
        Touch(dir + "/old/ancient.dmp", now.addDays(-400));
        Touch(dir + "/old/deeper/ancient.dmp", now.addDays(-400));
        Touch(dir + "/a.dmp", now.addDays(-9));
        Touch(dir + "/b.dmp", now.addDays(-1));
        Touch(dir + "/c.dmp", now.addDays(-30));
        DeleteOldFiles(dir, now);
        QVERIFY(QDir(dir + "/old/deeper").exists());
        QVERIFY(QFile::exists(dir + "/old/ancient.dmp"));
        QVERIFY(QFile::exists(dir + "/old/deeper/ancient.dmp"));
        QVERIFY(!QFile::exists(dir + "/a.dmp"));
        QVERIFY(QFile::exists(dir + "/b.dmp"));
        QVERIFY(!QFile::exists(dir + "/c.dmp"));
        DeleteOldFiles(dir + "/missing", now);  // a missing folder is no error
    }

    void fontFactorOneChangesNothing() {
        QWidget root;
        root.setFont(SizedFont(10));
        auto* own = new QLabel("own", &root);
        own->setFont(SizedFont(13));
        auto* inherited = new QLabel("inherited", &root);
        ScaleChildFonts(&root, 1.0);
        QCOMPARE(root.font().pointSizeF(), 10.0);
        QCOMPARE(own->font().pointSizeF(), 13.0);
        QCOMPARE(inherited->font().pointSizeF(), 10.0);
        QVERIFY(!inherited->testAttribute(Qt::WA_SetFont));
        ScaleChildFonts(nullptr, 2.0);
    }

    // Every widget ends at its size before the call times the factor, once, however deep it lies.
    void fontsScaledOnce() {
        QWidget root;
        root.setFont(SizedFont(10));
        auto* inherited = new QWidget(&root);
        auto* grandChild = new QLabel("deep", inherited);
        auto* own = new QLabel("own", &root);
        own->setFont(SizedFont(12));
        auto* ownChild = new QLabel("under own", own);
        QFont familyOnly;
        familyOnly.setFamily("Monospace");
        auto* familyOnlyLabel = new QLabel("family only", inherited);
        familyOnlyLabel->setFont(familyOnly);

        ScaleChildFonts(&root, 0.8);
        QCOMPARE(root.font().pointSizeF(), 8.0);
        QCOMPARE(inherited->font().pointSizeF(), 8.0);
        QCOMPARE(grandChild->font().pointSizeF(), 8.0);
        QCOMPARE(own->font().pointSizeF(), 9.6);
        QCOMPARE(ownChild->font().pointSizeF(), 9.6);
        QCOMPARE(familyOnlyLabel->font().pointSizeF(), 8.0);
        QCOMPARE(familyOnlyLabel->font().family(), QString("Monospace"));
    }

    void receive2KeepsItsFontWhileChildrenScale() {
        QWidget root;
        root.setFont(SizedFont(10));
        auto* keep = new QWidget(&root);
        keep->setObjectName("Receive_2");
        keep->setFont(SizedFont(14));
        auto* inheritsFromKeep = new QLabel("a", keep);
        auto* ownUnderKeep = new QLabel("b", keep);
        ownUnderKeep->setFont(SizedFont(9));
        auto* inheritsFromRoot = new QLabel("c", &root);

        ScaleChildFonts(&root, 1.5);
        QCOMPARE(root.font().pointSizeF(), 15.0);
        QCOMPARE(keep->font().pointSizeF(), 14.0);
        QCOMPARE(inheritsFromKeep->font().pointSizeF(), 21.0);
        QCOMPARE(ownUnderKeep->font().pointSizeF(), 13.5);
        QCOMPARE(inheritsFromRoot->font().pointSizeF(), 15.0);
    }

    void noApearSetsTheToolTipFont() {
        QWidget root;
        root.setFont(SizedFont(10));
        auto* tip = new QLabel("tip", &root);
        tip->setObjectName("NoApear");
        tip->setFont(SizedFont(11));
        ScaleChildFonts(&root, 2.0);
        QCOMPARE(QToolTip::font().pointSizeF(), 22.0);
    }
};

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"
