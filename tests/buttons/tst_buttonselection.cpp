// Row selection of the button page: a row click opens the chooser preset to the row's function or
// refuses the last left-click row; a hotspot selects its row.
#include <QButtonGroup>
#include <QDialog>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>

#include "DeviceFixture.h"
#include "MacroPageFixture.h"
#include "buttons/Buttoninterface.h"
#include "core/LanguageLoader.h"
#include "core/PostMsg.h"
#include "dialogs/ModalRunner.h"
#include "ui_Buttoninterface.h"

namespace {
void NoData(const unsigned char*, int, const unsigned char*, int) {}

// Scroll positions before a click; a list that keeps its position still shows it.
constexpr int kUntouched = 999;
const QString kBarBefore = "QScrollBar {width:7px;}";

// A checked button by object name; a macro list entry by "macro:" and its text.
QString Name(const QAbstractButton* button) {
    if (!button) return QString();
    return button->objectName().isEmpty() ? "macro:" + button->text() : button->objectName();
}

struct Positions {
    int First, Media, Dpi, Macro;  // slider values; kUntouched: kept
};
}  // namespace
Q_DECLARE_METATYPE(Positions)

class TstButtonSelection : public QObject {
    Q_OBJECT
    Buttoninterface* page = nullptr;
    QStringList dialogs;  // class names of the modal dialogs run, in order
    QPoint noticeAt, noticeExpected;

    Ui_Buttoninterface* Ui() const { return page->ui; }
    QToolButton* Child(const QString& name) const { return page->findChild<QToolButton*>(name); }
    QScrollBar* Bar(QScrollArea* area) const { return area->verticalScrollBar(); }
    QList<QScrollArea*> Lists() const {
        return {Ui()->scrollArea_4, Ui()->scrollArea_3, Ui()->scrollArea_10, Ui()->scrollArea_7,
                Ui()->scrollArea_11};
    }

    // The page against the simulated mouse, with the given macro files; every list can scroll far.
    void Start(const QStringList& macros = {}) {
        DeviceFixture::Init();
        MacroPageFixture::FreshMacroFolder();
        for (const QString& name : macros) MacroPageFixture::WriteFile(name + ".ini", "1\n0x04 1 0\n");
        page = new Buttoninterface;
        DeviceFixture::ConnectWithImage(NoData);
        UiLive = true;
        page->SlotAllLanguage(0);
        page->MacroPrefixText = "M: ";
        page->SlotUpDataButtonUIB(DeviceFixture::ImageNow());
        // DPI values by 50 steps: no defines for this sensor.
        page->SensorName = "none";
        for (QScrollArea* area : Lists()) Bar(area)->setRange(0, 2000);
    }

    // Every row labelled "row n" but the left-click rows; the chooser open on another row's page.
    void Prepare(const QList<int>& leftRows) {
        for (int row = 1; row <= Buttoninterface::kRowCount; ++row)
            page->RowButton(row)->setText(leftRows.contains(row) ? Ui()->LeftKey_3->text()
                                                                 : "row " + QString::number(row));
        Ui()->stackedWidget->setCurrentWidget(Ui()->page_2);
        Ui()->stackedWidget_2->setCurrentWidget(Ui()->page_4);
        for (QScrollArea* area : Lists()) Bar(area)->setSliderPosition(kUntouched);
        Bar(Ui()->scrollArea_11)->setStyleSheet(kBarBefore);
    }

    void SetLists(int length, int button, int type, int param1) {
        page->ButtonTypeList.fill(12, length);  // no table lists type 12
        page->ButtonParam1List.fill(0, length);
        page->ButtonParam2List.fill(0, length);
        if (button < length) {
            page->ButtonTypeList[button] = type;
            page->ButtonParam1List[button] = param1;
        }
    }

    static void SetFirstEvent(int button, int kind, int code) {
        std::lock_guard<std::mutex> lock(CurrentFlashDataMutex());
        for (KeyActionRecord& record : CurrentFlashData.ButtonActions) record = KeyActionRecord{};
        CurrentFlashData.ButtonActions[button].EventCount = 2;
        CurrentFlashData.ButtonActions[button].Events[0].Kind = uint8_t(kind);
        CurrentFlashData.ButtonActions[button].Events[0].Code = uint16_t(code);
    }

private slots:
    void initTestCase() { LoadLanguageFiles(); }

