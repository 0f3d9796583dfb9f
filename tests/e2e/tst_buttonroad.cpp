// A button assignment through the real top-level window against the simulated receiver and mouse: the
// button page, a row, the multimedia list and next track; the mouse keeps it and the page shows it
// again after the device window is opened anew.
#include <QStackedWidget>
#include <QToolButton>
#include <QtTest>
#include <cstring>

#include "DeviceFixture.h"
#include "FirmwareFixture.h"
#include "RoadFixture.h"
#include "app/Dialog.h"
#include "app/DialogMain.h"
#include "buttons/Buttoninterface.h"
#include "device/DeviceFlags.h"
#include "device/Worker.h"
#include "dialogs/ModalRunner.h"
#include "dialogs/UpDataParam.h"
#include "hidusb/HIDUsb.h"
#include "hidusb/HidSimControl.h"
#include "home/DialogChange.h"
#include "ui_Buttoninterface.h"
#include "widgets/mytoolButtonEnter.h"

namespace {
constexpr int kWaitMs = 20000;

using DeviceFixture::MouseImage;

QByteArray Entry(const FlashDataMap& image, int button) {
    return QByteArray(reinterpret_cast<const char*>(&image.ButtonKeys[button]), 3);
}
QByteArray Action(const FlashDataMap& image, int button) {
    return QByteArray(reinterpret_cast<const char*>(&image.ButtonActions[button]), 52);
}
}  // namespace

class TstButtonRoad : public QObject {
    Q_OBJECT

private:
    QStringList waits_;

    void ReadSettings(DialogMain& window) {
        QTRY_VERIFY_WITH_TIMEOUT(TileButtons.size() == 1, kWaitMs);
        waits_.clear();
        FlashDataFromDevice = false;
        TileButtons.first()->click();
        QCOMPARE(window.Stack()->currentIndex(), int(DialogMain::DevicePageIndex));
        QTRY_VERIFY_WITH_TIMEOUT(waits_.contains("UpDataParam"), kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(!window.findChild<Dialog*>()->WaitDialog()->isVisible(), kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(FlashDataFromDevice && DeviceWorker && DeviceWorker->isFinished(), kWaitMs);
    }

private slots:
    void init() { RoadFixture::BeginDefaultRoad(&waits_); }

    void cleanup() { RoadFixture::EndRoad(); }

    void nextTrackOnRowFive() {
        DialogMain window;
        window.show();
        ReadSettings(window);
        auto* dialog = window.findChild<Dialog*>();
        dialog->findChild<QToolButton*>("ButtonMain")->click();
        auto* page = window.findChild<Buttoninterface*>();
        QVERIFY(page && page->isVisible());
        QVERIFY(std::memcmp(Entry(MouseImage(), 3).constData(), "\x05\x00\x00", 3) != 0);

        page->RowButton(5)->click();
        page->ui->DPI_12->click();
        QCOMPARE(page->ui->stackedWidget_2->currentWidget(), page->ui->page_3);
        page->ui->BackMusic_2->click();

        const QString label = page->ui->BackMusic_2->text();
        QVERIFY(!label.isEmpty());
        QCOMPARE(page->ui->TopMusic->text(), label);
        QTRY_COMPARE_WITH_TIMEOUT(Entry(MouseImage(), 3).toHex(), QByteArray("050000"), kWaitMs);
        QByteArray record = QByteArray::fromHex(
            "02000000"
            "0002b5000a000000"
            "0102b5000a000000");
        record.append(QByteArray(52 - record.size(), '\0'));
        QCOMPARE(Action(MouseImage(), 3).toHex(), record.toHex());

        // Back to the home page and in again: the row is labelled from the mouse's settings.
        dialog->findChild<QToolButton*>("UpArrow")->click();
        QCOMPARE(window.Stack()->currentIndex(), int(DialogMain::HomePageIndex));
        page->ui->TopMusic->setText(QString());
        ReadSettings(window);
        QTRY_COMPARE_WITH_TIMEOUT(page->ui->TopMusic->text(), label, kWaitMs);
    }
};

QTEST_MAIN(TstButtonRoad)
#include "tst_buttonroad.moc"
