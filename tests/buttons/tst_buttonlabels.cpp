// Row labels decoded from a settings image, the per-button lists and the refresh that fills both.
#include <QButtonGroup>
#include <QSignalSpy>
#include <QtTest>
#include <cstring>

#include "DeviceFixture.h"
#include "MacroPageFixture.h"
#include "SmallDisk.h"
#include "buttons/Buttoninterface.h"
#include "core/LanguageLoader.h"
#include "core/PostMsg.h"
#include "ui_Buttoninterface.h"

namespace {
const char* const kKept = "kept";

FlashDataMap EmptyImage() {
    FlashDataMap image;
    std::memset(&image, 0, sizeof image);
    return image;
}

void SetEvent(KeyActionRecord& record, int i, int state, int kind, int code) {
    record.Events[i] = KeyEvent{uint8_t(state), uint8_t(kind), uint16_t(code), 10};
}

void SetMacroName(FlashDataMap& image, int button, const QByteArray& name) {
    MacroRecord& record = image.ButtonMacros[button];
    std::memset(record.Name, 0, sizeof record.Name);
    std::memcpy(record.Name, name.constData(), size_t(qMin(name.size(), int(sizeof record.Name))));
    record.NameLength = uint8_t(name.size());
}

// Device button 0 carries the macro `name` (a press and a release of A, 20 ms apart) with this repeat.
FlashDataMap MacroImage(const QByteArray& name, int repeat) {
    FlashDataMap image = EmptyImage();
    image.ButtonKeys[0] = ButtonKeyEntry{6, 0, uint8_t(repeat)};
    SetMacroName(image, 0, name);
    MacroRecord& record = image.ButtonMacros[0];
    record.EventCount = 2;
    record.Events[0] = KeyEvent{0, 1, 0x04, 20};
    record.Events[1] = KeyEvent{1, 1, 0x04, 0};
    return image;
}
}  // namespace

class TstButtonLabels : public QObject {
    Q_OBJECT
    Buttoninterface* page = nullptr;

private slots:
    void initTestCase() { LoadLanguageFiles(); }

    void init() {
        DeviceFixture::Init();
        MacroPageFixture::FreshMacroFolder();
        page = new Buttoninterface;
        page->SlotAllLanguage(0);
        for (int row = 1; row <= Buttoninterface::kRowCount; ++row) page->RowButton(row)->setText(kKept);
    }
    void cleanup() {
        delete page;
        page = nullptr;
    }

