#pragma once
#include <QString>
#include <QVector>
#include <QWidget>

#include "device/DeviceFlags.h"
#include "dialogs/WriteFail.h"
#include "hidusb/FlashDataMap.h"
#include "keys/KeyHook.h"
#include "macro/MacroFiles.h"

class QAbstractButton;
class QButtonGroup;
class QListWidgetItem;
class QMenu;
class QModelIndex;
class Ui_Macro;

// The macro editor page of the device window: the macro list (one item per macro file), the event
// list of the macro shown, recording from the keyboard, loop options, saving, export and import,
// and the conversion between the event list and a device button's macro record.
//
// "The macro shown" is the one whose file was read last (a left click, creation or import); Save,
// export, recording and every event-list edit act on it, never on an item that only became
// current (a right click, the arrow keys).
class Macro : public QWidget {
    Q_OBJECT
public:
    explicit Macro(QWidget* parent = nullptr);
    ~Macro() override;

    // Item data of the event list.
    static constexpr int KindRole = Qt::UserRole;
    static constexpr int CodeRole = Qt::UserRole + 1;
    static constexpr int DelayRole = Qt::UserRole + 2;
    // List item types: a release is type 1, presses and delays type 0.
    static constexpr int PressItemType = 0;
    static constexpr int ReleaseItemType = 1;

    // Event list (appending; no effect while no macro is shown).
    void AddKeyItem(const QString& name, bool press);
    void AddDelayItem(double ms);
    // Event list edits that keep events and delays alternating.
    void InsertKeyEvent(const QString& name, bool press);
    void InsertMouseClick(const QString& name, int buttonBit);
    // False when nothing changed (the first event has no delay before it).
    bool InsertDelay(double ms);

    // Macro files.
    void LoadMacroList();
    void LoadMacroFile();
    void CreateMacroFile();
    static bool ClearMacroFile(const QString& path);
    bool SaveMacroFile(const QString& repeatText);

    // The loop options' repeat value: 254, 255, 253 or the count.
    int RepeatValue() const;
    // The event list as entries.
    QVector<MacroFiles::MacroEntry> Entries() const;
    QString MacroFilePath(const QString& name) const;
    // Name of the macro shown; empty when none is.
    QString ShownMacro() const;

    // Builds the macro list's context menu for a position of the list (what a right click opens).
    QMenu* ContextMenu(const QPoint& position);

    QString MacroFolder;
    QString PictureFolder;
    QString ButtonColorText;
    ::MacroKeyHook MacroKeyHook;
    QButtonGroup* DelayModeGroup = nullptr;
    QButtonGroup* LoopModeGroup = nullptr;
    int LastKey = -1;
    ElapsedCounter RecordTimer;
    bool FirstEvent = false;
    int RecordedCount = 0;
    bool EventsChanged = false;
    bool LoopChanged = false;
    QString MacroLabelPrefix;
    QString MenuExportText;
    QString MenuRenameText;
    QString MenuDeleteText;
    QString MenuNewText;
    QString MenuImportText;

public slots:
    void SlotButtonToMacro(FlashDataMap DataMap, int KeyNumer);
    void SlotMacroDownLoadData(QString MacroName, int index);
    void SlotSetMacroPage();
    void SlotAllLanguage(int index);
    // Key capture while recording: (virtual key, down, repeat).
    void UpdateCapslockTip(int keyCode, bool downOrUp, bool aotu);
    void LoopChangedHandler();

    void CreateMewMacro();
    void DeleteMacro();
    void RenameMacro();
    void ExPortMacro();
    void InPortMacro();

private slots:
    void on_NewHong_clicked();
    void on_DeleteHong_clicked();
    void on_Save_clicked();
    void on_listWidgetHong_clicked(const QModelIndex& index);
    void on_listWidgetHong_customContextMenuRequested(const QPoint& position);
    void on_listWidgetKey_itemChanged(QListWidgetItem* item);
    void on_NumberEdit_valueChanged(int value);
    void on_DelayTime_valueChanged(int value);
    void on_Amend_clicked();
    void on_DeleteKey_clicked();
    void on_ChooseEvent_activated(int index);
    void on_StartRecord_clicked();
    void on_StopRecord_clicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void ApplyStyles();
    void SetSaveEnabled(bool enabled);
    void SetRecordingLook(bool recording);
    void SelectMacro(QListWidgetItem* item);
    void ApplyRepeat(int repeat);
    void DeleteMacroItem(QListWidgetItem* item);
    void ShowStopRecordHint();
    void ShowEventLimit();
    void ShowWriteFail(WriteFail::Action action);
    // A file rebuilt from the device could not be written: one notice after the refresh, however many
    // buttons' files failed in it.
    void TellRebuildFailed();
    bool RoomForEvents(int added);
    int EventCount() const;
    bool HasMacro(const QString& name) const;
    bool IsDelayRow(int row) const;
    QListWidgetItem* MakeItem(const MacroFiles::MacroEntry& entry) const;
    void InsertEntry(int row, const MacroFiles::MacroEntry& entry);

    Ui_Macro* ui;
    QListWidgetItem* ShownItem = nullptr;
    bool HookBound = false;
    bool RebuildFailPending = false;
};
