// The settings page: versions and the update offer, language, auto start and links, pairing entry and
// restore defaults.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <cstring>

#include "DeviceFixture.h"
#include "FirmwareFixture.h"
#include "LanguageFixture.h"
#include "SmallDisk.h"
#include "core/MacroIni.h"
#include "core/PostMsg.h"
#include "device/DeviceCommand.h"
#include "device/DeviceDataCallback.h"
#include "device/Worker.h"
#include "dialogs/ModalRunner.h"
#include "firmware/FirmwareImages.h"
#include "firmware/UpgradeState.h"
#include "home/DialogChange.h"
#include "platform/AutoStart.h"
#include "platform/DesktopLinks.h"
#include "platform/ScreenMetrics.h"
#include "settings/FormSetting.h"
#include "settings/UpDateRepair.h"
#include "ui_DialogChange.h"
#include "ui_FormSetting.h"
#include "ui_UpDateRepair.h"

using LanguageFixture::Text;

namespace {
constexpr quint16 kCidMid = (FirmwareFixture::kMid << 8) | FirmwareFixture::kCid;

DeviceAllInfo Receiver(const QByteArray& path, const QString& version) {
    DeviceAllInfo d;
    d.Path = path;
    d.Type = kTypeReceiver8K;
    d.CidMidWord = kCidMid;
    d.Online = true;
    d.Version = version;
    d.MouseVersion = "v1.12";
    d.ReceiverId = {1, 2, 3};
    return d;
}

DeviceAllInfo CableMouse() {
    DeviceAllInfo d;
    d.Path = "cable";
    d.Type = 2;
    d.CidMidWord = kCidMid;
    d.Online = true;
    d.IsUsb = true;
    d.Version = "v1.12";
    d.MouseVersion = "v1.12";
    return d;
}

void SetDevices(const DeviceAllInfo& current, const QList<DeviceAllInfo>& list) {
    {
        std::lock_guard<std::mutex> lock(CurrentDeviceMutex());
        CurrentDevice = current;
        CurrentDevicePath = current.Path;
    }
    DevicePageDevices = list;
}

// Hub signals of the version display, in the order they come.
class Recorder : public QObject {
public:
    QStringList Events;
    Recorder() {
        PostMsg* hub = PostMsg::GetInstance();
        connect(hub, &PostMsg::SigAddVer, this,
                [this](int type, QString ver) { Events << QString("AddVer %1 %2").arg(type).arg(ver); });
        connect(hub, &PostMsg::SigAddUpdate, this,
                [this](int type, bool on) { Events << QString("AddUpdate %1 %2").arg(type).arg(on); });
        connect(hub, &PostMsg::SigUpdateFrame, this,
                [this](bool on) { Events << QString("UpdateFrame %1").arg(on); });
    }
};
}  // namespace

class TstSettingsPage : public QObject {
    Q_OBJECT
    QStringList ran_;

private slots:
    void initTestCase() {
        RegisterDeviceMetaTypes();
        using LanguageFixture::Put;
        for (const char* key :
             {"Version", "Others", "AutoOpen", "WindowSet", "WiredMode", "NoDevice", "SameDevice",
              "NoRecieve", "NoUSB", "Error", "MultiMouse", "MultiDongle", "ReadyUpdate", "WarnUpdate"})
            Put(MouseHomeTexts, key);
        for (const char* key : {"Language", "DeviceInfo", "DongleVersion", "MouseVersion", "Restore",
                                "StoreFail", "NoMouseSettings"})
            Put(MouseSettingsTexts, key);
        Put(MousePairTexts, "PairTool");
        Put(MousePairTexts, "Pair");
        Put(MouseUpdateTexts, "Upgrade");
        Put(MouseUpdateTexts, "DialogUpgradeStart");
        Put(KeyboardUpdateTexts, "newTips");
        Put(MouseCommonTexts, "OK");
        Put(MouseCommonTexts, "Cancel");
        CompanyTexts = {{"Name", "NameCn", "www.maker.cn", "www.maker.com"}};
    }

