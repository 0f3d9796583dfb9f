// Assignments of the button page against the simulated mouse: the fixed-function step, the default
// appliers and the slots that follow the macro page's saves, renames and deletions.
#include <QRegularExpression>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>
#include <cstring>

#include "DeviceFixture.h"
#include "MacroPageFixture.h"
#include "TestEnv.h"
#include "buttons/Buttoninterface.h"
#include "core/LanguageLoader.h"
#include "core/PostMsg.h"
#include "macro/MacroFiles.h"
#include "ui_Buttoninterface.h"

namespace {
void NoData(const unsigned char*, int, const unsigned char*, int) {}

QVector<int> Entry(const FlashDataMap& image, int button) {
    const ButtonKeyEntry& e = image.ButtonKeys[button];
    return {e.Type, e.Param1, e.Param2};
}

void SetRecordName(int button, const QByteArray& name) {
    std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
    MacroRecord& record = CurrentFlashData.ButtonMacros[button];
    std::memset(record.Name, 0, sizeof record.Name);
    std::memcpy(record.Name, name.constData(), size_t(name.size()));
    record.NameLength = uint8_t(name.size());
    CurrentFlashData.ButtonKeys[button] = ButtonKeyEntry{6, uint8_t(button), 1};
    CurrentFlashData.ButtonActions[button].EventCount = 4;
}
}  // namespace

class TstButtonAssignments : public QObject {
    Q_OBJECT
    Buttoninterface* page = nullptr;

    Ui_Buttoninterface* Ui() const { return page->ui; }

    // The installed product table without its "KeyParam" defaults, with extra lines for the first model.
    static QString ProductTable(const QString& drive1Extra) {
        QFile installed(QCoreApplication::applicationDirPath() + "/usersetting/Config.ini");
        if (!installed.open(QIODevice::ReadOnly | QIODevice::Text)) return QString();
        QString text = QString::fromUtf8(installed.readAll());
        text.remove(QRegularExpression("^KeyParam[0-9]+=[^\\n]*\\n", QRegularExpression::MultilineOption));
        text.replace("[Drive1]\n", "[Drive1]\n" + drive1Extra);
        const QString path = TestEnv::FreshDir("table") + "/Config.ini";
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) return QString();
        file.write(text.toUtf8());
        return path;
    }

    void Start(const QString& drive1Extra = QString()) {
        DeviceFixture::Init(ProductTable(drive1Extra));
        MacroPageFixture::FreshMacroFolder();
        page = new Buttoninterface;  // its worker starts without a device
        DeviceFixture::ConnectWithImage(NoData);
        UiLive = true;
        page->SlotAllLanguage(0);
        page->MacroPrefixText = "M: ";
        page->SlotUpDataButtonUIB(DeviceFixture::ImageNow());
    }

