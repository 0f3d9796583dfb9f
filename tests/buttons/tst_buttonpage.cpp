// The button page against the simulated mouse: texts, configuration switch, debounce controls, profile
// file, macro list, clicks and the device thread object.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include "DeviceFixture.h"
#include "HelperThread.h"
#include "MacroPageFixture.h"
#include "SmallDisk.h"
#include "buttons/Buttoninterface.h"
#include "buttons/DebounceTime.h"
#include "core/LanguageLoader.h"
#include "core/PostMsg.h"
#include "device/DeviceCommand.h"
#include "device/DeviceDataCallback.h"
#include "device/DeviceInfoFile.h"
#include "device/Worker.h"
#include "dialogs/FileChooser.h"
#include "dialogs/ModalRunner.h"
#include "dialogs/ProfileFile.h"
#include "dialogs/UpDataParam.h"
#include "platform/ScreenMetrics.h"
#include "ui_Buttoninterface.h"

namespace {
void NoData(const unsigned char*, int, const unsigned char*, int) {}

QStringList Texts(const QList<QToolButton*>& buttons) {
    QStringList texts;
    for (const QToolButton* b : buttons) texts << b->text();
    return texts;
}
}  // namespace

class TstButtonPage : public QObject {
    Q_OBJECT
    Buttoninterface* page = nullptr;
    QStringList dialogs;  // class names of the modal dialogs run, in order

    Ui_Buttoninterface* Ui() const { return page->ui; }

    // The mouse online behind the receiver, its image read, the window live.
    void Online() {
        DeviceFixture::ConnectWithImage(NoData);
        UiLive = true;
    }

    void Press(const QPoint& at, Qt::MouseButton button = Qt::LeftButton) {
        QMouseEvent event(QEvent::MouseButtonPress, at, page->mapToGlobal(at), button, button,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(page, &event);
    }

    bool SentSinceStart() const { return HidSim::CallLog().join(' ').contains("ProtocolDataUpdate"); }

private slots:
    void initTestCase() { LoadLanguageFiles(); }

    void init() {
        DeviceFixture::Init();
        MacroPageFixture::FreshMacroFolder();
        dialogs.clear();
        ModalRunner::SetScript([this](QDialog& d) {
            dialogs << d.metaObject()->className();
            return 0;
        });
        page = new Buttoninterface;
        HidSim::ClearCallLog();
    }

    void cleanup() {
        delete page;
        page = nullptr;
        ModalRunner::SetScript(nullptr);
        FileChooser::SetScript(nullptr);
        ScreenMetrics::SetOverrides(0, 0);
        UsbServer_Exit();
    }

    void constructionCreatesTheWorkerAndShowsTheIdleState() {
        QVERIFY(DeviceWorker);
        QCOMPARE(Ui()->stackedWidget->currentWidget(), Ui()->page);
        QCOMPARE(Ui()->stackedWidget_2->currentWidget(), Ui()->page_9);
        QVERIFY(Ui()->DPI_3->isHidden() && Ui()->DPI_9->isHidden());
        QCOMPARE(page->FireIntervalChoice, 10);
        QCOMPARE(page->FireCountChoice, 3);
        QCOMPARE(Ui()->DebunceButton->DebounceIndex, 0);
        QCOMPARE(page->RowGroup->buttons().size(), 16);
        QCOMPARE(page->FirstLevelGroup->buttons().size(), 17);
        QCOMPARE(page->SecondLevelGroup->buttons().size(), 41);
        QCOMPARE(page->size(), QSize(883, 630));
    }

    // --- texts ---

    void textsInBothLanguages_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("wheelUp");
        QTest::addColumn<QString>("debounce");
        QTest::addColumn<QString>("profile");
        QTest::newRow("English") << 0
                                 << QStringList{"Left Button", "Right Button", "Middle Button", "Forward",
                                                "Back",        "DPI Cycle",    "DPI+",          "DPI-"}
                                 << "Scroll Up"
                                 << "Button debounce time"
                                 << "Profile 2";
        QTest::newRow("Czech") << 1 << QStringList{"Levé tlačítko",
                                                   "Pravé tlačítko",
                                                   "Prostřední tlačítko",
                                                   "Vpřed",
                                                   "Zpět",
                                                   "Cyklické přepínání DPI",
                                                   "DPI+",
                                                   "DPI-"}
                               << "Posun nahoru"
                               << "Potlačení zákmitů tlačítek"
                               << "Profil 2";
    }
    void textsInBothLanguages() {
        QFETCH(int, language);
        QFETCH(QStringList, rows);
        QFETCH(QString, wheelUp);
        QFETCH(QString, debounce);
        QFETCH(QString, profile);
        QSignalSpy config(PostMsg::GetInstance(), SIGNAL(SigAddConfig(QString)));
        PostMsg::GetInstance()->EmitSigAllLanguage(language);
        for (int row = 1; row <= rows.size(); ++row) QCOMPARE(page->RowButton(row)->text(), rows[row - 1]);
        QCOMPARE(Ui()->LeftKey_3->text(), rows[0]);
        QCOMPARE(Ui()->VolumeUp_14->text(), wheelUp);
        QCOMPARE(Ui()->label_3->text(), debounce);
        QCOMPARE(Ui()->DPI_4->text(), QString::fromUtf8("DPI锁定"));  // keeps the form's text
        QCOMPARE(Ui()->WheelDebunce->itemText(9), QString("100ms"));
        QCOMPARE(config.count(), 1);
        page->SlotUpDataConfigUI(4, 1, true);
        QCOMPARE(Ui()->ProjectChoose->currentText(), profile);
    }