    void init() {
        DeviceFixture::Init();
        FirmwareFixture::UseInstallation();
        const QString dir = TestEnv::FreshDir("user");
        MacroIni::ResetForTest(dir + "/Macro.ini");
        AutoStart::SetFolder(dir + "/autostart");
        CurrentLanguage = 0;
        MouseUpdateAvailable = ReceiverUpdateAvailable = false;
        ran_.clear();
        ModalRunner::SetScript([this](QDialog& dialog) {
            ran_.append(dialog.objectName());
            return int(QDialog::Rejected);
        });
        if (RepairDialog) RepairDialog->hide();
    }

    void cleanup() {
        ModalRunner::SetScript(nullptr);
        DesktopLinks::SetUrlOpener(nullptr);
        DesktopLinks::SetProgramStarter(nullptr);
        ScreenMetrics::SetOverrides(0, 0);
        UsbServer_Exit();
        StopUsbChanged();
    }

    void cleanupTestCase() {
        FirmwareFixture::Restore();
        Clock::Set(nullptr);
    }

    void setVer_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("bin");
        QTest::addColumn<QString>("label5");
        QTest::addColumn<QString>("label7");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<bool>("mouseFlag");
        QTest::addColumn<bool>("receiverFlag");
        QTest::addColumn<QString>("dialog");  // status text of the shown dialog; empty when hidden

        const QStringList bothOn{"AddUpdate 0 1", "AddUpdate 1 1", "UpdateFrame 1"};
        const QStringList bothOff{"AddUpdate 0 0", "AddUpdate 1 0", "UpdateFrame 0"};
        const QStringList mouseOn{"AddUpdate 0 1", "AddUpdate 1 0", "UpdateFrame 1"};
        const QStringList receiverOn{"AddUpdate 0 0", "AddUpdate 1 1", "UpdateFrame 1"};
        const QStringList versions{"AddVer 1 v1.05", "AddVer 0 v1.12"};
        const QStringList mouseOnly{"AddVer 1 ", "AddVer 0 v1.12"};