    void init() {
        dialogs.clear();
        ModalRunner::SetScript([this](QDialog& d) {
            dialogs << d.metaObject()->className();
            noticeAt = d.pos();
            noticeExpected = ModalRunner::CentredPosition(page->mapToGlobal(QPoint(0, 0)), page->size(),
                                                          d.size(), -50, -70);
            return 0;
        });
    }

    void cleanup() {
        delete page;
        page = nullptr;
        ModalRunner::SetScript(nullptr);
        UsbServer_Exit();
    }

    void rowClick_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QList<int>>("leftRows");  // rows showing the left-click text
        QTest::addColumn<QString>("text");         // the clicked row's text instead ("" keeps it)
        QTest::addColumn<int>("length");           // entries in the lists
        QTest::addColumn<int>("button");           // the device button the lists give the entry
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("param1");
        QTest::addColumn<QVector<int>>("event");  // first key event of the button's record: kind, code
        QTest::addColumn<bool>("guard");
        QTest::addColumn<QString>("chooser");  // page of stackedWidget
        QTest::addColumn<QString>("panel");    // page of stackedWidget_2
        QTest::addColumn<QString>("first");    // checked first-level button
        QTest::addColumn<QString>("second");   // checked second-level button
        QTest::addColumn<Positions>("positions");
        QTest::addColumn<QString>("bar");  // the row list's scroll bar