    void decodes_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("param1");
        QTest::addColumn<QString>("record");  // how the button's key-action record is filled
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("text");
        QTest::newRow("disabled") << 0 << 0 << 0 << ""
                                  << "FireKey"
                                  << "Disable";
        QTest::newRow("left") << 1 << 1 << 1 << ""
                              << "RightKey"
                              << "Left Button";
        QTest::newRow("back on device button 3") << 3 << 1 << 8 << ""
                                                 << "TopMusic"
                                                 << "Back";
        QTest::newRow("forward on device button 4") << 4 << 1 << 16 << ""
                                                    << "StartPause"
                                                    << "Forward";
        QTest::newRow("mouse bit 3") << 2 << 1 << 3 << ""
                                     << "BackKey" << kKept;
        QTest::newRow("DPI down") << 5 << 2 << 3 << ""
                                  << "BackMusic"
                                  << "DPI-";
        QTest::newRow("DPI 0") << 5 << 2 << 0 << ""
                               << "BackMusic" << kKept;
        QTest::newRow("scroll right") << 6 << 3 << 2 << ""
                                      << "Button7"
                                      << "Scroll Right";
        QTest::newRow("rapid fire") << 7 << 4 << 30 << ""
                                    << "Button8"
                                    << "Fire Key";
        QTest::newRow("report rate") << 8 << 7 << 0 << ""
                                     << "Button9"
                                     << "Report Rate Switch";
        QTest::newRow("light 2") << 9 << 8 << 2 << ""
                                 << "Button10" << kKept;
        QTest::newRow("light bar") << 9 << 8 << 3 << ""
                                   << "Button10" << QString::fromUtf8("开/关灯带");
        QTest::newRow("configuration") << 10 << 9 << 0 << ""
                                       << "Button11" << QString::fromUtf8("配置切换");
        QTest::newRow("DPI lock") << 11 << 10 << 7 << ""
                                  << "Button12" << QString::fromUtf8("DPI锁定-400");
        QTest::newRow("wheel up on button 14") << 14 << 11 << 1 << ""
                                               << "Button15"
                                               << "Scroll Up";
        QTest::newRow("type 12") << 15 << 12 << 1 << ""
                                 << "Button16" << kKept;
        QTest::newRow("mute by low byte") << 0 << 5 << 0 << "media 0x1E2"
                                          << "FireKey"
                                          << "Mute";
        QTest::newRow("unknown media") << 0 << 5 << 0 << "media 0x0F0"
                                       << "FireKey" << kKept;
        QTest::newRow("combination") << 0 << 5 << 0 << "combo 6"
                                     << "FireKey"
                                     << "Ctrl+Shift+A";
        QTest::newRow("odd count") << 0 << 5 << 0 << "combo 5"
                                   << "FireKey"
                                   << "Ctrl+Shift";
        QTest::newRow("no events") << 0 << 5 << 0 << "combo 0"
                                   << "FireKey"
                                   << "";
        QTest::newRow("count past the record") << 0 << 5 << 0 << "combo 255"
                                               << "FireKey"
                                               << "Ctrl+Shift+A+A+Shift+Ctrl";
    }
    void decodes() {
        QFETCH(int, button);
        QFETCH(int, type);
        QFETCH(int, param1);
        QFETCH(QString, record);
        QFETCH(QString, row);
        QFETCH(QString, text);
        FlashDataMap image = EmptyImage();
        KeyActionRecord& action = image.ButtonActions[button];
        if (record.startsWith("media")) SetEvent(action, 0, 0, 2, record.mid(6).toInt(nullptr, 16));
        if (record.startsWith("combo")) {
            action.EventCount = uint8_t(record.mid(6).toInt());
            SetEvent(action, 0, 0, 0, 0x01);
            SetEvent(action, 1, 0, 0, 0x02);
            SetEvent(action, 2, 0, 1, 0x04);
            SetEvent(action, 3, 1, 1, 0x04);
            SetEvent(action, 4, 1, 0, 0x02);
            SetEvent(action, 5, 1, 0, 0x01);
        }
        page->UpdateButtonLabel(button, type, param1, 0, image);
        QCOMPARE(page->findChild<QToolButton*>(row)->text(), text);
        for (int r = 1; r <= Buttoninterface::kRowCount; ++r)
            if (page->RowButton(r)->objectName() != row) QCOMPARE(page->RowButton(r)->text(), QString(kKept));
    }

    void buttonIndexOutsideChangesNothing() {
        FlashDataMap image = EmptyImage();
        for (int button : {-1, 16}) page->UpdateButtonLabel(button, 0, 0, 0, image);
        for (int r = 1; r <= Buttoninterface::kRowCount; ++r)
            QCOMPARE(page->RowButton(r)->text(), QString(kKept));
    }

    // A macro row names the record's macro; its file is rebuilt, whole, by the macro page only from an image
    // the device holds.
    void macroRows_data() {
        QTest::addColumn<QByteArray>("deviceName");
        QTest::addColumn<bool>("rebuild");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("Fps1") << QByteArray("Fps1") << true << "Fps1" << QByteArray("255\n");
        QTest::newRow("Fps1 from the cache")
            << QByteArray("Fps1") << false << "Fps1" << QByteArray("old\n1 2\n");
        QTest::newRow("name with slashes") << QByteArray("a/b/c") << true << "abc" << QByteArray("255\n");
        QTest::newRow("no usable name") << QByteArray("//") << true << "Macro3" << QByteArray("255\n");
    }
    void macroRows() {
        QFETCH(QByteArray, deviceName);
        QFETCH(bool, rebuild);
        QFETCH(QString, name);
        QFETCH(QByteArray, file);
        page->MacroPrefixText = "M: ";
        MacroPageFixture::WriteFile(name + ".ini", "old\n1 2\n");
        Macro macroPage;
        FlashDataMap image = EmptyImage();
        SetMacroName(image, 2, deviceName);
        QSignalSpy toMacro(PostMsg::GetInstance(), SIGNAL(SigButtonToMacro(FlashDataMap, int)));
        page->UpdateButtonLabel(2, 6, 2, 255, image, rebuild);
        QCOMPARE(page->ui->BackKey->text(), "M: " + name);
        QCOMPARE(MacroPageFixture::ReadFile(name + ".ini"), file);
        QCOMPARE(toMacro.count(), rebuild ? 1 : 0);
        if (rebuild) {
            QCOMPARE(toMacro.at(0).at(1).toInt(), 2);
            QCOMPARE(int(toMacro.at(0).at(0).value<FlashDataMap>().ButtonKeys[2].Param2), 255);
        }
        QCOMPARE(QDir(MacroPageFixture::MacroFolder()).entryList(QDir::Files).size(), 1);
    }

    void repeatLine_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("repeat");
        QTest::newRow("count") << QByteArray("3\n0x04 1 0\n") << "3";
        QTest::newRow("spaces") << QByteArray("  254  x\n") << "254";
        QTest::newRow("empty first line") << QByteArray("\n5\n") << "";
        QTest::newRow("empty file") << QByteArray() << "0";
    }
    void repeatLine() {
        QFETCH(QByteArray, content);
        QFETCH(QString, repeat);
        MacroPageFixture::WriteFile("Go.ini", content);
        QCOMPARE(Buttoninterface::ReadMacroRepeat("Go"), repeat);
        QCOMPARE(Buttoninterface::ReadMacroRepeat("Missing"), QString("0"));
        QCOMPARE(MacroPageFixture::ReadFile("Go.ini"), content);
    }

    // A macro's file is named by its name cut to the record's 30 bytes; a name no file may carry reads
    // the repeat text "0" from no file.
    void repeatFileNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("repeat");
        QTest::newRow("40-byte name") << QString(40, 'x') << "9";
        QTest::newRow("parent folder") << ".."
                                       << "0";
        QTest::newRow("slash") << "x/y"
                               << "0";
        QTest::newRow("empty") << ""
                               << "0";
    }
    void repeatFileNames() {
        QFETCH(QString, name);
        QFETCH(QString, repeat);
        MacroPageFixture::WriteFile(QString(30, 'x') + ".ini", "9\n0x04 1 0\n");
        QDir(MacroPageFixture::MacroFolder()).mkpath("x");
        MacroPageFixture::WriteFile("x/y.ini", "7\n");
        QCOMPARE(Buttoninterface::ReadMacroRepeat(name), repeat);
    }

    // A refresh from the device fills the lists of "KeyNumber" buttons and relabels their rows only.
    void refreshLabelsTheLoadedButtons() {
        FlashDataMap image = EmptyImage();
        for (int b = 0; b < 16; ++b) image.ButtonKeys[b] = ButtonKeyEntry{2, 1, 0};
        image.ButtonKeys[3] = ButtonKeyEntry{1, 16, 0};
        image.WheelDebounceMs = 20;
        page->SlotUpDataButtonUIB(image);
        QCOMPARE(page->ButtonTypeList.size(), 8);
        QCOMPARE(page->ButtonParam1List[3], 16);
        QCOMPARE(page->ui->TopMusic->text(), QString("Forward"));
        QCOMPARE(page->ui->Button8->text(), QString("DPI Cycle"));
        QCOMPARE(page->ui->Button9->text(), QString(kKept));
        page->SlotAllLanguage(1);  // no cache of the device: the rows take the language's defaults
        QCOMPARE(page->ui->TopMusic->text(), QString::fromUtf8("Zpět"));
    }

    // Only a refresh with the device's own image or an accepted import rewrites a macro's file: whole, its
    // repeat line and the record's events.
    void refreshRewritesMacroFilesOnlyFromTheDevice_data() {
        QTest::addColumn<QString>("road");
        QTest::addColumn<QByteArray>("file");
        const QByteArray rebuilt("9\n0x04 1 0\n20ms\n0x04 1 1\n");
        QTest::newRow("full read") << "device" << rebuilt;
        QTest::newRow("device cache") << "cache" << QByteArray("old\n");
        QTest::newRow("accepted import") << "import" << rebuilt;
        QTest::newRow("wait dialog's cache") << "wait cache" << QByteArray("old\n");
    }
    void refreshRewritesMacroFilesOnlyFromTheDevice() {
        QFETCH(QString, road);
        QFETCH(QByteArray, file);
        MacroPageFixture::WriteFile("Go.ini", "old\n");
        Macro macroPage;
        const FlashDataMap image = MacroImage("Go", 9);
        FlashDataFromDevice = road == "device";
        ImportInProgress = road == "import" ? 1 : 0;
        if (road == "device" || road == "cache")
            page->SlotUpDataButtonUIButton(image);
        else
            page->SlotUpDataButtonUIB(image);
        ImportInProgress = 0;
        QCOMPARE(page->ui->FireKey->text(), page->MacroPrefixText + "Go");
        QCOMPARE(MacroPageFixture::ReadFile("Go.ini"), file);
    }

    // A macro file rebuilt from the device on a full disk: the old file stays whole and the macro page
    // says once that it could not be written, however many buttons carry macros.
    void rebuildOnAFullDiskKeepsTheOldFile() {
        const QString folder = MacroPageFixture::MacroFolder().mid(QDir::homePath().size() + 1);
        SmallDisk disk(folder, 128);
        SMALL_DISK_OR_SKIP(disk);
        const QByteArray old("3\n0x04 1 0\n20ms\n0x04 1 1\n20ms\n0x05 1 0\n20ms\n0x05 1 1\n");
        MacroPageFixture::WriteFile("Go.ini", old);
        Macro macroPage;
        FlashDataMap image = MacroImage("Go", 9);
        image.ButtonKeys[1] = image.ButtonKeys[0];
        image.ButtonMacros[1] = image.ButtonMacros[0];
        QStringList opened;
        ScopedModalScript script([&opened](QDialog& dialog) {
            opened << dialog.metaObject()->className();
            return int(QDialog::Accepted);
        });
        QVERIFY(disk.Fill());
        FlashDataFromDevice = true;
        page->SlotUpDataButtonUIButton(image);
        FlashDataFromDevice = false;
        QTRY_COMPARE(opened, QStringList{"WriteFail"});
        QTest::qWait(50);
        QCOMPARE(opened, QStringList{"WriteFail"});
        QCOMPARE(MacroPageFixture::ReadFile("Go.ini"), old);
        QCOMPARE(disk.Files(), QStringList{"Go.ini"});
    }

    void buttonState() {
        page->SlotFormResetButton();
        page->SetButtonState(3, 6, 3, 255);
        QCOMPARE(page->ButtonTypeList[3], 6);
        QCOMPARE(page->ButtonParam1List[3], 3);
        QCOMPARE(page->ButtonParam2List[3], 255);
        QCOMPARE(page->ui->TopMusic->text(), QString(kKept));
        const QVector<int> before = page->ButtonTypeList;
        for (int button : {-1, 16}) page->SetButtonState(button, 9, 9, 9);
        QCOMPARE(page->ButtonTypeList, before);
    }

    void uncheckingFunctionButtons() {
        MacroPageFixture::WriteFile("Go.ini", "1\n");
        page->SlotAddMacroButton();
        page->ui->LeftKey_3->setChecked(true);
        for (QAbstractButton* b : {static_cast<QAbstractButton*>(page->ui->VolumeDown_14),
                                   static_cast<QAbstractButton*>(page->MacroButtonList.first())}) {
            b->setChecked(true);
            page->UncheckFunctionButtons();
            QVERIFY(!b->isChecked());
        }
        QVERIFY(page->SecondLevelGroup->exclusive());
        QVERIFY(page->ui->LeftKey_3->isChecked());
    }
};

QTEST_MAIN(TstButtonLabels)
#include "tst_buttonlabels.moc"
