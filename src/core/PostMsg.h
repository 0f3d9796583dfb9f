#pragma once
#include <QObject>
#include <QString>

#include "core/DeviceAllInfo.h"
#include "hidusb/DeviceReplyRecords.h"
#include "hidusb/FlashDataMap.h"

// The message hub: the one channel through which pages, dialogs, the device thread and the device library's
// callbacks tell each other about device data and user actions. It holds no state. Every emission goes
// through its Emit functions; receivers connect with PostMsg::Connect, which picks the connection type.
//
// Twelve signals are delivered blocking (the emitter waits until every receiver on the GUI thread has
// handled them); they are emitted only by the device thread and the device library's data thread.
class PostMsg : public QObject {
    Q_OBJECT
public:
    explicit PostMsg(QObject* parent = nullptr);

    // The one hub, created on first use (from any thread) and never destroyed. It lives on the GUI thread.
    static PostMsg* GetInstance();

    // Connection type of a hub signal, by name ("SigBattery") or by SIGNAL() text
    // ("2SigBattery(bool,int,bool)"): Qt::BlockingQueuedConnection for the blocking signals, else
    // Qt::AutoConnection.
    static Qt::ConnectionType ConnectionType(const char* signal);
    // Connects a hub signal (SIGNAL() text) to a receiver's slot (SLOT() text) with ConnectionType.
    // A signal or slot that does not exist leaves nothing connected (Qt warns) and gives false.
    static bool Connect(const char* signal, const QObject* receiver, const char* slot);