        QTest::newRow("receiver, other images")
            << 0 << "receiver"
            << "other"
            << "v1.05"
            << "v1.12" << bothOn + versions << true << true << Text("NoUSB", 0);
        QTest::newRow("receiver, equal images") << 0 << "receiver"
                                                << "equal"
                                                << "v1.05"
                                                << "v1.12" << bothOff + versions << false << false << "";
        QTest::newRow("receiver, no folder: flags kept, nothing offered")
            << 0 << "receiver"
            << "absent"
            << "v1.05"
            << "v1.12" << versions << true << true << "";
        QTest::newRow("cable, one entry")
            << 0 << "cable1"
            << "other"
            << ""
            << "v1.12" << mouseOn + mouseOnly << true << false << Text("NoRecieve", 0);
        QTest::newRow("cable, two entries: ready")
            << 0 << "cable2"
            << "other"
            << "v1.05"
            << "v1.12" << bothOn + versions << true << true << Text("ReadyUpdate", 0);
        QTest::newRow("cable, two entries, equal") << 0 << "cable2"
                                                   << "equal"
                                                   << "v1.05"
                                                   << "v1.12" << bothOff + versions << false << false << "";
        QTest::newRow("cable, three entries")
            << 0 << "cable3"
            << "other"
            << ""
            << "v1.12" << mouseOn + mouseOnly << true << false << Text("MultiDongle", 0);
        QTest::newRow("offline: no mouse version")
            << 0 << "offline"
            << "other"
            << "v1.05"
            << "" << receiverOn + QStringList{"AddVer 1 v1.05", "AddVer 0 "} << false << true
            << Text("NoUSB", 0);
        QTest::newRow("6 clears both") << 6 << "receiver"
                                       << "other"
                                       << ""
                                       << "" << QStringList{"AddVer 1 ", "AddVer 0 "} << true << true << "";
    }

    void setVer() {
        QFETCH(int, index);
        QFETCH(QString, device);
        QFETCH(QString, bin);
        QFETCH(QString, label5);
        QFETCH(QString, label7);
        QFETCH(QStringList, events);
        QFETCH(bool, mouseFlag);
        QFETCH(bool, receiverFlag);
        QFETCH(QString, dialog);

        if (bin == "absent") FirmwareFixture::UseInstallation(false);
        if (bin == "other") FirmwareFixture::PutPair(0x0106, 0x0113);
        if (bin == "equal") FirmwareFixture::PutPair(0x0105, 0x0112);
        const DeviceAllInfo receiver = Receiver("rx", "v1.05");
        if (device == "receiver") SetDevices(receiver, {receiver});
        if (device == "offline") {
            DeviceAllInfo off = receiver;
            off.Online = false;
            SetDevices(off, {off});
        }
        if (device == "cable1") SetDevices(CableMouse(), {CableMouse()});
        if (device == "cable2") SetDevices(CableMouse(), {receiver, CableMouse()});
        if (device == "cable3") SetDevices(CableMouse(), {receiver, CableMouse(), Receiver("rx2", "v1.05")});

        FormSetting page;
        page.Form()->label_5->setText("old");
        page.Form()->label_7->setText("old");
        MouseUpdateAvailable = ReceiverUpdateAvailable = true;
        Recorder recorder;
        page.SetVer(index);

        QCOMPARE(page.Form()->label_5->text(), label5);
        QCOMPARE(page.Form()->label_7->text(), label7);
        QCOMPARE(recorder.Events, events);
        QCOMPARE(MouseUpdateAvailable.load(), mouseFlag);
        QCOMPARE(ReceiverUpdateAvailable.load(), receiverFlag);
        QCOMPARE(RepairDialog->isVisible(), !dialog.isEmpty());
        if (!dialog.isEmpty()) QCOMPARE(RepairDialog->findChild<QLabel*>("ToolText_2")->text(), dialog);
        QCOMPARE(page.Form()->Receive_2->text(), Text("Upgrade", 0));
    }

    void versionReportWhileMarkedOpensNothing() {
        FirmwareFixture::PutPair(0x0106, 0x0113);
        const DeviceAllInfo receiver = Receiver("rx", "v1.05");
        SetDevices(CableMouse(), {receiver, CableMouse()});
        FormSetting page;
        page.Form()->Receive_2->setText(page.NoUpdateText);
        page.SetVer(0);
        QVERIFY(MouseUpdateAvailable && ReceiverUpdateAvailable);
        QVERIFY(!RepairDialog->isVisible());
        page.SetVer(4);
        QCOMPARE(page.Form()->Receive_2->text(), page.UpgradeText);
    }

    void labelText_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("label5");
        QTest::addColumn<QString>("label7");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("0 receiver") << 0 << "v2.00"
                                    << "m" << QStringList{"AddVer 1 v2.00"};
        QTest::newRow("1 mouse") << 1 << "r"
                                 << "v2.00" << QStringList{"AddVer 0 v2.00"};
        QTest::newRow("2 nothing") << 2 << "r"
                                   << "m" << QStringList{};
    }
    void labelText() {
        QFETCH(int, index);
        QFETCH(QString, label5);
        QFETCH(QString, label7);
        QFETCH(QStringList, events);
        SetDevices(Receiver("rx", "r"), {});
        FormSetting page;
        page.Form()->label_5->setText("r");
        page.Form()->label_7->setText("m");
        Recorder recorder;
        page.SlotLabelText(index, "v2.00");
        QCOMPARE(page.Form()->label_5->text(), label5);
        QCOMPARE(page.Form()->label_7->text(), label7);
        QCOMPARE(recorder.Events, events);
        const DeviceAllInfo current = CurrentDeviceCopy();
        QCOMPARE(current.Version == "v2.00", index == 0);
        QCOMPARE(current.MouseVersion == "v2.00", index == 1);
    }

    void labelTextB_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("update");
        QTest::newRow("true") << "true" << true;
        QTest::newRow("True") << "True" << false;
        QTest::newRow("empty") << "" << false;
    }
    void labelTextB() {
        QFETCH(QString, text);
        QFETCH(bool, update);
        SetDevices(Receiver("rx", "v1.00"), {});
        FormSetting page;
        Recorder recorder;
        ReceiverUpdateAvailable = false;
        page.SlotLabelTextB("v1.05", text);
        QCOMPARE(page.Form()->label_5->text(), QString("v1.05"));
        QCOMPARE(recorder.Events, (QStringList{"AddVer 1 v1.05", QString("AddUpdate 1 %1").arg(update)}));
        QCOMPARE(page.Form()->Receive_2->styleSheet(), update ? page.WaitingStyle() : page.ConfirmStyle());
        QCOMPARE(CurrentDeviceCopy().Version, QString("v1.00"));
        QVERIFY(!ReceiverUpdateAvailable);
        QVERIFY(!RepairDialog->isVisible());
    }

    void language_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("company");
        QTest::addColumn<QString>("web");
        QTest::addColumn<int>("x");
        QTest::newRow("English") << 0 << "Name"
                                 << "www.maker.com" << 220;
        QTest::newRow("Czech") << 1 << "NameCn"
                               << "www.maker.cn" << 250;
    }
    void language() {
        QFETCH(int, index);
        QFETCH(QString, company);
        QFETCH(QString, web);
        QFETCH(int, x);
        CurrentLanguage = 1 - index;
        FormSetting page;
        QCOMPARE(page.Form()->comboBox->currentIndex(), 1 - index);
        QSignalSpy all(PostMsg::GetInstance(), &PostMsg::SigAllLanguage);
        QSignalSpy same(PostMsg::GetInstance(), &PostMsg::SigLanguageSameA);
        emit page.Form()->comboBox->activated(index);
        QCOMPARE(MacroIni::GetInstance()->GetValue("Language", "Language"), QString::number(index));
        QCOMPARE(CurrentLanguage.load(), index);
        QCOMPARE(all.count(), 1);
        QCOMPARE(same.count(), 1);
        QCOMPARE(same.at(0).at(0).toInt(), index);
        QCOMPARE(page.Form()->pushButton_4->text(), company);
        QCOMPARE(page.Form()->pushButton_3->text(), web);
        QCOMPARE(page.Form()->label_5->pos(), QPoint(x, 155));
        QCOMPARE(page.Form()->label_7->pos(), QPoint(x, 185));
        QCOMPARE(page.Form()->label->text(), Text("Version", index) + "1.0.2.0");
        QCOMPARE(page.Form()->Reset->text(), Text("Restore", index));
        QCOMPARE(WiredModeText, Text("WiredMode", index));
        QCOMPARE(page.NoUpdateText, Text("newTips", index));

        // The other language box: the box follows, nothing is written or sent.
        MacroIni::GetInstance()->SetValue("Language", "Language", "7");
        page.SlotLanguageSameB(1 - index);
        QCOMPARE(page.Form()->comboBox->currentIndex(), 1 - index);
        QCOMPARE(all.count(), 1);
        QCOMPARE(MacroIni::GetInstance()->GetValue("Language", "Language"), QString("7"));
    }

    // A choice Macro.ini cannot store goes back on the box that made it, and the user is told; so does
    // auto start, whose entry is taken back with it, and an auto-start entry that a full disk cannot hold.
    void choicesThatCannotBeStored_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("full");  // a full disk, the entry's folder on it; else read-only
        QTest::newRow("settings language box") << "settings" << false;
        QTest::newRow("home language box") << "home" << false;
        QTest::newRow("auto start") << "autostart" << false;
        QTest::newRow("auto start, entry on a full disk") << "autostart" << true;
    }
    void choicesThatCannotBeStored() {
        QFETCH(QString, control);
        QFETCH(bool, full);
        SmallDisk disk("settings-store", 64);
        SMALL_DISK_OR_SKIP(disk);
        // With the entry on a full disk, Macro.ini stays writable: only the entry cannot be stored, and
        // an entry that looked written would be kept.
        const QString iniFolder = full ? TestEnv::FreshDir("settings-ini") : disk.Path();
        MacroIni::ResetForTest(iniFolder + "/Macro.ini");
        QVERIFY(MacroIni::GetInstance()->SetValue("Language", "Language", "0"));
        QVERIFY(MacroIni::GetInstance()->SetValue("AutoStart", "Enable", "0"));
        CurrentLanguage = 0;
        const QString name = QCoreApplication::applicationName();
        const QString entryFolder = disk.Path() + "/autostart";
        if (full) {
            QVERIFY(QDir().mkpath(entryFolder));
            AutoStart::SetFolder(entryFolder);
        }
        AutoStart::Disable(name);
        FormSetting page;
        DialogChange home;
        QSignalSpy all(PostMsg::GetInstance(), &PostMsg::SigAllLanguage);
        QVERIFY(full ? disk.Fill() : disk.SetReadOnly(true));

        if (control == "settings") {
            page.Form()->comboBox->setCurrentIndex(1);
            emit page.Form()->comboBox->activated(1);
            QCOMPARE(page.Form()->comboBox->currentIndex(), 0);
        } else if (control == "home") {
            home.Form()->comboBox->setCurrentIndex(1);
            emit home.Form()->comboBox->activated(1);
            QCOMPARE(home.Form()->comboBox->currentIndex(), 0);
        } else {
            page.Form()->checkBox->click();
            QVERIFY(!page.Form()->checkBox->isChecked());
            QVERIFY(!QFileInfo::exists(AutoStart::EntryPath(name)));
            QVERIFY(!AutoStart::IsEnabled(name));
        }
        QCOMPARE(CurrentLanguage.load(), 0);
        QCOMPARE(all.count(), 0);
        QCOMPARE(ran_, QStringList{"UpDateWarning"});
        disk.Free();
        QVERIFY(disk.SetReadOnly(false));
        if (full) QCOMPARE(QDir(entryFolder).entryList(QDir::Files | QDir::Hidden), QStringList());
        QSettings onDisk(iniFolder + "/Macro.ini", QSettings::IniFormat);
        QCOMPARE(onDisk.value("Language/Language").toString(), QString("0"));
        QCOMPARE(onDisk.value("AutoStart/Enable").toString(), QString("0"));
    }

    void upgradeButtonFont_data() {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<qreal>("later");
        QTest::newRow("96 dpi") << 96 << 10.0;
        QTest::newRow("120 dpi") << 120 << 8.0;
    }
    void upgradeButtonFont() {
        QFETCH(int, dpi);
        QFETCH(qreal, later);
        ScreenMetrics::SetOverrides(0, dpi);
        FormSetting page;
        QCOMPARE(page.Form()->Receive_2->font().pointSizeF(), 10.0);
        page.SlotAllLanguage(0);
        QCOMPARE(page.Form()->Receive_2->font().pointSizeF(), later);
        page.SlotAllLanguage(1);
        QCOMPARE(page.Form()->Receive_2->font().pointSizeF(), later);
    }

    // The two picture buttons of the page, one above the other, write their texts alike.
    void pairAndRestoreShareOneFont() {
        FormSetting page;
        page.SlotAllLanguage(1);
        QCOMPARE(page.Form()->pushButton_2->font(), page.Form()->Reset->font());
    }

    void autoStartAndLinks_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("stored");  // Macro.ini AutoStart/Enable before
        QTest::addColumn<QString>("setup");   // "", "entry", "blocked"
        QTest::addColumn<bool>("box");        // box after the click (and its start state: !box unless failed)
        QTest::addColumn<QString>("storedAfter");
        QTest::addColumn<bool>("entryAfter");  // something stands at the entry's path
        QTest::addColumn<QString>("opened");   // URL or program started
        QTest::addColumn<bool>("notice");

        QTest::newRow("check") << "check"
                               << ""
                               << "" << true << "1" << true << "" << false;
        QTest::newRow("check, entry cannot be written") << "check"
                                                        << "0"
                                                        << "blocked" << false << "0" << true << "" << true;
        QTest::newRow("uncheck") << "uncheck"
                                 << "1"
                                 << "entry" << false << "0" << false << "" << false;
        QTest::newRow("uncheck without an entry") << "uncheck"
                                                  << "1"
                                                  << "" << false << "0" << false << "" << false;
        QTest::newRow("uncheck, entry cannot be removed") << "uncheck"
                                                          << "1"
                                                          << "blocked" << true << "1" << true << "" << true;
        QTest::newRow("web address without scheme")
            << "web:www.maker.com"
            << ""
            << "" << false << "" << false << "http://www.maker.com" << false;
        QTest::newRow("https address") << "web:https://maker.com/x"
                                       << ""
                                       << "" << false << "" << false << "https://maker.com/x" << false;
        QTest::newRow("other scheme opens nothing") << "web:file:///etc/passwd"
                                                    << ""
                                                    << "" << false << "" << false << "" << false;
        QTest::newRow("script opens nothing") << "web:javascript:alert(1)"
                                              << ""
                                              << "" << false << "" << false << "" << false;
        QTest::newRow("mouse settings tool") << "mouse:kcmshell5"
                                             << ""
                                             << "" << false << "" << false << "kcmshell5 kcm_mouse" << false;
        QTest::newRow("no mouse settings tool") << "mouse:"
                                                << ""
                                                << "" << false << "" << false << "" << true;
    }
    void autoStartAndLinks() {
        QFETCH(QString, action);
        QFETCH(QString, stored);
        QFETCH(QString, setup);
        QFETCH(bool, box);
        QFETCH(QString, storedAfter);
        QFETCH(bool, entryAfter);
        QFETCH(QString, opened);
        QFETCH(bool, notice);
        const QString name = QCoreApplication::applicationName();
        const QString entry = AutoStart::EntryPath(name);
        if (!stored.isEmpty()) MacroIni::GetInstance()->SetValue("AutoStart", "Enable", stored);
        if (setup == "entry") QVERIFY(AutoStart::Enable(name, "/x"));
        if (setup == "blocked") {
            // A folder where the entry should be: it can be neither written nor removed.
            QVERIFY(QDir().mkpath(entry + "/keep"));
        }
        QString got;
        DesktopLinks::SetUrlOpener([&got](const QUrl& url) {
            got = url.toString();
            return true;
        });
        const QString tool = action.startsWith("mouse:") ? action.mid(6) : QString();
        DesktopLinks::SetProgramStarter([&got, tool](const QString& program, const QStringList& args) {
            if (program != tool) return false;
            got = (QStringList{program} + args).join(' ');
            return true;
        });

        FormSetting page;
        QCOMPARE(page.Form()->checkBox->isChecked(), stored == "1");
        if (action == "check" || action == "uncheck") {
            page.Form()->checkBox->click();
        } else if (action.startsWith("web:")) {
            page.Form()->pushButton_3->setText(action.mid(4));
            page.Form()->pushButton_3->click();
        } else {
            page.Form()->pushButton->click();
        }
        if (action == "check" || action == "uncheck") {
            QCOMPARE(page.Form()->checkBox->isChecked(), box);
            QCOMPARE(MacroIni::GetInstance()->GetValue("AutoStart", "Enable"), storedAfter);
            QCOMPARE(QFileInfo::exists(entry), entryAfter);
        }
        if (action == "check" && !notice) {
            QFile file(entry);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY(file.readAll().contains(
                ("Exec=\"" + QCoreApplication::applicationFilePath() + "\"\n").toUtf8()));
        }
        QCOMPARE(got, opened);
        QCOMPARE(ran_.contains("UpDateWarning"), notice);
    }

    void execLineQuotesThePath() {
        QCOMPARE(AutoStart::ExecLine("/opt/my app/$x\"`"), QString("\"/opt/my app/\\$x\\\"\\`\""));
    }

    void pairingGivesTheCallbacksBack() {
        DeviceFixture::ConnectWithImage(DeviceDataCallback);
        HidSim::ClearCallLog();
        FormSetting page;
        QStringList before;
        ModalRunner::SetScript([&](QDialog& dialog) {
            ran_.append(dialog.objectName());
            before = HidSim::CallLog();
            return int(QDialog::Rejected);
        });
        page.Form()->pushButton_2->click();
        QVERIFY(ran_.contains("Match"));
        const QStringList log = HidSim::CallLog().mid(before.size());
        QCOMPARE(log.filter("StartUsbChanged").size(), 1);
        QCOMPARE(log.filter("UsbServerC_Start").size(), 1);
        QVERIFY(log.indexOf(QRegularExpression("^StartUsbChanged.*")) <
                log.indexOf(QRegularExpression("^UsbServerC_Start.*")));
    }

    void restore_data() {
        QTest::addColumn<QString>("road");
        QTest::newRow("offline") << "offline";
        QTest::newRow("cancel") << "cancel";
        QTest::newRow("close button") << "close";
    }
    void restore() {
        QFETCH(QString, road);
        DeviceFixture::ConnectWithImage(DeviceDataCallback);
        if (road == "offline") QVERIFY(HidSim::Sleep(DeviceFixture::MouseName()));
        FormSetting page;
        QSignalSpy offline(PostMsg::GetInstance(), &PostMsg::SigMouseOffLineo);
        ModalRunner::SetScript([&](QDialog& dialog) {
            ran_.append(dialog.objectName());
            if (road == "cancel") dialog.findChild<QToolButton*>("Cancel")->click();
            if (road == "close") dialog.findChild<QToolButton*>("CloseButton")->click();
            return int(QDialog::Rejected);
        });
        HidSim::ClearCallLog();
        page.Form()->Reset->click();
        const QStringList log = HidSim::CallLog();
        QVERIFY(!log.isEmpty());
        for (const QString& line : log)
            QVERIFY2(line.startsWith("UsbFinderC_GetDeviceOnLine"), qPrintable(line));
        QCOMPARE(offline.count(), road == "offline" ? 1 : 0);
        QCOMPARE(ran_, road == "offline" ? QStringList{} : QStringList{"ContainReset"});
        QVERIFY(!DpiSendSuppressed);
    }

    void restoreConfirmed_data() {
        QTest::addColumn<QString>("road");
        QTest::addColumn<QStringList>("dialogs");
        QTest::addColumn<int>("notice");  // the one notice asked for; -1 for none
        QTest::newRow("mouse answers") << "answers" << QStringList{"ContainReset", "UpDataParam"} << -1;
        // Refused or missed at once: the mouse keeps its settings, nothing is waited for.
        QTest::newRow("mouse asleep after the confirmation")
            << "asleep" << QStringList{"ContainReset"} << int(NoticeOffline);
        QTest::newRow("mouse refusing") << "refusing" << QStringList{"ContainReset"} << int(NoticeNotTaken);
        QTest::newRow("no dump after the clear")
            << "silent" << QStringList{"ContainReset", "UpDataParam"} << int(NoticeTimeOut);
    }
    void restoreConfirmed() {
        QFETCH(QString, road);
        QFETCH(QStringList, dialogs);
        QFETCH(int, notice);
        const QByteArray factory = HidSim::Flash(DeviceFixture::MouseName());
        // Without the data callback the clear is never reported done and no dump comes.
        DeviceFixture::ConnectWithImage(road == "silent" ? DeviceFixture::IgnoreData : DeviceDataCallback);
        OnlineNow = true;
        // A changed setting reaches the mouse first.
        QVERIFY(SetKeyDebounce(8));
        QTRY_VERIFY(HidSim::Flash(DeviceFixture::MouseName()) != factory);
        const QByteArray changed = HidSim::Flash(DeviceFixture::MouseName());
        const FlashDataMap image = DeviceFixture::ImageNow();
        ButtonPageRefreshed = LightPageRefreshed = SensorPageRefreshed = true;
        // The online poll runs, as it does while a device is open.
        QTimer poll;
        poll.start(60000);
        OnlinePollTimer = &poll;
        FormSetting page;
        // The pages report their fill from the dump that follows the clear.
        QObject pages;
        connect(
            PostMsg::GetInstance(), &PostMsg::SigUpDataLightUIButton, &pages,
            [] { ButtonPageRefreshed = LightPageRefreshed = SensorPageRefreshed = true; },
            Qt::DirectConnection);
        QSignalSpy notices(PostMsg::GetInstance(), &PostMsg::SigMouseOffLineo);
        bool suppressedDuring = false;
        bool filled = false;
        qint64 waited = 0;
        ModalRunner::SetScript([&](QDialog& dialog) {
            ran_.append(dialog.objectName());
            if (dialog.objectName() == "ContainReset") {
                dialog.findChild<QToolButton*>("OK")->click();
                if (road == "asleep") HidSim::Sleep(DeviceFixture::MouseName());
                if (road == "refusing") HidSim::FailNext(DeviceFixture::MouseName(), 3);
                return int(QDialog::Accepted);
            }
            suppressedDuring = DpiSendSuppressed && !poll.isActive();
            if (road == "answers")
                filled = QTest::qWaitFor(
                    [] { return ButtonPageRefreshed && LightPageRefreshed && SensorPageRefreshed; });
            const qint64 start = Clock::ElapsedMs();
            QMetaObject::invokeMethod(&dialog, "onTimeupDestroy", Qt::DirectConnection);
            waited = Clock::ElapsedMs() - start;
            return int(QDialog::Accepted);
        });
        HidSim::ClearCallLog();
        page.Form()->Reset->click();
        OnlinePollTimer = nullptr;
        HidSim::FailNext(DeviceFixture::MouseName(), 0);

        QCOMPARE(ran_, dialogs);
        QVERIFY(!DpiSendSuppressed);
        QVERIFY(poll.isActive());
        QCOMPARE(notices.count(), notice < 0 ? 0 : 1);
        if (notice >= 0) QCOMPARE(notices.first().first().toInt(), notice);
        // A refused act is not tried again.
        QCOMPARE(HidSim::CallLog().filter("fails this answer").size(), road == "refusing" ? 1 : 0);
        if (road == "answers") {
            QVERIFY(suppressedDuring);
            QVERIFY(filled);
            QCOMPARE(HidSim::CallLog().filter("UsbServer_SetClearSetting").size(), 1);
            QTRY_COMPARE(HidSim::Flash(DeviceFixture::MouseName()), factory);
            return;
        }
        if (road == "silent") {
            // The whole wait ran, then its notice, and the old image stays home.
            QVERIFY(suppressedDuring);
            QCOMPARE(waited, qint64(12 * 500 + 2000));
            QVERIFY(!FlashDataFromDevice);
            HidSim::ClearCallLog();
            QVERIFY(!SetKeyDebounce(4));
            QVERIFY(HidSim::CallLog().filter("ProtocolDataUpdate").isEmpty());
            return;
        }
        // Nothing was cleared: the mouse, the image and the pages' marks stay as they were, and the next
        // change reaches the mouse.
        QVERIFY(HidSim::CallLog().filter("UsbServer_SetClearSetting").isEmpty());
        QCOMPARE(HidSim::Flash(DeviceFixture::MouseName()), changed);
        const FlashDataMap now = DeviceFixture::ImageNow();
        QVERIFY(std::memcmp(&image, &now, sizeof image) == 0);
        QVERIFY(FlashDataFromDevice);
        QVERIFY(ButtonPageRefreshed && LightPageRefreshed && SensorPageRefreshed);
        if (road == "asleep") QVERIFY(HidSim::Wake(DeviceFixture::MouseName()));
        QTRY_VERIFY(HidSim::IsOnline(DeviceFixture::MouseName()));
        QVERIFY(SetKeyDebounce(4));
    }
};

QTEST_MAIN(TstSettingsPage)
#include "tst_settingspage.moc"