private slots:
    void initTestCase() { LoadLanguageFiles(); }
    void cleanup() {
        delete page;
        page = nullptr;
        UsbServer_Exit();
    }

    void fixedFunctions_data() {
        QTest::addColumn<QString>("handler");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QVector<int>>("entry");  // empty: unchanged
        QTest::addColumn<QString>("text");
        QTest::newRow("back on row 5")
            << "on_BackKey_2_clicked" << 5 << true << "online" << QVector<int>{1, 8, 0} << "Back";
        QTest::newRow("forward on row 4")
            << "on_ForWardKey_clicked" << 4 << true << "online" << QVector<int>{1, 16, 0} << "Forward";
        QTest::newRow("DPI up on row 1")
            << "on_VolumeUp_9_clicked" << 1 << true << "online" << QVector<int>{2, 2, 0} << "DPI+";
        QTest::newRow("rapid fire on row 2")
            << "on_DPI_6_clicked" << 2 << true << "online" << QVector<int>{4, 10, 3} << "Fire Key";
        QTest::newRow("disabled on row 6")
            << "on_DPI_5_clicked" << 6 << true << "online" << QVector<int>{0, 0, 0} << "Disable";
        QTest::newRow("not checked") << "on_MidKey_clicked" << 3 << false << "online" << QVector<int>{} << "";
        QTest::newRow("no row") << "on_MidKey_clicked" << 0 << true << "online" << QVector<int>{} << "";
        QTest::newRow("offline") << "on_DPI_2_clicked" << 3 << true << "offline" << QVector<int>{} << "";
    }
    void fixedFunctions() {
        QFETCH(QString, handler);
        QFETCH(int, row);
        QFETCH(bool, checked);
        QFETCH(QString, mode);
        QFETCH(QVector<int>, entry);
        QFETCH(QString, text);
        Start();
        if (mode == "offline") QVERIFY(HidSim::Sleep(DeviceFixture::MouseName()));
        if (row > 0) page->RowButton(row)->setChecked(true);
        Ui()->stackedWidget->setCurrentWidget(Ui()->page_2);
        const int button = row > 0 ? Buttoninterface::RowDeviceButton(row) : 0;
        const QString before = page->RowButton(qMax(row, 1))->text();
        const FlashDataMap image = DeviceFixture::ImageNow();
        QSignalSpy offline(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
        QVERIFY(QMetaObject::invokeMethod(page, handler.toLatin1().constData(), Q_ARG(bool, checked)));
        const FlashDataMap now = DeviceFixture::ImageNow();
        QCOMPARE(Entry(now, button), entry.isEmpty() ? Entry(image, button) : entry);
        QCOMPARE(page->RowButton(qMax(row, 1))->text(), entry.isEmpty() ? before : text);
        if (!entry.isEmpty()) {
            QCOMPARE(Entry(DeviceFixture::LastHandedImage(), button), entry);
            QCOMPARE(page->ButtonTypeList[button], entry[0]);
            QCOMPARE(page->ButtonParam1List[button], entry[1]);
        }
        QCOMPARE(offline.count(), mode == "offline" ? 1 : 0);
        QCOMPARE(Ui()->stackedWidget->currentWidget(), checked ? Ui()->page : Ui()->page_2);
    }

    void mediaDefaults_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("usage");  // 0: nothing sent
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("chooser");
        QTest::newRow("volume down on 7") << 7 << 0xEA << 0x00EA << "Button8"
                                          << "VolumeDown_4";
        QTest::newRow("stop on 12") << 12 << 0xB7 << 0x00B7 << "Button13"
                                    << "Mute";
        QTest::newRow("player on device button 3") << 3 << 0x83 << 0x0183 << "TopMusic"
                                                   << "Player";
        QTest::newRow("full usage") << 0 << 0x183 << 0 << "FireKey"
                                    << "";
        QTest::newRow("unknown byte") << 0 << 0x42 << 0 << "FireKey"
                                      << "";
    }
    void mediaDefaults() {
        QFETCH(int, button);
        QFETCH(int, code);
        QFETCH(int, usage);
        QFETCH(QString, row);
        QFETCH(QString, chooser);
        Start();
        const QString before = page->findChild<QToolButton*>(row)->text();
        HidSim::ClearCallLog();
        QCOMPARE(page->ApplyMediaKey(button, code), usage != 0);
        QCOMPARE(HidSim::CallLog().join(' ').contains("ProtocolDataUpdate"), usage != 0);
        if (!usage) {
            QCOMPARE(page->findChild<QToolButton*>(row)->text(), before);
            return;
        }
        const FlashDataMap now = DeviceFixture::ImageNow();
        QCOMPARE(Entry(now, button), (QVector<int>{5, 0, 0}));
        QCOMPARE(int(now.ButtonActions[button].Events[0].Code), usage);
        QCOMPARE(int(now.ButtonActions[button].Events[1].State), 1);
        QCOMPARE(page->findChild<QToolButton*>(row)->text(), page->findChild<QToolButton*>(chooser)->text());
    }

    // The entries with a second level only open it, also offline; the chooser and the row stay.
    void chooserNavigation_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("shown");
        QTest::newRow("multimedia") << "DPI_12"
                                    << "page_3";
        QTest::newRow("DPI lock") << "DPI_4"
                                  << "page_8";
        QTest::newRow("wheel left/right") << "DPI_11"
                                          << "page_4";
        QTest::newRow("DPI switching") << "DPI_7"
                                       << "page_7";
        QTest::newRow("wheel up/down") << "DPI_13"
                                       << "page_10";
        QTest::newRow("light toggles") << "DPI_9"
                                       << "page_6";
    }
    void chooserNavigation() {
        QFETCH(QString, entry);
        QFETCH(QString, shown);
        Start();
        QVERIFY(HidSim::Sleep(DeviceFixture::MouseName()));
        Ui()->RightKey->setChecked(true);
        Ui()->stackedWidget->setCurrentWidget(Ui()->page_2);
        HidSim::ClearCallLog();
        QSignalSpy offline(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
        QToolButton* button = page->findChild<QToolButton*>(entry);
        button->click();
        QCOMPARE(Ui()->stackedWidget_2->currentWidget()->objectName(), shown);
        QCOMPARE(Ui()->stackedWidget->currentWidget(), Ui()->page_2);
        QVERIFY(button->isChecked() && Ui()->RightKey->isChecked());
        QCOMPARE(offline.count(), 0);
        QVERIFY(!HidSim::CallLog().join(' ').contains("ProtocolDataUpdate"));
    }

    // A media button gives the selected row its key; the page is idle again in every case.
    void mediaButtons_data() {
        QTest::addColumn<QString>("chooser");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("online");
        QTest::addColumn<int>("usage");  // 0: unchanged
        QTest::newRow("next track on row 5") << "BackMusic_2" << 5 << true << 0x00B5;
        QTest::newRow("play/pause on row 1") << "StartPause_2" << 1 << true << 0x00CD;
        QTest::newRow("favourites on row 4") << "VolumeDown_11" << 4 << true << 0x022A;
        QTest::newRow("no row") << "Player" << 0 << true << 0;
        QTest::newRow("offline") << "Mute" << 2 << false << 0;
    }
    void mediaButtons() {
        QFETCH(QString, chooser);
        QFETCH(int, row);
        QFETCH(bool, online);
        QFETCH(int, usage);
        Start();
        if (!online) QVERIFY(HidSim::Sleep(DeviceFixture::MouseName()));
        if (row > 0) page->RowButton(row)->setChecked(true);
        Ui()->stackedWidget->setCurrentWidget(Ui()->page_2);
        Ui()->stackedWidget_2->setCurrentWidget(Ui()->page_3);
        const int button = Buttoninterface::RowDeviceButton(qMax(row, 1));
        const FlashDataMap before = DeviceFixture::ImageNow();
        const QString text = page->RowButton(qMax(row, 1))->text();
        QToolButton* media = page->findChild<QToolButton*>(chooser);
        media->click();
        const FlashDataMap now = DeviceFixture::ImageNow();
        QCOMPARE(Ui()->stackedWidget->currentWidget(), Ui()->page);
        QCOMPARE(Ui()->stackedWidget_2->currentWidget(), Ui()->page_9);
        if (!usage) {
            QVERIFY(std::memcmp(&now, &before, sizeof now) == 0);
            QCOMPARE(page->RowButton(qMax(row, 1))->text(), text);
            return;
        }
        QCOMPARE(Entry(DeviceFixture::LastHandedImage(), button), (QVector<int>{5, 0, 0}));
        const KeyActionRecord expected = Buttoninterface::MakeMediaRecord(usage >> 8, usage & 0xFF);
        QVERIFY(std::memcmp(&now.ButtonActions[button], &expected, sizeof expected) == 0);
        QCOMPARE(page->RowButton(row)->text(), media->text());
        QCOMPARE(page->ButtonTypeList[button], 5);
        // A refresh reads the row back the same.
        page->SlotUpDataButtonUIB(now);
        QCOMPARE(page->RowButton(row)->text(), media->text());
    }

    // A deleted macro leaves every row that showed it with the product's default or the row's own.
    void deletedMacroGetsTheDefaults() {
        Start(
            "KeyParam1=0x05,0,0xE9\nKeyParam2=0x05,0,0,Ctrl+Num+\nKeyParam5=0x05,1\nKeyParam6=0x05,0,0x99\n");
        for (int b : {0, 1, 4, 5, 6}) SetRecordName(b, "Go");
        page->SlotUpDataButtonUIB(DeviceFixture::ImageNow());
        page->ui->Button8->setText("M: Other");
        QCOMPARE(page->ui->StartPause->text(), QString("M: Go"));
        PostMsg::GetInstance()->EmitSigDeleteMacroButton("M: Go");
        const FlashDataMap now = DeviceFixture::LastHandedImage();
        QCOMPARE(Entry(now, 0), (QVector<int>{5, 0, 0}));  // volume up
        QCOMPARE(int(now.ButtonActions[0].Events[0].Code), 0xE9);
        QCOMPARE(Entry(now, 1), (QVector<int>{5, 0, 0}));  // Ctrl, Num+
        QCOMPARE(int(now.ButtonActions[1].EventCount), 4);
        QCOMPARE(int(now.ButtonActions[1].Events[1].Code), 0x57);
        QCOMPARE(page->ui->RightKey->text(), QString("Ctrl+Num+"));
        QCOMPARE(Entry(now, 4), (QVector<int>{1, 16, 0}));  // two elements: the row's own default
        QCOMPARE(int(now.ButtonActions[4].EventCount), 0);
        QCOMPARE(Entry(now, 5), (QVector<int>{2, 1, 0}));  // unknown media byte: the row's own default
        QCOMPARE(Entry(now, 6), (QVector<int>{2, 2, 0}));  // no product default
        QCOMPARE(page->ui->Button7->text(), QString("DPI+"));
        QCOMPARE(page->ui->Button8->text(), QString("M: Other"));
        QVERIFY(page->SelectedDeviceButton() < 0);
        QCOMPARE(Ui()->stackedWidget->currentWidget(), Ui()->page);
    }

    void rename_data() {
        QTest::addColumn<bool>("online");
        QTest::newRow("online") << true;
        QTest::newRow("offline") << false;
    }
    void rename() {
        QFETCH(bool, online);
        Start();
        for (int b : {0, 3}) SetRecordName(b, "Go");
        page->SlotUpDataButtonUIB(DeviceFixture::ImageNow());
        if (!online) QVERIFY(HidSim::Sleep(DeviceFixture::MouseName()));
        PostMsg::GetInstance()->EmitSigMacroRename("Go", "Run");
        const QString expected = online ? "M: Run" : "M: Go";
        QCOMPARE(Ui()->FireKey->text(), expected);
        QCOMPARE(Ui()->TopMusic->text(), expected);
        const FlashDataMap now = DeviceFixture::ImageNow();
        QCOMPARE(QByteArray(now.ButtonMacros[3].Name), QByteArray(online ? "Run" : "Go"));
        QCOMPARE(int(now.ButtonMacros[3].NameLength), online ? 3 : 2);
        QCOMPARE(int(now.ButtonActions[3].EventCount), 4);  // the rest of the image stays
    }

    // A macro from the list goes to the selected row with the record the macro page builds.
    void macroFromTheList_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("repeat");  // -1: nothing assigned
        QTest::newRow("loop 3") << QByteArray("3\n0x04 1 0\n10ms\n0x04 1 1\n") << 3;
        QTest::newRow("until released") << QByteArray("255\n0x01 4 0\n0x01 4 1\n") << 255;
        QTest::newRow("loop 300") << QByteArray("300\n0x05 1 0\n") << 300;
        QTest::newRow("empty file") << QByteArray() << 0;
        QTest::newRow("deleted file") << QByteArray("gone") << -1;
    }
    void macroFromTheList() {
        QFETCH(QByteArray, file);
        QFETCH(int, repeat);
        Start();
        MacroPageFixture::WriteFile("Fire.ini", file);
        page->SlotAddMacroButton();
        if (file == "gone") QFile::remove(MacroPageFixture::MacroFolder() + "/Fire.ini");
        Ui()->TopMusic->setChecked(true);
        Ui()->stackedWidget_2->setCurrentWidget(Ui()->page_5);
        const FlashDataMap before = DeviceFixture::ImageNow();
        page->MacroButtonList.first()->click();
        const FlashDataMap now = DeviceFixture::ImageNow();
        QCOMPARE(Ui()->stackedWidget_2->currentWidget(), Ui()->page_9);
        if (repeat < 0) {
            QCOMPARE(Entry(now, 3), Entry(before, 3));
            return;
        }
        QCOMPARE(Entry(now, 3), (QVector<int>{6, 3, repeat & 0xFF}));
        QCOMPARE(page->ButtonParam2List[3], repeat);
        QCOMPARE(Ui()->TopMusic->text(), QString("M: Fire"));
        MacroFiles::MacroFileContent content;
        QVERIFY(MacroFiles::ReadMacroFile(MacroPageFixture::MacroFolder() + "/Fire.ini", content));
        const MacroRecord expected = MacroFiles::EntriesToRecord("Fire", content.Entries);
        QVERIFY(std::memcmp(&now.ButtonMacros[3], &expected, sizeof expected) == 0);
        QCOMPARE(MacroFiles::RecordName(now.ButtonMacros[3], 3), QString("Fire"));
    }

    void savedMacro() {
        Start();
        for (int b : {1, 4}) SetRecordName(b, "Go");
        page->SlotUpDataButtonUIB(DeviceFixture::ImageNow());
        QSignalSpy download(PostMsg::GetInstance(), SIGNAL(SigMacroDownLoadData(QString, int)));
        const qint64 start = Clock::ElapsedMs();
        PostMsg::GetInstance()->EmitSigUpDataMacro("Go", 0);
        QVERIFY(Clock::ElapsedMs() - start >= 1500);
        QCOMPARE(download.count(), 2);
        QCOMPARE(download.at(0), (QVariantList{"Go", 1}));
        QCOMPARE(download.at(1), (QVariantList{"Go", 4}));

        MacroPageFixture::WriteFile("Go.ini", "7\n0x04 1 0\n");
        PostMsg::GetInstance()->EmitSigUpDataMacro("Go", 1);
        const FlashDataMap now = DeviceFixture::ImageNow();
        QCOMPARE(Entry(now, 1), (QVector<int>{6, 1, 7}));
        QCOMPARE(Entry(now, 4), (QVector<int>{6, 4, 7}));
        QCOMPARE(QByteArray(now.ButtonMacros[4].Name), QByteArray("Go"));
    }
};

QTEST_MAIN(TstButtonAssignments)
#include "tst_buttonassignments.moc"