    void EmitSigChangeMainDialog(int index);
    void EmitSigChangeSize(int index);
    void EmitSigUpDataConfigUI(int ToTalItem, int SelectIndex, bool ItemEnable);
    void EmitSigUpDataLightUIButton(FlashDataMap DataMap);
    void EmitSigUpDataLightLight(FlashDataMap DataMap);
    void EmitSigUpDataLightSensor(FlashDataMap DataMap);
    void EmitSigUpDataLightUIA(FlashDataMap DataMap);
    void EmitSigUpDataSensorUIB(FlashDataMap DataMap);
    void EmitSigUpDataButtonUIC(FlashDataMap DataMap);
    void EmitSigButtonToMacro(FlashDataMap DataMap, int KeyNumer);
    void EmitSigSelectMouseInfo(DeviceAllInfo SelectInfo);
    void EmitSigMouseOffLineo(int index);
    void EmitSigMainPageChange();
    void EmitSigSecondPageChange();
    void EmitSigUpPageLight();
    void EmitSigAddMacroButton();
    void EmitSigDeleteMacroButton(QString MacroName);
    void EmitSigMacroDownLoadData(QString MacroName, int index);
    void EmitSigUpDataMacro(QString MacroName, int index);
    void EmitSigUpDataParam(int index);
    void EmitSigUpDataReportRate(int index);
    void EmitSigUpDataDPI(int index);
    void EmitSigUpDataDPILed(FlashDataMap DataMap);
    void EmitSigTimerStop();
    void EmitSigButtonEnable(int index);
    void EmitSigLabelText(int index, QString Text);
    void EmitSigLabelTextB(QString TextA, QString Text);
    void EmitSigCloseUpdate();
    void EmitSigProgress(int index, int value);
    void EmitSigBattery(bool IsCharg, int Number, bool IsText);
    void EmitSigAutoRepair(int index);
    void EmitSigAutoRepairProgress(int index);
    void EmitSigChangeLanguage(int index);
    void EmitSigLanguageSameA(int index);
    void EmitSigLanguageSameB(int index);
    void EmitSigCloseOffOnline();
    void EmitSigSetMacroPage();
    void EmitSigStartRecord(int index);
    void EmitSigUpDateButton(bool IsHide);
    void EmitSigMacroRename(QString Rename, QString Name);
    void EmitSigSetver(int index);
    void EmitSigCloseProgress();
    void EmitSigRGBValue(DongleRGB* Rgb);
    void EmitSigLongRangeMode(bool Select);
    void EmitSigForm();
    void EmitSigFormB();
    void EmitSigEnterKey();
    void EmitSigFormReset();
    void EmitSigHideModel(int index);
    void EmitSigContinue(int index);
    void EmitSigMouseIndex(int index);
    void EmitSigUpdateStart();
    void EmitSigCheckUpdate();
    void EmitSigRepairCheckUpdate();
    void EmitSigSetNewVer();
    void EmitSigLightToFrom(int index);
    void EmitSigButtonCheck();
    void EmitSigAllLanguage(int Index);
    void EmitSigUpdateFrame(bool IsVis);
    void EmitSigAddSensor(int Value);
    void EmitSigAddReport(int Value);
    void EmitSigAddLOD(QString Value);
    void EmitSigDebunce(QString Value);
    void EmitSigAddConfig(QString Value);
    void EmitSigAddVer(int Type, QString Ver);
    void EmitSigAddUpdate(int Type, bool Isupdate);
    void EmitSig20KOpen(bool Open);
    void EmitSigtVis(int index);
    void EmitSigIsUsb(bool Usb, bool IsVs);

signals:
    void SigChangeMainDialog(int index);
    void SigChangeSize(int index);
    void SigUpDataConfigUI(int ToTalItem, int SelectIndex, bool ItemEnable);
    void SigUpDataLightUIButton(FlashDataMap DataMap);
    void SigUpDataLightLight(FlashDataMap DataMap);
    void SigUpDataLightSensor(FlashDataMap DataMap);
    void SigUpDataLightUIA(FlashDataMap DataMap);
    void SigUpDataSensorUIB(FlashDataMap DataMap);
    void SigUpDataButtonUIC(FlashDataMap DataMap);
    void SigButtonToMacro(FlashDataMap DataMap, int KeyNumer);
    void SigSelectMouseInfo(DeviceAllInfo SelectInfo);
    void SigMouseOffLineo(int index);
    void SigMainPageChange();
    void SigSecondPageChange();
    void SigUpPageLight();
    void SigAddMacroButton();
    void SigDeleteMacroButton(QString MacroName);
    void SigMacroDownLoadData(QString MacroName, int index);
    void SigUpDataMacro(QString MacroName, int index);
    void SigUpDataParam(int index);
    void SigUpDataReportRate(int index);
    void SigUpDataDPI(int index);
    void SigUpDataDPILed(FlashDataMap DataMap);
    void SigTimerStop();
    void SigButtonEnable(int index);
    void SigLabelText(int index, QString Text);
    void SigLabelTextB(QString TextA, QString Text);
    void SigCloseUpdate();
    void SigProgress(int index, int value);
    void SigBattery(bool IsCharg, int Number, bool IsText);
    void SigAutoRepair(int index);
    void SigAutoRepairProgress(int index);
    void SigChangeLanguage(int index);
    void SigLanguageSameA(int index);
    void SigLanguageSameB(int index);
    void SigCloseOffOnline();
    void SigSetMacroPage();
    void SigStartRecord(int index);
    void SigUpDateButton(bool IsHide);
    void SigMacroRename(QString Rename, QString Name);
    void SigSetver(int index);
    void SigCloseProgress();
    void SigRGBValue(DongleRGB* Rgb);
    void SigLongRangeMode(bool Select);
    void SigForm();
    void SigFormB();
    void SigEnterKey();
    void SigFormReset();
    void SigHideModel(int index);
    void SigContinue(int index);
    void SigMouseIndex(int index);
    void SigUpdateStart();
    void SigCheckUpdate();
    void SigRepairCheckUpdate();
    void SigSetNewVer();
    void SigLightToFrom(int index);
    void SigButtonCheck();
    void SigAllLanguage(int Index);
    void SigUpdateFrame(bool IsVis);
    void SigAddSensor(int Value);
    void SigAddReport(int Value);
    void SigAddLOD(QString Value);
    void SigDebunce(QString Value);
    void SigAddConfig(QString Value);
    void SigAddVer(int Type, QString Ver);
    void SigAddUpdate(int Type, bool Isupdate);
    void Sig20KOpen(bool Open);
    void SigtVis(int index);
    void SigIsUsb(bool Usb, bool IsVs);

private:
    // False (with a warning) when a blocking signal is emitted on the GUI thread, where it could never be
    // delivered: the emitter would wait for its own thread forever.
    bool MayBlock(const char* name) const;
};
