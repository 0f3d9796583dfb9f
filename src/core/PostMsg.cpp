#include "core/PostMsg.h"

#include <QCoreApplication>
#include <QThread>
#include <cstring>

namespace {

// Signals whose connections are all blocking; every other hub connection is automatic.
constexpr const char* kBlockingSignals[] = {
    "SigUpDataConfigUI",
    "SigUpDataLightUIButton",
    "SigUpDataLightLight",
    "SigUpDataLightSensor",
    "SigUpDataReportRate",
    "SigUpDataDPI",
    "SigUpDataDPILed",
    "SigBattery",
    "SigRGBValue",
    "SigLongRangeMode",
    "SigForm",
    "SigFormReset",
};

// "2SigBattery(bool,int,bool)" or "SigBattery" -> "SigBattery".
QByteArray SignalName(const char* signal) {
    if (!signal) return {};
    QByteArray text(signal);
    if (!text.isEmpty() && text.at(0) >= '0' && text.at(0) <= '9') text.remove(0, 1);
    const int paren = text.indexOf('(');
    return (paren < 0 ? text : text.left(paren)).trimmed();
}

}  // namespace

PostMsg::PostMsg(QObject* parent) : QObject(parent) {}

PostMsg* PostMsg::GetInstance() {
    static PostMsg* const instance = [] {
        RegisterDeviceMetaTypes();
        qRegisterMetaType<DongleRGB*>("DongleRGB*");
        auto* hub = new PostMsg;
        if (QCoreApplication::instance()) hub->moveToThread(QCoreApplication::instance()->thread());
        return hub;
    }();
    return instance;
}

Qt::ConnectionType PostMsg::ConnectionType(const char* signal) {
    const QByteArray name = SignalName(signal);
    for (const char* blocking : kBlockingSignals) {
        if (name == blocking) return Qt::BlockingQueuedConnection;
    }
    return Qt::AutoConnection;
}

bool PostMsg::Connect(const char* signal, const QObject* receiver, const char* slot) {
    return static_cast<bool>(QObject::connect(GetInstance(), signal, receiver, slot, ConnectionType(signal)));
}

bool PostMsg::MayBlock(const char* name) const {
    if (QThread::currentThread() != thread()) return true;
    qWarning("PostMsg: %s is delivered blocking and cannot be emitted on the GUI thread; dropped", name);
    return false;
}

void PostMsg::EmitSigChangeMainDialog(int index) {
    emit SigChangeMainDialog(index);
}

void PostMsg::EmitSigChangeSize(int index) {
    emit SigChangeSize(index);
}

void PostMsg::EmitSigUpDataConfigUI(int ToTalItem, int SelectIndex, bool ItemEnable) {
    if (!MayBlock("SigUpDataConfigUI")) return;
    emit SigUpDataConfigUI(ToTalItem, SelectIndex, ItemEnable);
}

void PostMsg::EmitSigUpDataLightUIButton(FlashDataMap DataMap) {
    if (!MayBlock("SigUpDataLightUIButton")) return;
    emit SigUpDataLightUIButton(DataMap);
}

void PostMsg::EmitSigUpDataLightLight(FlashDataMap DataMap) {
    if (!MayBlock("SigUpDataLightLight")) return;
    emit SigUpDataLightLight(DataMap);
}

void PostMsg::EmitSigUpDataLightSensor(FlashDataMap DataMap) {
    if (!MayBlock("SigUpDataLightSensor")) return;
    emit SigUpDataLightSensor(DataMap);
}

void PostMsg::EmitSigUpDataLightUIA(FlashDataMap DataMap) {
    emit SigUpDataLightUIA(DataMap);
}

void PostMsg::EmitSigUpDataSensorUIB(FlashDataMap DataMap) {
    emit SigUpDataSensorUIB(DataMap);
}

void PostMsg::EmitSigUpDataButtonUIC(FlashDataMap DataMap) {
    emit SigUpDataButtonUIC(DataMap);
}

void PostMsg::EmitSigButtonToMacro(FlashDataMap DataMap, int KeyNumer) {
    emit SigButtonToMacro(DataMap, KeyNumer);
}

void PostMsg::EmitSigSelectMouseInfo(DeviceAllInfo SelectInfo) {
    emit SigSelectMouseInfo(SelectInfo);
}

void PostMsg::EmitSigMouseOffLineo(int index) {
    emit SigMouseOffLineo(index);
}

void PostMsg::EmitSigMainPageChange() {
    emit SigMainPageChange();
}

void PostMsg::EmitSigSecondPageChange() {
    emit SigSecondPageChange();
}

void PostMsg::EmitSigUpPageLight() {
    emit SigUpPageLight();
}

void PostMsg::EmitSigAddMacroButton() {
    emit SigAddMacroButton();
}

void PostMsg::EmitSigDeleteMacroButton(QString MacroName) {
    emit SigDeleteMacroButton(MacroName);
}

void PostMsg::EmitSigMacroDownLoadData(QString MacroName, int index) {
    emit SigMacroDownLoadData(MacroName, index);
}

void PostMsg::EmitSigUpDataMacro(QString MacroName, int index) {
    emit SigUpDataMacro(MacroName, index);
}

void PostMsg::EmitSigUpDataParam(int index) {
    emit SigUpDataParam(index);
}

void PostMsg::EmitSigUpDataReportRate(int index) {
    if (!MayBlock("SigUpDataReportRate")) return;
    emit SigUpDataReportRate(index);
}