    void missingLabelKeepsTheFormText() {
        const auto saved = MouseKeyOptionLabelLists;
        MouseKeyOptionLabelLists.clear();
        page->SlotAllLanguage(0);
        MouseKeyOptionLabelLists = saved;
        QCOMPARE(Ui()->FireKey->text(), QString::fromUtf8("左键"));
        QCOMPARE(Ui()->DPI_12->text(), QString::fromUtf8("多媒体功能"));
        QCOMPARE(Ui()->Button7->text(), QString("DPI+"));
    }

    void chooserFontFollowsTheScreenAfterTheFirstCall() {
        ScreenMetrics::SetOverrides(0, 144);
        for (qreal size : {9.0, 6.0, 6.0}) {
            page->SlotAllLanguage(0);
            QCOMPARE(Ui()->DPI_10->font().pointSizeF(), size);
        }
    }

    // What the user sees of each chooser entry: its text whole, clear of the entry's edges and, where the
    // entry's picture ends in an arrow, clear of the arrow.
    void chooserTextsFit_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("English") << 0;
        QTest::newRow("Czech") << 1;
    }
    void chooserTextsFit() {
        QFETCH(int, language);
        constexpr int kEdgeGap = 3;   // pixels kept free at the entry's edges
        constexpr int kArrowGap = 8;  // and before an arrow: about one letter
        PostMsg::GetInstance()->EmitSigAllLanguage(language);
        QStringList faults;
        for (QAbstractButton* entry : page->FirstLevelGroup->buttons() + page->SecondLevelGroup->buttons()) {
            const QString text = entry->text();
            const QImage drawn = entry->grab().toImage();
            entry->setText(QString());
            const QImage bare = entry->grab().toImage();
            entry->setText(text);
            // The arrow: the first light column in the right half of the entry without its text.
            int arrow = -1;
            for (int x = bare.width() / 2; x < bare.width() && arrow < 0; ++x)
                for (int y = 0; y < bare.height(); ++y)
                    if (qGray(bare.pixel(x, y)) > 120) arrow = x;
            const int end = arrow < 0 ? bare.width() - kEdgeGap : arrow - kArrowGap;
            int first = -1, last = -1;
            for (int x = 0; x < drawn.width(); ++x)
                for (int y = 0; y < drawn.height(); ++y)
                    if (drawn.pixel(x, y) != bare.pixel(x, y)) {
                        if (first < 0) first = x;
                        last = x;
                    }
            const int usable = end - kEdgeGap;
            const int advance = QFontMetrics(entry->font()).horizontalAdvance(text);
            if (advance > usable || first < kEdgeGap || last >= end)
                faults << QString("%1 \"%2\": %3 px of %4, drawn from %5 to %6, free to %7")
                              .arg(entry->objectName(), text)
                              .arg(advance)
                              .arg(usable)
                              .arg(first)
                              .arg(last)
                              .arg(end);
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
    }

    // The language relabel rebuilds the configuration texts only when the device's cache exists, and
    // takes the device's own image only when it was read from it.
    void relabelUsesTheDeviceImageOrItsCache() {
        Online();
        const QString cache = TestEnv::FreshDir("cache") + "/Device_CID01_MID02.bin";
        SetDeviceInfoLoadName(cache);
        page->SlotUpDataConfigUI(4, 0, true);
        FlashDataMap cached = DeviceFixture::ImageNow();
        cached.ButtonKeys[0] = ButtonKeyEntry{9, 9, 9};
        QVERIFY(WriteDeviceInfoFile(cache, cached));
        page->SlotAllLanguage(1);
        QCOMPARE(Ui()->ProjectChoose->itemText(3), QString("Profil 4"));
        QCOMPARE(page->ButtonTypeList.size(), 8);  // "KeyNumber" of the product
        QCOMPARE(page->ButtonTypeList[0], int(DeviceFixture::ImageNow().ButtonKeys[0].Type));
        FlashDataFromDevice = false;
        page->SlotAllLanguage(0);
        QCOMPARE(page->ButtonTypeList[0], 9);
        QCOMPARE(Ui()->ProjectChoose->itemText(3), QString("Profile 4"));
    }

    void mousePicture() {
        PostMsg::GetInstance()->EmitSigMouseIndex(1);
        QVERIFY(Ui()->widget->styleSheet().contains("/Picture/Buttoninterface/mouse1.png"));
    }

    // --- configuration switch ---

    void configurationReports_data() {
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("select");
        QTest::addColumn<int>("items");
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("announced");
        QTest::newRow("four, third active") << 4 << 2 << 4 << 2 << "Profile 3";
        QTest::newRow("none reported") << 0 << 0 << 1 << 0 << "Profile 1";
        QTest::newRow("negative") << -1 << 0 << 0 << -1 << "";
        QTest::newRow("active beyond the items") << 4 << 4 << 4 << -1 << "";
    }
    void configurationReports() {
        QFETCH(int, total);
        QFETCH(int, select);
        QFETCH(int, items);
        QFETCH(int, current);
        QFETCH(QString, announced);
        page->SlotAllLanguage(0);
        QSignalSpy config(PostMsg::GetInstance(), SIGNAL(SigAddConfig(QString)));
        RunOnHelperThread([=] { PostMsg::GetInstance()->EmitSigUpDataConfigUI(total, select, true); });
        QCOMPARE(Ui()->ProjectChoose->count(), items);
        QCOMPARE(Ui()->ProjectChoose->currentIndex(), current);
        QVERIFY(Ui()->ProjectChoose->isEnabled());
        QCOMPARE(config.count(), 1);
        QCOMPARE(config.at(0).at(0).toString(), announced);
    }

    void configurationChoice_data() {
        QTest::addColumn<bool>("online");
        QTest::addColumn<int>("choice");
        QTest::addColumn<int>("active");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("refusals");  // answers the mouse fails first
        QTest::addColumn<int>("kind");      // of the one notice
        QTest::newRow("online") << true << 2 << 2 << 2 << 0 << -1;
        QTest::newRow("offline") << false << 2 << 0 << 1 << 0 << int(NoticeOffline);
        QTest::newRow("refused by the mouse") << true << 5 << 0 << 1 << 0 << int(NoticeNotTaken);
        QTest::newRow("mouse refusing") << true << 2 << 0 << 1 << 5 << int(NoticeNotTaken);
    }
    void configurationChoice() {
        QFETCH(bool, online);
        QFETCH(int, choice);
        QFETCH(int, active);
        QFETCH(int, shown);
        QFETCH(int, refusals);
        QFETCH(int, kind);
        Online();
        if (!online) QVERIFY(HidSim::Sleep(DeviceFixture::MouseName()));
        if (refusals) QVERIFY(HidSim::FailNext(DeviceFixture::MouseName(), refusals));
        page->SlotAllLanguage(0);
        page->SlotUpDataConfigUI(8, 1, true);
        Ui()->ProjectChoose->PressIndex = 1;
        Ui()->ProjectChoose->setCurrentIndex(choice);
        QSignalSpy config(PostMsg::GetInstance(), SIGNAL(SigAddConfig(QString)));
        QSignalSpy offline(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
        QVERIFY(QMetaObject::invokeMethod(page, "on_ProjectChoose_activated", Q_ARG(int, choice)));
        QCOMPARE(HidSim::ActiveConfig(DeviceFixture::MouseName()), active);
        QCOMPARE(Ui()->ProjectChoose->currentIndex(), shown);
        const bool accepted = online && choice == active;
        QCOMPARE(config.count(), accepted ? 1 : 0);
        QCOMPARE(offline.count(), accepted ? 0 : 1);
        if (!accepted) QCOMPARE(offline.at(0).at(0).toInt(), kind);
    }

    void stackRaisesTheChooserOverTheRows() {
        Ui()->stackedWidget->setCurrentWidget(Ui()->page_2);
        QCOMPARE(Ui()->groupBox->children().last(), Ui()->stackedWidget);
        Ui()->stackedWidget->setCurrentWidget(Ui()->page);
        QCOMPARE(Ui()->groupBox->children().last(), Ui()->scrollArea_11);
    }

    // --- debounce ---

    void debounceChoice_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("byteValue");  // -1: unchanged
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("debounceSignals");
        QTest::addColumn<bool>("warned");
        QTest::newRow("press 5") << "press" << 5 << "online" << 5 << 5 << 1 << true;
        QTest::newRow("press 7") << "press" << 7 << "online" << 7 << 7 << 1 << true;
        QTest::newRow("press 8") << "press" << 8 << "online" << 8 << 8 << 1 << false;
        QTest::newRow("press 0") << "press" << 0 << "online" << 0 << 0 << 1 << true;
        QTest::newRow("press offline") << "press" << 12 << "offline" << -1 << 10 << 0 << false;
        QTest::newRow("press not live") << "press" << 12 << "not live" << -1 << 10 << 0 << false;
        QTest::newRow("release 30") << "release" << 30 << "online" << 30 << 30 << 0 << false;
        QTest::newRow("release offline") << "release" << 3 << "offline" << -1 << 4 << 0 << false;
        QTest::newRow("release not live") << "release" << 3 << "not live" << -1 << 4 << 0 << false;
        QTest::newRow("wheel 4") << "wheel" << 4 << "online" << 50 << 4 << 0 << false;
        QTest::newRow("wheel offline") << "wheel" << 1 << "offline" << -1 << 6 << 0 << false;
        QTest::newRow("wheel not live") << "wheel" << 1 << "not live" << -1 << 6 << 0 << false;
    }
    void debounceChoice() {
        QFETCH(QString, control);
        QFETCH(int, item);
        QFETCH(QString, mode);
        QFETCH(int, byteValue);
        QFETCH(int, shown);
        QFETCH(int, debounceSignals);
        QFETCH(bool, warned);
        Online();
        FlashDataMap image = DeviceFixture::ImageNow();
        image.KeyDebounceMs = 10;
        image.ReleaseDebounceMs = 4;
        image.WheelDebounceMs = 70;
        page->SlotUpDataButtonUIButton(image);
        {
            std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
            CurrentFlashData = image;
        }
        if (mode == "offline") QVERIFY(HidSim::Sleep(DeviceFixture::MouseName()));
        if (mode == "not live") UiLive = false;
        HidSim::ClearCallLog();
        QSignalSpy debounce(PostMsg::GetInstance(), SIGNAL(SigDebunce(QString)));

        QComboBox* combo = control == "press"     ? Ui()->DebunceButton->findChild<QComboBox*>("Debunce")
                           : control == "release" ? static_cast<QComboBox*>(Ui()->DebunceRelease)
                                                  : static_cast<QComboBox*>(Ui()->WheelDebunce);
        combo->setCurrentIndex(item);

        const FlashDataMap now = DeviceFixture::ImageNow();
        const int byte = control == "press"     ? now.KeyDebounceMs
                         : control == "release" ? now.ReleaseDebounceMs
                                                : now.WheelDebounceMs;
        const int before = control == "press" ? 10 : control == "release" ? 4 : 70;
        QCOMPARE(byte, byteValue < 0 ? before : byteValue);
        QCOMPARE(SentSinceStart(), byteValue >= 0);
        QCOMPARE(combo->currentIndex(), shown);
        QCOMPARE(debounce.count(), debounceSignals);
        if (debounceSignals) QCOMPARE(debounce.at(0).at(0).toString(), combo->currentText());
        QCOMPARE(dialogs.contains("LessThree"), warned);
        if (control == "release") QCOMPARE(page->ReleaseDebounceIndex, shown);
        if (control == "wheel") QCOMPARE(page->WheelDebounceIndex, shown);
    }

    // A fill shows the device's values and sends nothing, also while the window is live.
    void fillSendsNothing() {
        Online();
        FlashDataMap image = DeviceFixture::ImageNow();
        image.KeyDebounceMs = 3;
        image.ReleaseDebounceMs = 5;
        image.WheelDebounceMs = 20;
        QSignalSpy debounce(PostMsg::GetInstance(), SIGNAL(SigDebunce(QString)));
        QSignalSpy sleep(PostMsg::GetInstance(), SIGNAL(SigLightToFrom(int)));
        ButtonPageRefreshed = false;
        RunOnHelperThread([=] { PostMsg::GetInstance()->EmitSigUpDataLightUIButton(image); });
        QVERIFY(!SentSinceStart());
        QVERIFY(dialogs.isEmpty());
        QCOMPARE(debounce.count(), 1);
        QCOMPARE(Ui()->DebunceButton->CurrentIndex(), 3);
        QCOMPARE(Ui()->DebunceRelease->currentIndex(), 5);
        QCOMPARE(page->WheelDebounceIndex, 1);
        QCOMPARE(sleep.at(0).at(0).toInt(), image.SleepTimeCode * 10);
        QVERIFY(ButtonPageRefreshed && !ButtonPageRefreshing);
        QCOMPARE(page->ButtonTypeList.size(), 8);

        // The wait dialog's refill keeps the Refreshed flag as it was.
        ButtonPageRefreshed = false;
        PostMsg::GetInstance()->EmitSigUpDataButtonUIC(image);
        QVERIFY(!ButtonPageRefreshed);
    }

    // Values no item stands for show no item, keep the last valid index and send nothing.
    void imageValuesWithoutItem_data() {
        QTest::addColumn<int>("press");
        QTest::addColumn<int>("release");
        QTest::addColumn<int>("wheel");
        QTest::newRow("too large") << 31 << 31 << 110;
        QTest::newRow("below the wheel's range") << 200 << 255 << 0;
        QTest::newRow("wheel between items") << 40 << 99 << 25;
    }
    void imageValuesWithoutItem() {
        QFETCH(int, press);
        QFETCH(int, release);
        QFETCH(int, wheel);
        Online();
        FlashDataMap image = DeviceFixture::ImageNow();
        image.KeyDebounceMs = 6;
        image.ReleaseDebounceMs = 7;
        image.WheelDebounceMs = 40;
        page->SlotUpDataButtonUIB(image);
        image.KeyDebounceMs = uint8_t(press);
        image.ReleaseDebounceMs = uint8_t(release);
        image.WheelDebounceMs = uint8_t(wheel);
        HidSim::ClearCallLog();
        page->SlotUpDataButtonUIB(image);
        QVERIFY(!SentSinceStart());
        QCOMPARE(Ui()->DebunceButton->CurrentIndex(), -1);
        QCOMPARE(Ui()->DebunceRelease->currentIndex(), -1);
        QCOMPARE(Ui()->WheelDebunce->currentIndex(), -1);
        QCOMPARE(Ui()->DebunceButton->DebounceIndex, 6);
        QCOMPARE(page->ReleaseDebounceIndex, 7);
        QCOMPARE(page->WheelDebounceIndex, 3);
    }

    void factoryResetSendsNothing() {
        Online();
        QSignalSpy sleep(PostMsg::GetInstance(), SIGNAL(SigLightToFrom(int)));
        RunOnHelperThread([] { PostMsg::GetInstance()->EmitSigFormReset(); });
        QVERIFY(!SentSinceStart());
        QCOMPARE(page->ButtonTypeList, (QVector<int>{1, 1, 1, 1, 1, 2, 2, 2, 7, 7, 4, 0, 2, 2, 2, 2}));
        QCOMPARE(page->ButtonParam1List, (QVector<int>{1, 2, 4, 8, 16, 1, 2, 3, 0, 0, 10, 0, 1, 1, 1, 1}));
        QCOMPARE(page->ButtonParam2List, QVector<int>(16, 0));
        QCOMPARE(Ui()->DebunceButton->CurrentIndex(), 8);
        QCOMPARE(Ui()->DebunceRelease->currentIndex(), 2);
        QCOMPARE(Ui()->WheelDebunce->currentIndex(), 2);
        QCOMPARE(sleep.at(0).at(0).toInt(), 60);
        QVERIFY(!ButtonPageRefreshing);
    }

    // --- profile file ---

    void exportWritesTheDeviceImage() {
        Online();
        const QString path = TestEnv::FreshDir("export") + "/profile.bin";
        QStringList asked;
        FileChooser::SetScript([&](FileChooser::Mode mode, const QString& caption, const QString& filter) {
            asked << caption << filter;
            return mode == FileChooser::Mode::Save ? path : QString();
        });
        QTest::mouseClick(Ui()->OutputData, Qt::LeftButton);
        QCOMPARE(asked, (QStringList{"FileSave", "File(*.bin)"}));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.size(), 10496);
        QCOMPARE(bytes.left(10), QByteArray("\x00\x00\x00\x0C"
                                            "Zizov\x00",
                                            10));
        QCOMPARE(bytes.mid(16, 9), QByteArray("\x00\x00\x00\x0C"
                                              "3395\x00",
                                              9));
        QCOMPARE(bytes.mid(32, 4), QByteArray("\x00\x00\x28\xDC", 4));
        const FlashDataMap image = DeviceFixture::ImageNow();
        QCOMPARE(bytes.mid(36), QByteArray(reinterpret_cast<const char*>(&image), sizeof image));
    }

    // A name typed without an extension is saved as a profile file that the import dialog lists.
    void exportAddsTheExtension_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("saved");
        QTest::newRow("no extension") << "profile" << "profile.bin";
        QTest::newRow("ending in a dot") << "profile." << "profile.bin";
        QTest::newRow("own extension") << "profile.cfg" << "profile.cfg";
        QTest::newRow("dotted folder") << "my.profiles/fast" << "my.profiles/fast.bin";
    }
    void exportAddsTheExtension() {
        QFETCH(QString, typed);
        QFETCH(QString, saved);
        Online();
        const QString dir = TestEnv::FreshDir("extension");
        QVERIFY(QDir(dir).mkpath("my.profiles"));
        FileChooser::SetScript(
            [&](FileChooser::Mode, const QString&, const QString&) { return dir + "/" + typed; });
        QTest::mouseClick(Ui()->OutputData, Qt::LeftButton);
        QCOMPARE(QFileInfo(dir + "/" + saved).size(), qint64(10496));
        if (typed != saved) QVERIFY(!QFileInfo::exists(dir + "/" + typed));
    }

    // A profile that cannot be written tells the user; an old file of that name stays whole.
    void exportThatCannotBeWrittenTellsTheUser_data() {
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("full disk") << false;
        QTest::newRow("read-only folder") << true;
    }
    void exportThatCannotBeWrittenTellsTheUser() {
        QFETCH(bool, readOnly);
        Online();
        SmallDisk disk("export-disk", 64);
        SMALL_DISK_OR_SKIP(disk);
        const QString path = disk.Path() + "/profile.bin";
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old profile");
        }
        QVERIFY(readOnly ? disk.SetReadOnly(true) : disk.Fill());
        FileChooser::SetScript([&](FileChooser::Mode, const QString&, const QString&) { return path; });
        QTest::mouseClick(Ui()->OutputData, Qt::LeftButton);
        QCOMPARE(dialogs, QStringList{"WriteFail"});
        QCOMPARE(disk.Files(), QStringList{"profile.bin"});
        QFile old(path);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old profile"));
    }

    // An image that was not read from this device is never written under its sensor.
    void exportRefusesAStaleImage() {
        Online();
        FlashDataFromDevice = false;
        bool asked = false;
        FileChooser::SetScript([&](FileChooser::Mode, const QString&, const QString&) {
            asked = true;
            return TestEnv::FreshDir("stale") + "/p.bin";
        });
        QSignalSpy offline(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
        QTest::mouseClick(Ui()->OutputData, Qt::LeftButton);
        QVERIFY(!asked);
        QCOMPARE(offline.count(), 1);
    }

    void exportThenImportRestoresTheSettings() {
        Online();
        const QString path = TestEnv::FreshDir("roundtrip") + "/profile.bin";
        FileChooser::SetScript([&](FileChooser::Mode, const QString&, const QString&) { return path; });
        QTest::mouseClick(Ui()->OutputData, Qt::LeftButton);
        const FlashDataMap exported = DeviceFixture::ImageNow();
        QVERIFY(SetLod(exported.LodCode == 2 ? 1 : 2));
        QVERIFY(SetKeyDebounce(exported.KeyDebounceMs == 20 ? 21 : 20));

        bool suppressedDuringImport = false;
        int inProgress = 0;
        ModalRunner::SetScript([&](QDialog& d) {
            dialogs << d.metaObject()->className();
            if (auto* wait = qobject_cast<UpDataParam*>(&d)) {
                suppressedDuringImport = DpiSendSuppressed;
                inProgress = ImportInProgress;
                QMetaObject::invokeMethod(wait, "onTimeupDestroy", Qt::DirectConnection);
            }
            return 0;
        });
        QTest::mouseClick(Ui()->ImportData, Qt::LeftButton);
        QCOMPARE(dialogs, QStringList{"UpDataParam"});
        QVERIFY(suppressedDuringImport);
        QCOMPARE(inProgress, 1);
        QVERIFY(!DpiSendSuppressed);
        QCOMPARE(ImportInProgress.load(), 0);
        const FlashDataMap handed = DeviceFixture::LastHandedImage();
        QVERIFY(std::memcmp(&handed, &exported, sizeof handed) == 0);
        QCOMPARE(Ui()->DebunceButton->CurrentIndex(), int(exported.KeyDebounceMs));
    }

    void importRefusals_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<int>("result");
        QTest::newRow("other sensor") << "other sensor" << QStringList{"UpDataParam", "InportFail"} << 2;
        QTest::newRow("too many DPI levels") << "levels" << QStringList{"UpDataParam", "InportFail"} << 2;
        QTest::newRow("macro export file") << "macro" << QStringList{"UpDataParam", "InportFail"} << 1;
        QTest::newRow("empty file") << "empty" << QStringList{"UpDataParam", "InportFail"} << 1;
        QTest::newRow("cancelled") << "cancel" << QStringList{} << -1;
        QTest::newRow("offline") << "offline" << QStringList{} << -1;
    }
    void importRefusals() {
        QFETCH(QString, kind);
        QFETCH(QStringList, shown);
        QFETCH(int, result);
        Online();
        const QString path = TestEnv::FreshDir("refused") + "/p.bin";
        FlashDataMap image = DeviceFixture::ImageNow();
        image.LodCode = image.LodCode == 2 ? 1 : 2;
        if (kind == "other sensor") QVERIFY(ProfileFile::Write(path, "3950", image));
        if (kind == "levels") {
            image.DpiLevelCount = 9;
            QVERIFY(ProfileFile::Write(path, "3395", image));
        }
        if (kind == "macro") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QDataStream stream(&file);
            const QByteArray tag("Zizov\0\0\0\0\0\0\0", 12);
            const QByteArray name("Fire\0" + QByteArray(43, '\0'), 48);
            const QByteArray loop("1\0\0\0\0\0\0\0\0\0\0\0", 12);
            for (const QByteArray& block : {tag, name, loop})
                stream.writeBytes(block.constData(), uint(block.size()));
        }
        if (kind == "empty") QFile(path).open(QIODevice::WriteOnly);
        if (kind == "offline") QVERIFY(HidSim::Sleep(DeviceFixture::MouseName()));
        bool asked = false;
        FileChooser::SetScript([&](FileChooser::Mode mode, const QString& caption, const QString&) {
            asked = true;
            [&] { QCOMPARE(caption, QString("SelectFile")); }();
            [&] { QVERIFY(mode == FileChooser::Mode::Open); }();
            return kind == "cancel" ? QString() : path;
        });
        ModalRunner::SetScript([&](QDialog& d) {
            dialogs << d.metaObject()->className();
            if (auto* wait = qobject_cast<UpDataParam*>(&d))
                QMetaObject::invokeMethod(wait, "onTimeupDestroy", Qt::DirectConnection);
            return 0;
        });
        QSignalSpy offline(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
        const FlashDataMap before = DeviceFixture::ImageNow();
        HidSim::ClearCallLog();
        ImportResult = -1;
        QTest::mouseClick(Ui()->ImportData, Qt::LeftButton);
        QCOMPARE(dialogs, shown);
        QCOMPARE(ImportResult, result);
        QCOMPARE(asked, kind != "offline");
        QCOMPARE(offline.count(), kind == "offline" ? 1 : 0);
        QVERIFY(!SentSinceStart());
        const FlashDataMap after = DeviceFixture::ImageNow();
        QVERIFY(std::memcmp(&after, &before, sizeof after) == 0);
        QVERIFY(!DpiSendSuppressed);
    }

    // --- macro list ---

    void macroList_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("fillers");
        QTest::newRow("none") << QStringList{} << QStringList{} << 0;
        QTest::newRow("three") << QStringList{"fast.ini", "Alpha.ini", "beta.ini"}
                               << QStringList{"Alpha", "beta", "fast"} << 4;
        QTest::newRow("eight") << QStringList{"m1.ini", "m2.ini", "m3.ini", "m4.ini",
                                              "m5.ini", "m6.ini", "m7.ini", "m8.ini"}
                               << QStringList{"m1", "m2", "m3", "m4", "m5", "m6", "m7", "m8"} << 0;
        QTest::newRow("only other files")
            << QStringList{"Macro.xml", "Fast.INI", "Notes.txt"} << QStringList{} << 0;
        QTest::newRow("one macro among others")
            << QStringList{"Macro.xml", "Fast.INI", "Notes.txt", "Go.ini"} << QStringList{"Go"} << 6;
    }
    void macroList() {
        QFETCH(QStringList, files);
        QFETCH(QStringList, texts);
        QFETCH(int, fillers);
        for (const QString& name : files) MacroPageFixture::WriteFile(name, "1\n");
        for (int round = 0; round < 2; ++round) {
            PostMsg::GetInstance()->EmitSigAddMacroButton();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            const QList<QToolButton*> list = page->MacroButtonList;
            QCOMPARE(list.size(), texts.size() + fillers);
            QCOMPARE(Texts(list.mid(0, texts.size())), texts);
            for (QToolButton* filler : list.mid(texts.size())) {
                QVERIFY(filler->text().isEmpty() && !filler->isEnabled() && filler->isHidden());
                QVERIFY(!filler->group());
            }
            for (QToolButton* button : list.mid(0, texts.size()))
                QCOMPARE(button->group(), page->SecondLevelGroup);
            QCOMPARE(page->MacroListPanel->findChildren<QToolButton*>().size(), list.size());
            QCOMPARE(page->SecondLevelGroup->buttons().size(), 41 + texts.size());
        }
    }

    // --- clicks ---

    void clicksOnThePage() {
        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page));
        const auto openChooser = [this] {
            Ui()->RightKey->setChecked(true);
            Ui()->stackedWidget->setCurrentWidget(Ui()->page_2);
            Ui()->scrollArea_11->verticalScrollBar()->setStyleSheet("QScrollBar {width:0px;}");
        };
        const QPoint background(5, 200);
        openChooser();
        Press(background, Qt::RightButton);
        QCOMPARE(Ui()->stackedWidget->currentWidget(), Ui()->page_2);
        QVERIFY(Ui()->RightKey->isChecked());
        Press(background);
        QCOMPARE(Ui()->stackedWidget->currentWidget(), Ui()->page);
        QVERIFY(!Ui()->RightKey->isChecked());
        QCOMPARE(Ui()->scrollArea_11->verticalScrollBar()->styleSheet(), QString("QScrollBar {width:10px;}"));

        // The empty part of the row list keeps the open chooser and its row.
        openChooser();
        const QPoint rowList = Ui()->scrollArea_11->mapTo(page, QPoint(5, 5));
        Press(rowList);
        QCOMPARE(Ui()->stackedWidget->currentWidget(), Ui()->page_2);
        QVERIFY(Ui()->RightKey->isChecked());

        // In the idle state the mouse picture unchecks the row.
        Ui()->stackedWidget->setCurrentWidget(Ui()->page);
        Press(Ui()->widget->mapTo(page, QPoint(5, 5)));
        QVERIFY(!Ui()->RightKey->isChecked());
    }

    // --- the device thread object ---

    // A connection made through the page's worker fills the page from the mouse's whole image.
    void connectionFillsThePage() {
        const DeviceAllInfo receiver = DeviceFixture::FindDefaultReceiver();
        PostMsg::GetInstance()->EmitSigSelectMouseInfo(receiver);
        StartUsbChanged(DeviceUsbChangedCallback, 600);
        DeviceWindow.Enter();
        WorkerRunEnable = true;
        DeviceWorker->start();
        QTRY_VERIFY(FlashDataFromDevice && ButtonPageRefreshed);
        QTRY_VERIFY(DeviceWorker->isFinished());
        FlashDataMap expected{};
        const QByteArray flash = HidSim::Flash(DeviceFixture::MouseName());
        QVERIFY(ProtocolDataParser(reinterpret_cast<const unsigned char*>(flash.constData()), &expected));
        QCOMPARE(page->ButtonTypeList.size(), 8);
        for (int b = 0; b < 8; ++b) {
            QCOMPARE(page->ButtonTypeList[b], int(expected.ButtonKeys[b].Type));
            QCOMPARE(page->ButtonParam1List[b], int(expected.ButtonKeys[b].Param1));
            QCOMPARE(page->ButtonParam2List[b], int(expected.ButtonKeys[b].Param2));
        }
        QCOMPARE(Ui()->DebunceButton->CurrentIndex(), int(expected.KeyDebounceMs));
        QCOMPARE(page->SensorName, QString("3395"));
        StopUsbChanged();
    }

    // The page goes while the device thread waits for it in a blocking delivery: neither hangs, and the
    // worker goes once its thread has ended.
    void destroyingThePageDuringABlockingDelivery() {
        QVERIFY(HidSim::Sleep(DeviceFixture::MouseName()));
        const DeviceAllInfo receiver = DeviceFixture::FindDefaultReceiver();
        {
            std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
            CurrentDevice = receiver;
            CurrentDevicePath = receiver.Path;
        }
        QPointer<Worker> worker = DeviceWorker;
        DeviceWindow.Enter();
        WorkerRunEnable = true;
        worker->start();
        // No cache: the thread asks the page for the factory state and waits for the GUI thread.
        QTest::qSleep(200);
        QVERIFY(worker->isRunning());
        delete page;
        page = nullptr;
        QVERIFY(!DeviceWorker);
        QTRY_VERIFY(worker.isNull());
        page = new Buttoninterface;
    }
};

QTEST_MAIN(TstButtonPage)
#include "tst_buttonpage.moc"
