// The button page's assignment handlers against the simulated mouse: every kind of function on a
// selected row, the roads that must change nothing, the three entries that ask the user first, and the
// macro list's records against the macro page's own.
#include <QButtonGroup>
#include <QCheckBox>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>
#include <cstring>

#include "DeviceFixture.h"
#include "MacroPageFixture.h"
#include "TestEnv.h"
#include "buttons/Buttoninterface.h"
#include "core/LanguageLoader.h"
#include "core/PostMsg.h"
#include "dialogs/MakeMacro.h"
#include "dialogs/ModalRunner.h"
#include "keys/FireKey.h"
#include "keys/GroupKey.h"
#include "macro/MacroFiles.h"
#include "platform/KeyCapture.h"
#include "ui_Buttoninterface.h"

using namespace MacroPageFixture;

namespace {
constexpr int kKeysAt = 107;
constexpr int kActionsAt = 156;
constexpr int kMacrosAt = 988;

void NoData(const unsigned char*, int, const unsigned char*, int) {}

QByteArray Bytes(const FlashDataMap& image, int offset, int size) {
    return QByteArray(reinterpret_cast<const char*>(&image) + offset, size);
}
QByteArray EntryBytes(const FlashDataMap& image, int button) {
    return Bytes(image, kKeysAt + 3 * button, 3);
}
QByteArray RecordBytes(const FlashDataMap& image, int button) {
    return Bytes(image, kActionsAt + 52 * button, 52);
}
QByteArray MacroBytes(const FlashDataMap& image, int button) {
    return Bytes(image, kMacrosAt + int(sizeof(MacroRecord)) * button, int(sizeof(MacroRecord)));
}

using DeviceFixture::MouseImage;

// A 52-byte record from hex text (spaces ignored), padded with zeros.
QByteArray Record(const char* hex) {
    QByteArray bytes = QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
    bytes.append(QByteArray(52 - bytes.size(), '\0'));
    return bytes;
}

QVector<int> Lists(const Buttoninterface& page, int button) {
    if (button >= page.ButtonTypeList.size()) return {};
    return {page.ButtonTypeList[button], page.ButtonParam1List[button], page.ButtonParam2List[button]};
}
}  // namespace

class TstButtonHandlers : public QObject {
    Q_OBJECT
    Buttoninterface* page = nullptr;

    Ui_Buttoninterface* Ui() const { return page->ui; }
    QToolButton* Chooser(const QString& name) const { return page->findChild<QToolButton*>(name); }

    // "{Name}" stands for the current text of the page's tool button Name.
    QString Expand(QString text) const {
        const QRegularExpression field("\\{(\\w+)\\}");
        for (QRegularExpressionMatch m = field.match(text); m.hasMatch(); m = field.match(text))
            text.replace(m.captured(0), Chooser(m.captured(1))->text());
        return text;
    }

    // The installed product table with the first model's button count.
    static QString ProductTable(int keyNumber) {
        QFile installed(QCoreApplication::applicationDirPath() + "/usersetting/Config.ini");
        if (!installed.open(QIODevice::ReadOnly | QIODevice::Text)) return QString();
        QString text = QString::fromUtf8(installed.readAll());
        text.replace(QRegularExpression("\\[Drive1\\]([^\\[]*)KeyNumber=\\d+"),
                     "[Drive1]\\1KeyNumber=" + QString::number(keyNumber));
        const QString path = TestEnv::FreshDir("table") + "/Config.ini";
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) return QString();
        file.write(text.toUtf8());
        return path;
    }

    void Start(int keyNumber = 16) {
        DeviceFixture::Init(ProductTable(keyNumber));
        FreshMacroFolder();
        page = new Buttoninterface;
        DeviceFixture::ConnectWithImage(NoData);
        UiLive = true;
        page->SlotAllLanguage(0);
        page->MacroPrefixText = "M: ";
        page->SlotUpDataButtonUIB(DeviceFixture::ImageNow());
        QCOMPARE(page->ButtonTypeList.size(), keyNumber);
    }

    // The choosing state: a row selected, the chooser and one second-level list shown.
    void Choose(int row, QWidget* list) {
        if (row > 0) page->RowButton(row)->setChecked(true);
        Ui()->stackedWidget->setCurrentWidget(Ui()->page_2);
        Ui()->stackedWidget_2->setCurrentWidget(list);
    }

    bool Idle() const {
        return Ui()->stackedWidget->currentWidget() == Ui()->page &&
               Ui()->stackedWidget_2->currentWidget() == Ui()->page_9;
    }

    // Clicks the first macro of the list (written as Fire.ini).
    void ClickMacro(const QByteArray& file, bool deleteFirst) {
        WriteFile("Fire.ini", file);
        page->SlotAddMacroButton();
        if (deleteFirst) QFile::remove(MacroFolder() + "/Fire.ini");
        page->MacroButtonList.first()->click();
    }

