// The device window is made at its first use. What it changes must not be seen: after the first opening
// the hub's receivers stand in the order they had when the device window was made at start, the pages
// show the language chosen on the home page (with their fonts) as they did, and what the home page uses
// before any device was opened (the repair entry, the Space key's firmware offer) still works.
//
// The comparisons run each way of making the device window in a process of its own, as a start does.
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QProcess>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>
#include <cstdio>

#include "FirmwareFixture.h"
#include "RoadFixture.h"
#include "TestEnv.h"
#include "app/Dialog.h"
#include "app/DialogMain.h"
#include "core/LanguageTables.h"
#include "core/MacroIni.h"
#include "core/PostMsg.h"
#include "device/DeviceFlags.h"
#include "device/Worker.h"
#include "dialogs/UpDataParam.h"
#include "firmware/UpgradeState.h"
#include "hidusb/HidSimControl.h"
#include "home/DialogChange.h"
#include "platform/RegistryStore.h"
#include "platform/ScreenMetrics.h"
#include "settings/FormSetting.h"
#include "settings/UpDateRepair.h"
#include "ui_DialogChange.h"
#include "widgets/mytoolButtonEnter.h"

namespace {
constexpr int kWaitMs = 30000;
const char* const kScenarioVariable = "VZ_FIRST_USE_SCENARIO";

// The hub's receivers, one line per connection: "signal -> Class::objectName slot", in delivery order
// (QObject::dumpObjectInfo lists a signal's connections in that order).
QStringList HubReceivers() {
    static QStringList* lines = nullptr;
    QStringList collected;
    lines = &collected;
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { lines->append(text); });
    // The dump is debug output of the default category, whatever the program's filter rules say.
    QLoggingCategory* category = QLoggingCategory::defaultCategory();
    const bool debugOn = category->isDebugEnabled();
    category->setEnabled(QtDebugMsg, true);
    PostMsg::GetInstance()->dumpObjectInfo();
    category->setEnabled(QtDebugMsg, debugOn);
    qInstallMessageHandler(previous);
    lines = nullptr;

    QStringList receivers;
    QString signal;
    bool out = false;
    for (const QString& raw : collected) {
        const QString line = raw.trimmed();
        if (line == "SIGNALS OUT") out = true;
        if (line == "SIGNALS IN") out = false;
        if (!out) continue;
        if (line.startsWith("signal: "))
            signal = line.mid(8);
        else if (line.startsWith("-->") || line.startsWith('<'))
            receivers << signal + " " + line;
    }
    return receivers;
}

// What the device window shows: every widget's class, name, texts and font, in creation order.
QStringList DeviceWindowLook(QWidget* window) {
    QStringList look;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        QString line = QString(widget->metaObject()->className()) + " " + widget->objectName() + " [" +
                       widget->font().toString() + "]";
        if (auto* label = qobject_cast<QLabel*>(widget)) line += " " + label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) line += " " + button->text();
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) line += " " + edit->text();
        if (auto* box = qobject_cast<QComboBox*>(widget)) {
            line += QString(" #%1").arg(box->currentIndex());
            for (int i = 0; i < box->count(); ++i) line += " " + box->itemText(i);
        }
        if (!widget->toolTip().isEmpty()) line += " tip " + widget->toolTip();
        look << line;
    }
    return look;
}