        const QString hidden = "QScrollBar {width:0px;}";
        const QString shown = "QScrollBar {width:10px;}";
        const QVector<int> none;
        const int k = kUntouched;
        QTest::newRow("left on row 3, also on row 5")
            << 3 << QList<int>{3, 5} << "" << 16 << 2 << 1 << 1 << none << false << "page_2"
            << "page_9"
            << "LeftKey_3"
            << "" << Positions{0, k, 0, k} << hidden;
        QTest::newRow("only left-click row")
            << 3 << QList<int>{3} << "" << 16 << 2 << 1 << 1 << none << true << "page"
            << "page_9"
            << ""
            << "" << Positions{k, k, k, k} << kBarBefore;
        QTest::newRow("left by type, not by text")
            << 3 << QList<int>{} << "" << 16 << 2 << 1 << 1 << none << false << "page_2"
            << "page_9"
            << "LeftKey_3"
            << "" << Positions{0, k, 0, k} << hidden;
        QTest::newRow("row 1 keeps its bar")
            << 1 << QList<int>{3} << "" << 16 << 0 << 1 << 16 << none << false << "page_2"
            << "page_9"
            << "ForWardKey"
            << "" << Positions{60, k, 0, k} << shown;
        QTest::newRow("row 4 is device button 4")
            << 4 << QList<int>{} << "" << 16 << 4 << 7 << 0 << none << false << "page_2"
            << "page_9"
            << "DPI_2"
            << "" << Positions{75, k, 0, k} << hidden;
        QTest::newRow("row 5 is device button 3")
            << 5 << QList<int>{} << "" << 16 << 3 << 1 << 8 << none << false << "page_2"
            << "page_9"
            << "BackKey_2"
            << "" << Positions{45, k, 0, k} << hidden;
        QTest::newRow("mouse button 3")
            << 2 << QList<int>{} << "" << 16 << 1 << 1 << 3 << none << false << "page_2"
            << "page_9"
            << ""
            << "" << Positions{0, k, 0, k} << hidden;
        QTest::newRow("disabled") << 16 << QList<int>{} << "" << 16 << 15 << 0 << 0 << none << false
                                  << "page_2"
                                  << "page_9"
                                  << "DPI_5"
                                  << "" << Positions{135, k, 0, k} << hidden;
        QTest::newRow("DPI down") << 6 << QList<int>{} << "" << 16 << 5 << 2 << 3 << none << false << "page_2"
                                  << "page_7"
                                  << "DPI_7"
                                  << "VolumeUp_10" << Positions{195, k, 0, k} << hidden;
        QTest::newRow("wheel right") << 8 << QList<int>{} << "" << 16 << 7 << 3 << 2 << none << false
                                     << "page_2"
                                     << "page_4"
                                     << "DPI_11"
                                     << "VolumeDown_2" << Positions{150, k, 0, k} << hidden;
        QTest::newRow("rapid fire") << 11 << QList<int>{} << "" << 16 << 10 << 4 << 10 << none << false
                                    << "page_2"
                                    << "page_9"
                                    << "DPI_6"
                                    << "" << Positions{105, k, 0, k} << hidden;
        QTest::newRow("media key by its low byte")
            << 10 << QList<int>{} << "" << 16 << 9 << 5 << 0 << QVector<int>{2, 0x224} << false << "page_2"
            << "page_3"
            << "DPI_12"
            << "VolumeDown_10" << Positions{240, 195, k, k} << hidden;
        QTest::newRow("key combination")
            << 10 << QList<int>{} << "" << 16 << 9 << 5 << 0 << QVector<int>{1, 0x21} << false << "page_2"
            << "page_9"
            << "DPI_8"
            << "" << Positions{120, 0, k, k} << hidden;
        QTest::newRow("ordinary key with a media byte")
            << 10 << QList<int>{} << "" << 16 << 9 << 5 << 0 << QVector<int>{1, 0x24} << false << "page_2"
            << "page_9"
            << "DPI_8"
            << "" << Positions{120, 0, k, k} << hidden;
        QTest::newRow("consumer usage not listed")
            << 10 << QList<int>{} << "" << 16 << 9 << 5 << 0 << QVector<int>{2, 0x42} << false << "page_2"
            << "page_9"
            << "DPI_8"
            << "" << Positions{120, 0, k, k} << hidden;
        QTest::newRow("macro, third entry")
            << 12 << QList<int>{} << "M: Gamma" << 16 << 11 << 6 << 11 << none << false << "page_2"
            << "page_5"
            << "DPI_10"
            << "macro:Gamma" << Positions{225, k, 0, 45} << hidden;
        QTest::newRow("macro without its file")
            << 12 << QList<int>{} << "M: Gone" << 16 << 11 << 6 << 11 << none << false << "page_2"
            << "page_5"
            << "DPI_10"
            << "" << Positions{225, k, 0, k} << hidden;
        QTest::newRow("macro named by the bare prefix")
            << 12 << QList<int>{} << "M: " << 16 << 11 << 6 << 11 << none << false << "page_2"
            << "page_5"
            << "DPI_10"
            << "" << Positions{225, k, 0, k} << hidden;
        QTest::newRow("light bar") << 7 << QList<int>{} << "" << 16 << 6 << 8 << 3 << none << false
                                   << "page_2"
                                   << "page_6"
                                   << "DPI_9"
                                   << "VolumeUp_6" << Positions{180, k, 0, k} << hidden;
        QTest::newRow("light toggle 2")
            << 7 << QList<int>{} << "" << 16 << 6 << 8 << 2 << none << false << "page_2"
            << "page_6"
            << "DPI_9"
            << "" << Positions{180, k, 0, k} << hidden;
        QTest::newRow("configuration switch")
            << 9 << QList<int>{} << "" << 16 << 8 << 9 << 0 << none << false << "page_2"
            << "page_9"
            << "DPI_3"
            << "" << Positions{90, k, 0, k} << hidden;
        // By 50 DPI steps index 23 is 1200 and index 2 is 150.
        QTest::newRow("DPI lock 1200")
            << 13 << QList<int>{} << "" << 16 << 12 << 10 << 23 << none << false << "page_2"
            << "page_8"
            << "DPI_4"
            << "VolumeUp_21" << Positions{225, k, 165, k} << hidden;
        QTest::newRow("DPI lock 150")
            << 13 << QList<int>{} << "" << 16 << 12 << 10 << 2 << none << false << "page_2"
            << "page_8"
            << "DPI_4"
            << "" << Positions{225, k, 0, k} << hidden;
        QTest::newRow("wheel up") << 14 << QList<int>{} << "" << 16 << 13 << 11 << 1 << none << false
                                  << "page_2"
                                  << "page_10"
                                  << "DPI_13"
                                  << "VolumeUp_14" << Positions{150, k, 0, k} << hidden;
        QTest::newRow("type 12") << 15 << QList<int>{} << "" << 16 << 14 << 12 << 0 << none << false
                                 << "page_2"
                                 << "page_4"
                                 << ""
                                 << "" << Positions{0, k, 0, k} << hidden;
        // The model has eight buttons: rows 9..16 have no entry.
        QTest::newRow("beyond the lists")
            << 10 << QList<int>{} << "" << 8 << 9 << 1 << 1 << QVector<int>{2, 0xCD} << false << "page_2"
            << "page_4"
            << ""
            << "" << Positions{0, k, 0, k} << hidden;
        QTest::newRow("before the first refresh")
            << 1 << QList<int>{} << "" << 0 << 0 << 1 << 1 << none << false << "page_2"
            << "page_4"
            << ""
            << "" << Positions{0, k, 0, k} << shown;
        QTest::newRow("only left-click row beyond the lists")
            << 10 << QList<int>{10} << "" << 8 << 9 << 1 << 1 << none << true << "page"
            << "page_9"
            << ""
            << "" << Positions{k, k, k, k} << kBarBefore;
    }
    void rowClick() {
        QFETCH(int, row);
        QFETCH(QList<int>, leftRows);
        QFETCH(QString, text);
        QFETCH(int, length);
        QFETCH(int, button);
        QFETCH(int, type);
        QFETCH(int, param1);
        QFETCH(QVector<int>, event);
        QFETCH(bool, guard);
        QFETCH(QString, chooser);
        QFETCH(QString, panel);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(Positions, positions);
        QFETCH(QString, bar);
        Start({"Alpha", "Beta", "Gamma"});
        Prepare(leftRows);
        if (!text.isEmpty()) page->RowButton(row)->setText(text);
        SetLists(length, button, type, param1);
        if (!event.isEmpty()) SetFirstEvent(button, event[0], event[1]);
        HidSim::ClearCallLog();

        page->RowButton(row)->click();

        QCOMPARE(dialogs, guard ? QStringList{"LeftButtonOnly"} : QStringList{});
        if (guard) QCOMPARE(noticeAt, noticeExpected);
        QCOMPARE(Name(page->RowGroup->checkedButton()),
                 guard ? QString() : page->RowButton(row)->objectName());
        QCOMPARE(Ui()->stackedWidget->currentWidget()->objectName(), chooser);
        QCOMPARE(Ui()->stackedWidget_2->currentWidget()->objectName(), panel);
        QCOMPARE(Name(page->FirstLevelGroup->checkedButton()), first);
        QCOMPARE(Name(page->SecondLevelGroup->checkedButton()), second);
        QCOMPARE(Bar(Ui()->scrollArea_4)->value(), positions.First);
        QCOMPARE(Bar(Ui()->scrollArea_3)->value(), positions.Media);
        QCOMPARE(Bar(Ui()->scrollArea_10)->value(), positions.Dpi);
        QCOMPARE(Bar(Ui()->scrollArea_7)->value(), positions.Macro);
        QCOMPARE(Bar(Ui()->scrollArea_11)->value(), kUntouched);
        QCOMPARE(Bar(Ui()->scrollArea_11)->styleSheet(), bar);
        // A selection never talks to the device and leaves the lists as they are.
        QVERIFY(!DeviceFixture::HandedOver());
        QCOMPARE(page->ButtonTypeList.size(), length);
        for (const QAbstractButton* filler : page->MacroButtonList)
            if (filler->text().isEmpty()) QVERIFY(!filler->isChecked());
    }

    // Clicking the selected row again presets the chooser again; a preset that checks nothing in a
    // group leaves the earlier check there.
    void clickingAgain() {
        Start();
        Prepare({});
        SetLists(16, 6, 8, 3);
        page->RowButton(7)->click();
        QVERIFY(Ui()->VolumeUp_6->isChecked());
        Ui()->stackedWidget->setCurrentWidget(Ui()->page);
        Ui()->stackedWidget_2->setCurrentWidget(Ui()->page_9);
        page->ButtonParam1List[6] = 2;
        page->RowButton(7)->click();
        QVERIFY(Ui()->Button7->isChecked());
        QCOMPARE(Ui()->stackedWidget->currentWidget(), Ui()->page_2);
        QCOMPARE(Ui()->stackedWidget_2->currentWidget(), Ui()->page_6);
        QVERIFY(Ui()->DPI_9->isChecked() && Ui()->VolumeUp_6->isChecked());
    }

    void hotspot_data() {
        QTest::addColumn<int>("hotspot");
        QTest::addColumn<QList<int>>("leftRows");
        QTest::addColumn<bool>("chooserOpen");
        QTest::addColumn<bool>("online");
        QTest::addColumn<QString>("selected");  // "" : the guard ran
        QTest::addColumn<int>("position");      // the row list's slider
        QTest::newRow("hotspot 4") << 4 << QList<int>{} << false << true << "StartPause" << 60;
        QTest::newRow("hotspot 5") << 5 << QList<int>{} << true << true << "TopMusic" << 80;
        QTest::newRow("hotspot 13") << 13 << QList<int>{} << false << true << "Button13" << 260;
        QTest::newRow("hotspot 16") << 16 << QList<int>{} << false << true << "Button16" << 360;
        QTest::newRow("offline") << 2 << QList<int>{} << false << false << "RightKey" << 20;
        QTest::newRow("last left click, idle") << 1 << QList<int>{1} << false << true << "FireKey" << 0;
        QTest::newRow("last left click, chooser open")
            << 1 << QList<int>{1} << true << true << "" << kUntouched;
        QTest::newRow("one of two left clicks, chooser open")
            << 1 << QList<int>{1, 3} << true << true << "FireKey" << 0;
    }
    void hotspot() {
        QFETCH(int, hotspot);
        QFETCH(QList<int>, leftRows);
        QFETCH(bool, chooserOpen);
        QFETCH(bool, online);
        QFETCH(QString, selected);
        QFETCH(int, position);
        Start();
        Prepare(leftRows);
        SetLists(16, 0, 1, 1);
        if (!chooserOpen) {
            Ui()->stackedWidget->setCurrentWidget(Ui()->page);
            Ui()->stackedWidget_2->setCurrentWidget(Ui()->page_9);
        }
        Ui()->BackMusic->setChecked(true);  // the chooser's row, or an earlier selection
        if (!online) QVERIFY(HidSim::Sleep(DeviceFixture::MouseName()));
        QSignalSpy offline(PostMsg::GetInstance(), SIGNAL(SigMouseOffLineo(int)));

        Child("Number" + QString::number(hotspot))->click();

        QCOMPARE(DeviceFixture::OfflineNotices(offline), online ? 0 : 1);
        QCOMPARE(Name(page->RowGroup->checkedButton()), selected);
        QCOMPARE(Bar(Ui()->scrollArea_11)->value(), position);
        QCOMPARE(dialogs, selected.isEmpty() ? QStringList{"LeftButtonOnly"} : QStringList{});
        // No preset: the stacks stay unless the guard closed the chooser.
        const bool open = chooserOpen && !selected.isEmpty();
        QCOMPARE(Ui()->stackedWidget->currentWidget(), open ? Ui()->page_2 : Ui()->page);
        QCOMPARE(Ui()->stackedWidget_2->currentWidget(), open ? Ui()->page_4 : Ui()->page_9);
        QVERIFY(!page->FirstLevelGroup->checkedButton());
        QCOMPARE(Bar(Ui()->scrollArea_4)->value(), kUntouched);
        QCOMPARE(Bar(Ui()->scrollArea_11)->styleSheet(), kBarBefore);
    }
};

QTEST_MAIN(TstButtonSelection)
#include "tst_buttonselection.moc"