private slots:
    void initTestCase() {
        LoadLanguageFiles();
        KeyCapture::SetForegroundTest([] { return true; });
    }
    void cleanup() {
        delete page;
        page = nullptr;
        UsbServer_Exit();
    }

    void assignments_data() {
        QTest::addColumn<QString>("chooser");  // "macro": the macro list's Fire with the file below
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("keyNumber");
        QTest::addColumn<bool>("defines");  // the model's DPI defines in the sensor table
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("entry");   // empty: nothing sent
        QTest::addColumn<QByteArray>("record");  // empty: the record slot unchanged
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVector<int>>("lists");  // empty: the lists unchanged
        QTest::addColumn<bool>("readsBack");      // a refresh from the mouse labels the row the same
        const QByteArray none;
        QTest::newRow("next track on row 5")
            << "BackMusic_2" << 5 << 16 << false << none << QByteArray::fromHex("050000")
            << Record("02000000 0002B5000A000000 0102B5000A000000") << "{BackMusic_2}"
            << QVector<int>{5, 0, 0} << true;
        QTest::newRow("play/pause on row 1")
            << "StartPause_2" << 1 << 16 << false << none << QByteArray::fromHex("050000")
            << Record("02000000 0002CD000A000000 0102CD000A000000") << "{StartPause_2}"
            << QVector<int>{5, 0, 0} << true;
        QTest::newRow("left on row 5")
            << "LeftKey_3" << 5 << 16 << false << none << QByteArray::fromHex("010100") << none
            << "{LeftKey_3}" << QVector<int>{1, 1, 0} << true;
        QTest::newRow("forward on row 4")
            << "ForWardKey" << 4 << 16 << false << none << QByteArray::fromHex("011000") << none
            << "{ForWardKey}" << QVector<int>{1, 16, 0} << true;
        QTest::newRow("light bar on row 9")
            << "VolumeUp_6" << 9 << 16 << false << none << QByteArray::fromHex("080300") << none
            << "{VolumeUp_6}" << QVector<int>{8, 3, 0} << true;
        QTest::newRow("next light effect on row 7")
            << "VolumeUp_7" << 7 << 16 << false << none << QByteArray::fromHex("080400") << none
            << "{VolumeUp_7}" << QVector<int>{8, 4, 0} << true;
        QTest::newRow("scroll right on row 2")
            << "VolumeDown_2" << 2 << 16 << false << none << QByteArray::fromHex("030200") << none
            << "{VolumeDown_2}" << QVector<int>{3, 2, 0} << true;
        QTest::newRow("scroll up on row 3")
            << "VolumeUp_14" << 3 << 16 << false << none << QByteArray::fromHex("0b0100") << none
            << "{VolumeUp_14}" << QVector<int>{11, 1, 0} << true;
        QTest::newRow("profile switch on row 6")
            << "DPI_3" << 6 << 16 << false << none << QByteArray::fromHex("090000") << none << "{DPI_3}"
            << QVector<int>{9, 0, 0} << true;
        // Without a button's list entries the device still gets the function; the lists stay.
        QTest::newRow("light bar on row 9 of an 8-button model")
            << "VolumeUp_6" << 9 << 8 << false << none << QByteArray::fromHex("080300") << none
            << "{VolumeUp_6}" << QVector<int>{} << true;
        QTest::newRow("DPI lock 100 without defines")
            << "VolumeUp_11" << 1 << 16 << false << none << QByteArray::fromHex("0a0100") << none
            << "{DPI_4}-100" << QVector<int>{10, 1, 0} << true;
        QTest::newRow("DPI lock 1200 without defines")
            << "VolumeUp_21" << 13 << 16 << false << none << QByteArray::fromHex("0a1700") << none
            << "{DPI_4}-1200" << QVector<int>{10, 23, 0} << true;
        QTest::newRow("DPI lock 700 without defines")
            << "VolumeUp_20" << 5 << 16 << false << none << QByteArray::fromHex("0a0d00") << none
            << "{DPI_4}-700" << QVector<int>{10, 13, 0} << true;
        QTest::newRow("DPI lock 100 by define above a byte")
            << "VolumeUp_11" << 1 << 16 << true << none << QByteArray::fromHex("0a0500") << none
            << "{DPI_4}-100" << QVector<int>{10, 0x105, 0} << false;
        QTest::newRow("DPI lock 1200 by define")
            << "VolumeUp_21" << 13 << 16 << true << none << QByteArray::fromHex("0a1800") << none
            << "{DPI_4}-1200" << QVector<int>{10, 0x18, 0} << true;
        QTest::newRow("DPI lock 700 without its define")
            << "VolumeUp_20" << 5 << 16 << true << none << QByteArray::fromHex("0a0e00") << none
            << "{DPI_4}-700" << QVector<int>{10, 14, 0} << false;
        QTest::newRow("macro Fire loop 3")
            << "macro" << 5 << 16 << false << QByteArray("3\n0x04 1 0\n10ms\n0x04 1 1\n")
            << QByteArray::fromHex("060303") << none << "M: Fire" << QVector<int>{6, 3, 3} << true;
        QTest::newRow("macro Fire loop 255")
            << "macro" << 5 << 16 << false << QByteArray("255\n0x01 4 0\n0x01 4 1\n")
            << QByteArray::fromHex("0603ff") << none << "M: Fire" << QVector<int>{6, 3, 255} << true;
        QTest::newRow("macro Fire loop 300")
            << "macro" << 5 << 16 << false << QByteArray("300\n0x05 1 0\n") << QByteArray::fromHex("06032c")
            << none << "M: Fire" << QVector<int>{6, 3, 300} << true;
        QTest::newRow("macro Fire empty file")
            << "macro" << 5 << 16 << false << QByteArray() << QByteArray::fromHex("060300") << none
            << "M: Fire" << QVector<int>{6, 3, 0} << true;
        QTest::newRow("macro Fire deleted file") << "macro" << 5 << 16 << false << QByteArray("gone") << none
                                                 << none << "" << QVector<int>{} << true;
        QTest::newRow("macro Fire on row 12 of an 8-button model")
            << "macro" << 12 << 8 << false << QByteArray("7\n0x04 1 0\n") << QByteArray::fromHex("060b07")
            << none << "M: Fire" << QVector<int>{} << true;
    }
    void assignments() {
        QFETCH(QString, chooser);
        QFETCH(int, row);
        QFETCH(int, keyNumber);
        QFETCH(bool, defines);
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, entry);
        QFETCH(QByteArray, record);
        QFETCH(QString, text);
        QFETCH(QVector<int>, lists);
        QFETCH(bool, readsBack);
        Start(keyNumber);
        page->SensorName = "3395";
        page->SensorDefineNames = defines ? QStringList{"SENSOR_3395_DPI_100", "SENSOR_3395_DPI_1200"}
                                          : QStringList{"SENSOR_3950_DPI_100", "SENSOR_3950_DPI_1200"};
        page->SensorDefineValues = {0x105, 0x18};
        const int button = Buttoninterface::RowDeviceButton(row);
        const FlashDataMap before = DeviceFixture::ImageNow();
        const QString textBefore = page->RowButton(row)->text();
        const QVector<int> listsBefore = Lists(*page, button);
        const int listCount = page->ButtonTypeList.size();
        QSignalSpy offline(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
        HidSim::ClearCallLog();

        if (chooser == "macro") {
            Choose(row, Ui()->page_5);
            ClickMacro(file, file == "gone");
        } else {
            Choose(row, Ui()->page_3);
            Chooser(chooser)->click();
        }

        QVERIFY(Idle());
        QCOMPARE(offline.count(), 0);
        const FlashDataMap now = DeviceFixture::ImageNow();
        if (entry.isEmpty()) {
            QVERIFY(!DeviceFixture::HandedOver());
            QVERIFY(std::memcmp(&now, &before, sizeof now) == 0);
            QCOMPARE(page->RowButton(row)->text(), textBefore);
            QCOMPARE(Lists(*page, button), listsBefore);
            return;
        }
        // The mouse holds what was handed over.
        const FlashDataMap handed = DeviceFixture::LastHandedImage();
        QCOMPARE(EntryBytes(handed, button).toHex(), entry.toHex());
        QCOMPARE(EntryBytes(MouseImage(), button).toHex(), entry.toHex());
        QCOMPARE(RecordBytes(handed, button).toHex(),
                 (record.isEmpty() ? RecordBytes(before, button) : record).toHex());
        if (chooser != "macro") QCOMPARE(MacroBytes(handed, button), MacroBytes(before, button));
        // Every other button stays as it was.
        for (int b = 0; b < kDeviceButtonCount; ++b)
            if (b != button) QCOMPARE(EntryBytes(handed, b), EntryBytes(before, b));
        QCOMPARE(page->RowButton(row)->text(), Expand(text));
        QCOMPARE(page->ButtonTypeList.size(), listCount);
        QCOMPARE(Lists(*page, button), lists.isEmpty() ? listsBefore : lists);
        if (chooser == "macro") {
            // The record is the macro page's own for the file, and names the file again.
            MacroFiles::MacroFileContent content;
            QVERIFY(MacroFiles::ReadMacroFile(MacroFolder() + "/Fire.ini", content));
            const MacroRecord expected = MacroFiles::EntriesToRecord("Fire", content.Entries);
            QVERIFY(std::memcmp(&handed.ButtonMacros[button], &expected, sizeof expected) == 0);
            QCOMPARE(MacroFiles::RecordName(handed.ButtonMacros[button], button), QString("Fire"));
        }
        // A refresh from the mouse's image labels the row the same.
        if (readsBack && chooser != "macro" && button < listCount) {
            page->SlotUpDataButtonUIB(MouseImage());
            QCOMPARE(page->RowButton(row)->text(), Expand(text));
        }
    }

    // Roads that assign nothing: the device asleep (with or without a page filling itself), no row,
    // and a call with checked false, which leaves even the pages as they are.
    void failures_data() {
        QTest::addColumn<QString>("chooser");
        QTest::addColumn<QString>("mode");
        const char* const choosers[] = {"LeftKey_3",  "DPI_3",       "VolumeUp_14",
                                        "VolumeUp_7", "VolumeUp_20", "macro"};
        for (const char* chooser : choosers)
            for (const char* mode : {"offline", "filling", "no row", "unchecked"})
                QTest::addRow("%s %s", chooser, mode) << QString(chooser) << QString(mode);
    }
    void failures() {
        QFETCH(QString, chooser);
        QFETCH(QString, mode);
        Start();
        if (chooser == "macro") {
            WriteFile("Fire.ini", "3\n0x04 1 0\n");
            page->SlotAddMacroButton();
        }
        if (mode == "offline" || mode == "filling") QVERIFY(HidSim::Sleep(DeviceFixture::MouseName()));
        LightPageRefreshing = mode == "filling";
        Choose(mode == "no row" ? 0 : 2, Ui()->page_8);
        const FlashDataMap before = DeviceFixture::ImageNow();
        const QString text = Ui()->RightKey->text();
        const QVector<int> types = page->ButtonTypeList;
        const QVector<int> params = page->ButtonParam1List;
        QSignalSpy offline(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
        HidSim::ClearCallLog();

        QToolButton* button = chooser == "macro" ? page->MacroButtonList.first() : Chooser(chooser);
        if (mode == "unchecked") {
            const QByteArray slot =
                chooser == "macro" ? "slotButtonClicked" : "on_" + chooser.toLatin1() + "_clicked";
            QVERIFY(QMetaObject::invokeMethod(page, slot.constData(), Q_ARG(bool, false)));
        } else {
            button->click();
        }
        LightPageRefreshing = false;

        QVERIFY(!DeviceFixture::HandedOver());
        const FlashDataMap now = DeviceFixture::ImageNow();
        QVERIFY(std::memcmp(&now, &before, sizeof now) == 0);
        QCOMPARE(Ui()->RightKey->text(), text);
        QCOMPARE(page->ButtonTypeList, types);
        QCOMPARE(page->ButtonParam1List, params);
        QCOMPARE(DeviceFixture::OfflineNotices(offline), mode == "offline" ? 1 : 0);
        if (mode == "unchecked") {
            QCOMPARE(Ui()->stackedWidget->currentWidget(), Ui()->page_2);
            QCOMPARE(Ui()->stackedWidget_2->currentWidget(), Ui()->page_8);
        } else {
            QVERIFY(Idle());
            QCOMPARE(Ui()->RightKey->isChecked(), mode != "no row");
        }
    }

    // A first-level function takes the marks off the second level; a second-level one keeps its own.
    void marksAfterAnAssignment_data() {
        QTest::addColumn<QString>("chooser");
        QTest::addColumn<bool>("keepsOwn");
        QTest::newRow("first level") << "DPI_3" << false;
        QTest::newRow("second level") << "VolumeUp_5" << true;
    }
    void marksAfterAnAssignment() {
        QFETCH(QString, chooser);
        QFETCH(bool, keepsOwn);
        Start();
        WriteFile("Fire.ini", "3\n0x04 1 0\n");
        page->SlotAddMacroButton();
        page->MacroButtonList.first()->setChecked(true);
        Choose(2, Ui()->page_6);
        Chooser(chooser)->click();
        QCOMPARE(page->MacroButtonList.first()->isChecked(), false);
        QCOMPARE(Chooser(chooser)->isChecked(), true);
        QCOMPARE(page->SecondLevelGroup->checkedButton() != nullptr, keepsOwn);
        QVERIFY(Ui()->RightKey->isChecked());
    }

    // The rapid-fire dialog opens over the page with the row's own values or 10 and 3; a cancel
    // leaves the chooser open and sends nothing.
    void rapidFirePresets_data() {
        QTest::addColumn<int>("row");  // 0: none selected
        QTest::addColumn<int>("keyNumber");
        QTest::addColumn<bool>("firing");  // the row shows rapid fire with 50 and 0
        QTest::addColumn<int>("time");
        QTest::addColumn<int>("count");
        QTest::newRow("firing row") << 1 << 16 << true << 50 << 0;
        QTest::newRow("other function") << 1 << 16 << false << 10 << 3;
        QTest::newRow("no row") << 0 << 16 << false << 10 << 3;
        QTest::newRow("firing row without list entries") << 11 << 8 << true << 10 << 3;
    }
    void rapidFirePresets() {
        QFETCH(int, row);
        QFETCH(int, keyNumber);
        QFETCH(bool, firing);
        QFETCH(int, time);
        QFETCH(int, count);
        Start(keyNumber);
        page->show();
        if (firing) {
            page->RowButton(row)->setText(Ui()->DPI_6->text());
            page->SetButtonState(Buttoninterface::RowDeviceButton(row), 4, 50, 0);
        }
        Choose(row, Ui()->page_9);
        const FlashDataMap before = DeviceFixture::ImageNow();
        QStringList opened;
        QPoint at, expectedAt;
        int shownTime = -1, shownCount = -1;
        {
            ScopedModalScript script([&](QDialog& dialog) {
                opened << dialog.metaObject()->className();
                shownTime = dialog.findChild<QSpinBox*>("Time")->value();
                shownCount = dialog.findChild<QSpinBox*>("Count")->value();
                at = dialog.pos();
                expectedAt = ModalRunner::CentredPosition(page->mapToGlobal(QPoint(0, 0)), page->size(),
                                                          dialog.size(), -50, -70);
                return int(QDialog::Rejected);
            });
            // A left press on the entry: the press itself runs the dialog.
            QTest::mousePress(Ui()->DPI_6, Qt::LeftButton);
        }
        QCOMPARE(opened, QStringList{"FireKey"});
        QCOMPARE(shownTime, time);
        QCOMPARE(shownCount, count);
        QCOMPARE(at, expectedAt);
        const FlashDataMap now = DeviceFixture::ImageNow();
        QVERIFY(std::memcmp(&now, &before, sizeof now) == 0);
        QCOMPARE(Ui()->stackedWidget->currentWidget(), Ui()->page_2);
        QVERIFY(Ui()->DPI_6->isChecked());
        QCOMPARE(page->FireIntervalChoice, 10);
        QCOMPARE(page->FireCountChoice, 3);
    }

    void rapidFireAccepted() {
        Start();
        Choose(5, Ui()->page_9);
        ScopedModalScript script([](QDialog& dialog) {
            dialog.findChild<QSpinBox*>("Time")->setValue(30);
            dialog.findChild<QSpinBox*>("Count")->setValue(2);
            dialog.findChild<QToolButton*>("NewHong")->click();
            return int(QDialog::Rejected);
        });
        QTest::mousePress(Ui()->DPI_6, Qt::LeftButton);
        QCOMPARE(EntryBytes(MouseImage(), 3).toHex(), QByteArray("041e02"));
        QCOMPARE(page->FireIntervalChoice, 30);
        QCOMPARE(page->FireCountChoice, 2);
        QCOMPARE(Ui()->TopMusic->text(), Ui()->DPI_6->text());
        QCOMPARE(Lists(*page, 3), (QVector<int>{4, 30, 2}));
        QVERIFY(Idle());
    }

    // With the mouse asleep no dialog opens and no notice shows; the chooser closes.
    void rapidFireOffline() {
        Start();
        QVERIFY(HidSim::Sleep(DeviceFixture::MouseName()));
        Choose(2, Ui()->page_9);
        QStringList opened;
        ScopedModalScript script([&](QDialog& dialog) {
            opened << dialog.metaObject()->className();
            return int(QDialog::Rejected);
        });
        QSignalSpy offline(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));
        HidSim::ClearCallLog();
        QTest::mousePress(Ui()->DPI_6, Qt::LeftButton);
        QVERIFY(opened.isEmpty());
        QCOMPARE(offline.count(), 0);
        QVERIFY(!DeviceFixture::HandedOver());
        QVERIFY(Idle());
    }

    // Ctrl ticked and A typed in the combination dialog give row 2 a four-event record; the chooser
    // stays shown. A cancel sends nothing and changes no page.
    void keyCombination_data() {
        QTest::addColumn<bool>("accept");
        QTest::newRow("Ctrl+A") << true;
        QTest::newRow("cancelled") << false;
    }
    void keyCombination() {
        QFETCH(bool, accept);
        Start();
        Choose(2, Ui()->page_3);
        const FlashDataMap before = DeviceFixture::ImageNow();
        const QString text = Ui()->RightKey->text();
        QStringList opened;
        {
            ScopedModalScript script([&](QDialog& dialog) {
                opened << dialog.metaObject()->className();
                dialog.findChild<QCheckBox*>("Ctrl")->setChecked(true);
                KeyCapture::Inject(0x41, KeyCapture::KeyDown);
                KeyCapture::Inject(0x41, KeyCapture::KeyUp);
                dialog.findChild<QToolButton*>(accept ? "NewHong" : "NewHong_2")->click();
                return int(QDialog::Rejected);
            });
            QTest::mousePress(Ui()->DPI_8, Qt::LeftButton);
        }
        QCOMPARE(opened, QStringList{"GroupKey"});
        if (!accept) {
            const FlashDataMap now = DeviceFixture::ImageNow();
            QVERIFY(std::memcmp(&now, &before, sizeof now) == 0);
            QCOMPARE(Ui()->RightKey->text(), text);
            QCOMPARE(Ui()->stackedWidget_2->currentWidget(), Ui()->page_3);
            return;
        }
        const FlashDataMap mouse = MouseImage();
        QCOMPARE(EntryBytes(mouse, 1).toHex(), QByteArray("050000"));
        const KeyActionRecord& record = mouse.ButtonActions[1];
        QCOMPARE(int(record.EventCount), 4);
        const KeyEvent* e = record.Events;
        QCOMPARE((QVector<int>{e[0].State, e[1].State, e[2].State, e[3].State}), (QVector<int>{0, 0, 1, 1}));
        QCOMPARE(int(e[1].Code), 0x04);  // A
        QVERIFY(e[0].Code == e[3].Code && e[0].Kind == e[3].Kind && e[1].Kind == e[2].Kind &&
                e[1].Code == e[2].Code);
        QVERIFY(e[0].Code != e[1].Code || e[0].Kind != e[1].Kind);
        QCOMPARE(RecordBytes(mouse, 1).mid(36), QByteArray(16, '\0'));
        QCOMPARE(Ui()->RightKey->text(), QString("Ctrl+A"));
        QCOMPARE(Lists(*page, 1), (QVector<int>{5, 0, 0}));
        QCOMPARE(Ui()->stackedWidget->currentWidget(), Ui()->page_2);
        QCOMPARE(Ui()->stackedWidget_2->currentWidget(), Ui()->page_9);
        // The record reads back as the same text.
        page->SlotUpDataButtonUIB(mouse);
        QCOMPARE(Ui()->RightKey->text(), QString("Ctrl+A"));
    }

    void macroEntry_data() {
        QTest::addColumn<bool>("withFile");
        QTest::newRow("empty macro folder") << false;
        QTest::newRow("one macro") << true;
    }
    void macroEntry() {
        QFETCH(bool, withFile);
        Start();
        if (withFile) {
            WriteFile("Fire.ini", "3\n0x04 1 0\n");
            page->SlotAddMacroButton();
        }
        Choose(2, Ui()->page_3);
        QStringList opened;
        ScopedModalScript script([&](QDialog& dialog) {
            opened << dialog.metaObject()->className();
            return int(QDialog::Rejected);
        });
        Ui()->DPI_10->click();
        QCOMPARE(opened, withFile ? QStringList() : QStringList{"MakeMacro"});
        QCOMPARE(Ui()->stackedWidget_2->currentWidget(), withFile ? Ui()->page_5 : Ui()->page_9);
        QCOMPARE(Ui()->stackedWidget->currentWidget(), Ui()->page_2);
    }

    // For every macro the macro page saves, the list entry sends the record the macro page itself
    // downloads, and that record names the macro again.
    void macroRecordsMatchTheMacroPage_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("loop");  // the loop option's object name
        QTest::addColumn<int>("count");
        QTest::newRow("keys and delays")
            << "Fire" << QStringList{"+A", "20ms", "-A", "35ms", "+Num+", "-Num+"} << "ReNumber" << 3;
        QTest::newRow("until released")
            << "Hold on" << QStringList{"+LCtrl", "+C", "-C", "-LCtrl"} << "ReUntilLoose" << 1;
        QTest::newRow("mouse buttons")
            << "Klik" << QStringList{"+{0}", "50ms", "-{0}", "+{1}", "-{1}"} << "ReUntilClick" << 1;
        QTest::newRow("Czech name") << QString::fromUtf8("Střelba") << QStringList{"+F5", "-F5"} << "ReUntil"
                                    << 1;
        QTest::newRow("one event") << "One" << QStringList{"+B"} << "ReNumber" << 250;
    }
    void macroRecordsMatchTheMacroPage() {
        QFETCH(QString, name);
        QFETCH(QStringList, items);
        QFETCH(QString, loop);
        QFETCH(int, count);
        Start();
        PutTexts();
        SetMouseButtonNames(0);
        for (QString& item : items)
            item.replace("{0}", MouseButtonNames[0]).replace("{1}", MouseButtonNames[1]);
        WriteFile(name + ".ini", "");
        Macro macroPage;
        Select(macroPage, name);
        Fill(macroPage, items);
        Child<QCheckBox>(macroPage, qPrintable(loop))->setChecked(true);
        Child<QSpinBox>(macroPage, "NumberEdit")->setValue(count);
        Invoke(macroPage, "on_Save_clicked");
        QCOMPARE(Shown(macroPage), items);

        page->SlotAddMacroButton();
        Choose(5, Ui()->page_5);
        QCOMPARE(page->MacroButtonList.first()->text(), name);
        page->MacroButtonList.first()->click();
        const FlashDataMap assigned = DeviceFixture::LastHandedImage();
        QCOMPARE(int(assigned.ButtonKeys[3].Type), 6);
        QCOMPARE(Ui()->TopMusic->text(), "M: " + name);

        // The macro page's download of the same macro to the same button.
        HidSim::ClearCallLog();
        macroPage.SlotMacroDownLoadData(name, 3);
        QVERIFY(DeviceFixture::HandedOver());
        const FlashDataMap downloaded = DeviceFixture::LastHandedImage();
        QCOMPARE(MacroBytes(assigned, 3).toHex(), MacroBytes(downloaded, 3).toHex());
        QCOMPARE(EntryBytes(assigned, 3), EntryBytes(downloaded, 3));
        QCOMPARE(MacroFiles::RecordName(assigned.ButtonMacros[3], 3), name);
        // A later read of the image labels the row with the same name.
        page->SlotUpDataButtonUIB(assigned);
        QCOMPARE(Ui()->TopMusic->text(), "M: " + name);
    }
};

QTEST_MAIN(TstButtonHandlers)
#include "tst_buttonhandlers.moc"