// One start in this process: the window (device window at start or at its first use), an optional
// language choice on the home page, a tile click that reads the settings; then prints what is asked.
// "hub:<eager|lazy>" prints the hub's receivers, "look:<eager|lazy>:<dpi>" the device window's look.
int RunScenario(const QString& scenario) {
    const QStringList parts = scenario.split(':');
    const bool eager = parts.value(1) == "eager";
    const bool look = parts.value(0) == "look";
    QStringList waits;
    RoadFixture::BeginDefaultRoad(&waits);
    if (look) ScreenMetrics::SetOverrides(0, parts.value(2).toInt());
    DialogMain::DeviceWindowAtStart = eager;
    DialogMain window;
    window.ScaleFonts(ScreenMetrics::FontScaleFactor());
    window.show();
    if (!QTest::qWaitFor([] { return TileButtons.size() == 1; }, kWaitMs)) return 2;
    if (look) {
        QComboBox* box = HomePage->Form()->comboBox;
        box->setCurrentIndex(1);
        QMetaObject::invokeMethod(box, "activated", Q_ARG(int, 1));
    }
    if (window.DeviceWindowMade() != eager) return 3;
    TileButtons.first()->click();
    auto* device = window.findChild<Dialog*>();
    if (!device || window.Stack()->currentWidget() != device) return 4;
    const bool read = QTest::qWaitFor(
        [&] {
            return waits.contains("UpDataParam") && !device->WaitDialog()->isVisible() &&
                   FlashDataFromDevice && DeviceWorker && DeviceWorker->isFinished();
        },
        kWaitMs);
    if (!read) return 5;
    QCoreApplication::processEvents();
    const QStringList lines = look ? DeviceWindowLook(device) : HubReceivers();
    for (const QString& line : lines) std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
    RoadFixture::EndRoad();
    return 0;
}

// Runs a scenario in a new process of this test and returns its lines.
QStringList ScenarioLines(const QString& scenario) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kScenarioVariable, scenario);
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    if (!child.waitForFinished(3 * kWaitMs)) {
        child.kill();
        child.waitForFinished();
    }
    const QByteArray errors = child.readAllStandardError();
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        qWarning().noquote() << scenario << "ended with" << child.exitCode() << errors.right(3000);
        return {};
    }
    return QString::fromUtf8(child.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

QStringList ReceiversOf(const QStringList& receivers, const QString& signal) {
    QStringList of;
    for (const QString& line : receivers)
        if (line.startsWith(signal + "(")) of << line.section(' ', 2, 2);
    return of;
}
}  // namespace