void PostMsg::EmitSigUpDataDPI(int index) {
    if (!MayBlock("SigUpDataDPI")) return;
    emit SigUpDataDPI(index);
}

void PostMsg::EmitSigUpDataDPILed(FlashDataMap DataMap) {
    if (!MayBlock("SigUpDataDPILed")) return;
    emit SigUpDataDPILed(DataMap);
}

void PostMsg::EmitSigTimerStop() {
    emit SigTimerStop();
}

void PostMsg::EmitSigButtonEnable(int index) {
    emit SigButtonEnable(index);
}

void PostMsg::EmitSigLabelText(int index, QString Text) {
    emit SigLabelText(index, Text);
}

void PostMsg::EmitSigLabelTextB(QString TextA, QString Text) {
    emit SigLabelTextB(TextA, Text);
}

void PostMsg::EmitSigCloseUpdate() {
    emit SigCloseUpdate();
}

void PostMsg::EmitSigProgress(int index, int value) {
    emit SigProgress(index, value);
}

void PostMsg::EmitSigBattery(bool IsCharg, int Number, bool IsText) {
    if (!MayBlock("SigBattery")) return;
    emit SigBattery(IsCharg, Number, IsText);
}

void PostMsg::EmitSigAutoRepair(int index) {
    emit SigAutoRepair(index);
}

void PostMsg::EmitSigAutoRepairProgress(int index) {
    emit SigAutoRepairProgress(index);
}

void PostMsg::EmitSigChangeLanguage(int index) {
    emit SigChangeLanguage(index);
}

void PostMsg::EmitSigLanguageSameA(int index) {
    emit SigLanguageSameA(index);
}

void PostMsg::EmitSigLanguageSameB(int index) {
    emit SigLanguageSameB(index);
}

void PostMsg::EmitSigCloseOffOnline() {
    emit SigCloseOffOnline();
}

void PostMsg::EmitSigSetMacroPage() {
    emit SigSetMacroPage();
}

void PostMsg::EmitSigStartRecord(int index) {
    emit SigStartRecord(index);
}

void PostMsg::EmitSigUpDateButton(bool IsHide) {
    emit SigUpDateButton(IsHide);
}

void PostMsg::EmitSigMacroRename(QString Rename, QString Name) {
    emit SigMacroRename(Rename, Name);
}

void PostMsg::EmitSigSetver(int index) {
    emit SigSetver(index);
}

void PostMsg::EmitSigCloseProgress() {
    emit SigCloseProgress();
}

void PostMsg::EmitSigRGBValue(DongleRGB* Rgb) {
    if (!MayBlock("SigRGBValue")) return;
    emit SigRGBValue(Rgb);
}

void PostMsg::EmitSigLongRangeMode(bool Select) {
    if (!MayBlock("SigLongRangeMode")) return;
    emit SigLongRangeMode(Select);
}

void PostMsg::EmitSigForm() {
    if (!MayBlock("SigForm")) return;
    emit SigForm();
}

void PostMsg::EmitSigFormB() {
    emit SigFormB();
}

void PostMsg::EmitSigEnterKey() {
    emit SigEnterKey();
}

void PostMsg::EmitSigFormReset() {
    if (!MayBlock("SigFormReset")) return;
    emit SigFormReset();
}

void PostMsg::EmitSigHideModel(int index) {
    emit SigHideModel(index);
}

void PostMsg::EmitSigContinue(int index) {
    emit SigContinue(index);
}

void PostMsg::EmitSigMouseIndex(int index) {
    emit SigMouseIndex(index);
}

void PostMsg::EmitSigUpdateStart() {
    emit SigUpdateStart();
}

void PostMsg::EmitSigCheckUpdate() {
    emit SigCheckUpdate();
}

void PostMsg::EmitSigRepairCheckUpdate() {
    emit SigRepairCheckUpdate();
}

void PostMsg::EmitSigSetNewVer() {
    emit SigSetNewVer();
}

void PostMsg::EmitSigLightToFrom(int index) {
    emit SigLightToFrom(index);
}

void PostMsg::EmitSigButtonCheck() {
    emit SigButtonCheck();
}

void PostMsg::EmitSigAllLanguage(int Index) {
    emit SigAllLanguage(Index);
}

void PostMsg::EmitSigUpdateFrame(bool IsVis) {
    emit SigUpdateFrame(IsVis);
}

void PostMsg::EmitSigAddSensor(int Value) {
    emit SigAddSensor(Value);
}

void PostMsg::EmitSigAddReport(int Value) {
    emit SigAddReport(Value);
}

void PostMsg::EmitSigAddLOD(QString Value) {
    emit SigAddLOD(Value);
}

void PostMsg::EmitSigDebunce(QString Value) {
    emit SigDebunce(Value);
}

void PostMsg::EmitSigAddConfig(QString Value) {
    emit SigAddConfig(Value);
}

void PostMsg::EmitSigAddVer(int Type, QString Ver) {
    emit SigAddVer(Type, Ver);
}

void PostMsg::EmitSigAddUpdate(int Type, bool Isupdate) {
    emit SigAddUpdate(Type, Isupdate);
}

void PostMsg::EmitSig20KOpen(bool Open) {
    emit Sig20KOpen(Open);
}

void PostMsg::EmitSigtVis(int index) {
    emit SigtVis(index);
}

void PostMsg::EmitSigIsUsb(bool Usb, bool IsVs) {
    emit SigIsUsb(Usb, IsVs);
}