class TstDeviceWindowFirstUse : public QObject {
    Q_OBJECT

private slots:
    // These two run first: the repair dialog and the offer's texts exist only once a device window
    // was made in this process.
    void repairEntryBeforeAnyDevice() {
        QVERIFY(!RepairDialog);
        RoadFixture::FreshUserState();
        const char* const devices =
            R"({"devices": [{"name": "receiver", "kind": "receiver", "class": 8, "version": "0x0105",
                "receiverId": [18, 52, 86], "mouse": "mouse"},
               {"name": "mouse", "kind": "mouse", "cable": true, "plugged": true, "version": "0x0112", "bootMode": true}]})";
        QVERIFY(HidSim::LoadDescription(devices));
        FirmwareFixture::UseInstallation();
        FirmwareFixture::PutPair(0x0106, 0x0113);
        WriteUpgradeFailRecord(210, 8, 35, 6);
        DialogMain window;
        window.show();
        QPushButton* repair = HomePage->Form()->Repair;
        QTRY_VERIFY_WITH_TIMEOUT(repair->isVisible(), kWaitMs);
        QVERIFY(!window.DeviceWindowMade());
        repair->click();
        QVERIFY(window.DeviceWindowMade());
        QCOMPARE(window.Stack()->currentIndex(), int(DialogMain::HomePageIndex));
        QVERIFY(RepairDialog && RepairDialog->isVisible());
        QLabel* status = RepairDialog->findChild<QLabel*>("ToolText_2");
        // The repair dialog was asked to check the devices and found the mouse waiting in boot mode.
        QTRY_COMPARE_WITH_TIMEOUT(status->text(), LanguageText(MouseHomeTexts, 0, "ReadyUpdate"), kWaitMs);
        RepairDialog->reject();
        QVERIFY(!RepairDialog->isVisible());
        RoadFixture::EndRoad();
        FirmwareFixture::UseInstallation();
    }

    // Space on the home page with one receiver whose mouse has another firmware image: the notice names
    // the wired mode in the chosen language.
    void spaceKeyOffersFirmwareBeforeAnyDevice() {
        // Left by the device window of the test before.
        WiredModeText.clear();
        QStringList waits;
        RoadFixture::BeginDefaultRoad(&waits);
        const char* const devices =
            R"({"devices": [{"name": "receiver", "kind": "receiver", "class": 8, "version": "0x0105",
                "receiverId": [18, 52, 86], "mouse": "mouse"},
               {"name": "mouse", "kind": "mouse", "version": "0x0112"}]})";
        QVERIFY(HidSim::LoadDescription(devices));
        FirmwareFixture::PutPair(0x0105, 0x0113);
        RegistryStore(RegistryStore::DriveTestKey()).SetValue("MouseVer356", "v1.12");
        QVERIFY(MacroIni::GetInstance()->SetValue("Language", "Language", "1"));
        QString text;
        ModalRunner::SetScript([&](QDialog& dialog) {
            waits << dialog.objectName();
            if (auto* label = dialog.findChild<QLabel*>("label")) text = label->text();
            return 0;
        });
        DialogMain window;
        window.show();
        QTRY_VERIFY_WITH_TIMEOUT(TileButtons.size() == 1, kWaitMs);
        QVERIFY(!window.DeviceWindowMade());
        QTest::keyClick(&window, Qt::Key_Space);
        QCOMPARE(waits, QStringList{"UpDateWarning"});
        QCOMPARE(text, LanguageText(MouseHomeTexts, 1, "WiredMode"));
        QVERIFY(!text.isEmpty());
        QCOMPARE(window.Stack()->currentIndex(), int(DialogMain::HomePageIndex));
        RoadFixture::EndRoad();
        FirmwareFixture::UseInstallation();
    }

    // For every hub signal, its receivers after the first opening stand in the order they had when the
    // device window was made at start.
    void hubReceiversAsWhenMadeAtStart() {
        const QStringList eager = ScenarioLines("hub:eager");
        const QStringList lazy = ScenarioLines("hub:lazy");
        QVERIFY(!eager.isEmpty());
        QCOMPARE(lazy, eager);
        // The order the pages depend on: the sensor page's reset reads what the advanced page's set.
        const QStringList reset = ReceiversOf(lazy, "SigFormReset");
        int last = -1;
        for (const char* page : {"Advanced::", "Buttoninterface::", "LampLight::", "Sensor::"}) {
            const int at = reset.indexOf(QRegularExpression(QString("^") + page + ".*"));
            QVERIFY2(at > last, page);
            last = at;
        }
        const QStringList language = ReceiversOf(lazy, "SigAllLanguage");
        QVERIFY(language.size() > 10);
        QVERIFY(language.at(language.size() - 2).startsWith("DialogChange::"));
        QVERIFY(language.last().startsWith("DialogMain::"));
    }

    // Start, the language chosen on the home page, a device opened: the device window looks as when it
    // was made at start, in the chosen language, at either font scale.
    void languageChosenBeforeTheFirstOpening_data() {
        QTest::addColumn<int>("dpi");
        QTest::newRow("96 dpi") << 96;
        QTest::newRow("120 dpi") << 120;
    }
    void languageChosenBeforeTheFirstOpening() {
        QFETCH(int, dpi);
        const QStringList eager = ScenarioLines(QString("look:eager:%1").arg(dpi));
        const QStringList lazy = ScenarioLines(QString("look:lazy:%1").arg(dpi));
        QVERIFY(eager.size() > 500);
        QCOMPARE(lazy.size(), eager.size());
        for (int i = 0; i < eager.size(); ++i) QCOMPARE(lazy.at(i), eager.at(i));
        const QString chosen = LanguageText(MouseSettingsTexts, 1, "Language");
        QVERIFY(!chosen.isEmpty() && chosen != LanguageText(MouseSettingsTexts, 0, "Language"));
        QVERIFY(lazy.filter(QRegularExpression("^QLabel label_2 \\[.*\\] " +
                                               QRegularExpression::escape(chosen) + "$"))
                    .size() >= 1);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    const QString scenario = qEnvironmentVariable(kScenarioVariable);
    if (!scenario.isEmpty()) return RunScenario(scenario);
    TstDeviceWindowFirstUse test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_devicewindowfirstuse.moc"
