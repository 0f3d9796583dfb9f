#pragma once
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>

#include "hidusb/FlashDataMap.h"

class QAbstractButton;
class QButtonGroup;
class QToolButton;
class QVBoxLayout;
class Ui_Buttoninterface;
class Worker;

// The button page of the device window: sixteen button rows (six visible) with the function each
// device button carries, the mouse picture with its hotspots, a two-level function chooser, the
// debounce panel, the configuration switch and the profile export and import. It creates the device
// thread object.
class Buttoninterface : public QWidget {
    Q_OBJECT
public:
    explicit Buttoninterface(QWidget* parent = nullptr);
    ~Buttoninterface() override;

    static constexpr int kRowCount = 16;
    // Device button edited by row 1..16: row n edits n - 1, but rows 4 and 5 edit 4 and 3.
    static int RowDeviceButton(int row);
    // The row button of row 1..16.
    QToolButton* RowButton(int row) const;

    // Encodings (no widget, no member changed).
    // Name of one event's key code and kind; empty for codes without a name.
    static QString KeyCodeToName(int code, int kind);
    // The record with the press event k and the release event 2n - 1 - k of the named key filled in.
    static KeyActionRecord KeyNameToEvent(const QString& name, int k, int n, KeyActionRecord record);
    // The record of a combination text of one to three key names ("Ctrl+Num+" is Ctrl, Num+); false
    // (record untouched) for any other text.
    static bool ComboTextToRecord(const QString& text, KeyActionRecord& record);
    // The record of one consumer usage (high and low byte).
    static KeyActionRecord MakeMediaRecord(int high, int low);
    // DPI-lock value and device DPI index, by the sensor's define table or by 50 DPI steps.
    int DpiValueToIndex(int dpi) const;
    int DpiIndexToValue(int index) const;

    // The row of a device button 0..15 (rows 4 and 5 are crossed); null for any other index.
    QToolButton* DeviceButtonRow(int button) const;
    // Labels the row of one device button from an image. A macro row's file is rebuilt from the image
    // only with rebuildMacro (an image the device holds).
    void UpdateButtonLabel(int button, int type, int param1, int param2, const FlashDataMap& image,
                           bool rebuildMacro = true);
    // Stores the entry values of one device button; an index outside the lists changes nothing.
    void SetButtonState(int button, int type, int param1, int param2);
    void UncheckFunctionButtons();
    // Macro files go by the macro's name cut to the record's 30 bytes; a name that no file may carry
    // reads none. The repeat text is the file's first line ("0" without a file).
    static QString ReadMacroRepeat(const QString& name);
    // The device record of a macro file, read and encoded as the macro page does (at most 70 events).
    // False (record all zero) while the window is not live, for a name no file may carry, or without
    // the file.
    static bool LoadMacroFile(const QString& name, MacroRecord& record);
    // Kind and code of event i of a record from a key name of the key tables; a name outside them
    // sets kind 1 and keeps the code.
    static void MacroKeyNameToCode(const QString& name, int i, MacroRecord& record);

    // Defaults of the product table: a media key by the low byte of its usage, a key combination by
    // its text. False when the default is not one the page can apply (nothing sent); true otherwise,
    // also when the device refused it.
    bool ApplyMediaKey(int button, int code);
    bool ApplyKeyCombination(int button, const QString& text);
    // Device button of the selected row (the first checked one in row order); -1 without one.
    int SelectedDeviceButton() const;

    void InitButtonGroups();
    void InitMacroList();
    // Writes one profile file of the current model's sensor; false when nothing was written.
    static bool WriteProfileFile(const QString& path, FlashDataMap image);

    // The form (tests reach the widgets by object name through it).
    Ui_Buttoninterface* ui;

    QVBoxLayout* MacroListLayout = nullptr;
    QList<QToolButton*> MacroButtonList;
    // The chooser's checked buttons as the last row selection left them.
    QList<QPointer<QAbstractButton>> SelectionMarks;
    QButtonGroup* RowGroup = nullptr;
    QButtonGroup* FirstLevelGroup = nullptr;
    QButtonGroup* SecondLevelGroup = nullptr;
    QVector<int> ButtonTypeList;
    QVector<int> ButtonParam1List;
    QVector<int> ButtonParam2List;
    QString SensorName;
    QStringList SensorDefineNames;
    QVector<int> SensorDefineValues;
    int FireIntervalChoice = 10;
    int FireCountChoice = 3;
    QStringList ButtonColorList;
    QString ButtonColorText;
    QWidget* MacroListPanel = nullptr;
    QString PictureFolder;
    QString MacroPrefixText;
    QString ConfigLabelText;
    int LanguageAppliedOnce = 0;
    int ReleaseDebounceIndex = 0;
    int WheelDebounceIndex = 0;

public slots:
    void SlotMouseIndex(int index);
    void SlotAllLanguage(int index);
    void SlotUpDataButtonUIButton(FlashDataMap DataMap);
    void SlotUpDataButtonUIB(FlashDataMap DataMap);
    void SlotUpDataConfigUI(int ToTalItem, int SelectIndex, bool ItemEnable);
    void SlotFormResetButton();
    void SlotAddMacroButton();
    void SlotDeleteMacroButton(QString MacroName);
    void SlotUpDataMacro(QString MacroName, int index);
    void SlotMacroRename(QString Rename, QString Name);

private slots:
    void slotButtonClicked(bool checked);
    void on_ProjectChoose_activated(int index);
    void on_stackedWidget_currentChanged(int index);
    void on_OutputData_clicked();
    void on_ImportData_clicked();
    void on_DebunceRelease_currentIndexChanged(int index);
    void on_WheelDebunce_currentIndexChanged(int index);
    void on_LeftKey_3_clicked(bool checked);
    void on_RightKey_3_clicked(bool checked);
    void on_MidKey_clicked(bool checked);
    void on_BackKey_2_clicked(bool checked);
    void on_ForWardKey_clicked(bool checked);
    void on_DPI_2_clicked(bool checked);
    void on_DPI_5_clicked(bool checked);
    void on_DPI_6_clicked(bool checked);
    void on_VolumeUp_8_clicked(bool checked);
    void on_VolumeUp_9_clicked(bool checked);
    void on_VolumeUp_10_clicked(bool checked);
    void on_DPI_12_clicked();
    void on_DPI_9_clicked();
    void on_DPI_4_clicked();
    void on_DPI_11_clicked();
    void on_DPI_7_clicked();
    void on_DPI_13_clicked();
    void on_Player_clicked(bool checked);
    void on_StartPause_2_clicked(bool checked);
    void on_BackMusic_2_clicked(bool checked);
    void on_TopMusic_2_clicked(bool checked);
    void on_Mute_clicked(bool checked);
    void on_VolumeUp_clicked(bool checked);
    void on_VolumeDown_clicked(bool checked);
    void on_VolumeDown_4_clicked(bool checked);
    void on_VolumeDown_5_clicked(bool checked);
    void on_VolumeDown_6_clicked(bool checked);
    void on_VolumeDown_3_clicked(bool checked);
    void on_VolumeDown_8_clicked(bool checked);
    void on_VolumeDown_9_clicked(bool checked);
    void on_VolumeDown_7_clicked(bool checked);
    void on_VolumeDown_10_clicked(bool checked);
    void on_VolumeDown_12_clicked(bool checked);
    void on_VolumeDown_13_clicked(bool checked);
    void on_VolumeDown_11_clicked(bool checked);
    // Scroll pairs, light toggles, the configuration switch, DPI locks and the three dialog entries.
    void on_DPI_3_clicked(bool checked);
    void on_VolumeUp_2_clicked(bool checked);
    void on_VolumeDown_2_clicked(bool checked);
    void on_VolumeUp_14_clicked(bool checked);
    void on_VolumeDown_14_clicked(bool checked);
    void on_VolumeUp_4_clicked(bool checked);
    void on_VolumeUp_5_clicked(bool checked);
    void on_VolumeUp_6_clicked(bool checked);
    void on_VolumeUp_7_clicked(bool checked);
    void on_VolumeUp_11_clicked(bool checked);
    void on_VolumeUp_12_clicked(bool checked);
    void on_VolumeUp_13_clicked(bool checked);
    void on_VolumeUp_16_clicked(bool checked);
    void on_VolumeUp_15_clicked(bool checked);
    void on_VolumeUp_19_clicked(bool checked);
    void on_VolumeUp_20_clicked(bool checked);
    void on_VolumeUp_22_clicked(bool checked);
    void on_VolumeUp_18_clicked(bool checked);
    void on_VolumeUp_24_clicked(bool checked);
    void on_VolumeUp_23_clicked(bool checked);
    void on_VolumeUp_21_clicked(bool checked);
    // Declared after on_DPI_6_clicked(bool): a click reaches that one first.
    void on_DPI_6_clicked();
    void on_DPI_8_clicked();
    void on_DPI_10_clicked();

private:
    // The assignment step with a composed row text; a DPI lock by its value.
    void AssignEntry(int type, int param1, int param2, const QString& rowText);
    void AssignDpiLock(bool checked, int dpi, const QToolButton* value);

protected:
    void mousePressEvent(QMouseEvent* event) override;

    // Row selection: the row buttons open the chooser preset to the row's function, the hotspots
    // select a row.
private slots:
    void on_FireKey_clicked();
    void on_RightKey_clicked();
    void on_BackKey_clicked();
    void on_StartPause_clicked();
    void on_TopMusic_clicked();
    void on_BackMusic_clicked();
    void on_Button7_clicked();
    void on_Button8_clicked();
    void on_Button9_clicked();
    void on_Button10_clicked();
    void on_Button11_clicked();
    void on_Button12_clicked();
    void on_Button13_clicked();
    void on_Button14_clicked();
    void on_Button15_clicked();
    void on_Button16_clicked();
    void on_Number1_clicked();
    void on_Number2_clicked();
    void on_Number3_clicked();
    void on_Number4_clicked();
    void on_Number5_clicked();
    void on_Number6_clicked();
    void on_Number7_clicked();
    void on_Number8_clicked();
    void on_Number9_clicked();
    void on_Number10_clicked();
    void on_Number11_clicked();
    void on_Number12_clicked();
    void on_Number13_clicked();
    void on_Number14_clicked();
    void on_Number15_clicked();
    void on_Number16_clicked();

private:
    // A click on row 1..16: the left-click guard, or the chooser opened on the row's function.
    void SelectRow(int row);
    // A hotspot of row 1..16: selects the row without opening the chooser.
    void SelectRowByHotspot(int row);
    // The row is the only one that shows the left click.
    bool IsLastLeftClickRow(int row) const;
    // Closes the chooser, unchecks the rows and tells the user that the left click must stay.
    void RefuseLastLeftClickRow();
    // Presets the chooser and keeps its marks in SelectionMarks.
    void PresetChooser(int row);
    // After an assignment that did not reach the device: the chooser marks again what the last
    // selection marked and the function the selected row carries, as a fresh selection does.
    void ShowSelectedRowFunction();
    // Checks the macro list entry the row shows and scrolls the list to it.
    void PresetMacroEntry(int row);

protected:
    // Leaving the page (for another page, or the home page when the device goes) closes the chooser.
    // Only the page's own hiding leaves it: a window hidden to the tray or minimised keeps it.
    bool event(QEvent* event) override;

private:
    QString DpiDefinePrefix() const;
    static QString MacroFilePath(const QString& name);
    // Text of the chooser button of a function; empty when none assigns it.
    QString ChooserText(int type, int param1) const;
    QString KeyActionText(const KeyActionRecord& record) const;
    void RelabelRows(const FlashDataMap& image, bool rebuildMacros);
    // The macro a row shows: its text without NULs is MacroPrefixText + name; empty otherwise.
    QString RowMacroName(int row) const;
    // One media key: its consumer usage, its chooser button and its position in the media list.
    struct MediaKey {
        int Usage;
        QToolButton* Chooser;
        int ListPosition;
    };
    // The eighteen media keys in chooser order.
    QVector<MediaKey> MediaKeys() const;
    // The media key of a usage's low byte; null when none of the eighteen has it.
    static const MediaKey* FindMediaKey(int low, const QVector<MediaKey>& keys);
    QToolButton* MediaChooser(int low) const;
    // Sends one media key to a device button; on success (true) the row reads like its chooser button.
    bool SendMediaKey(int button, int usage);
    void AssignMedia(bool checked, int usage);
    // The shared assignment step: the selected row's device button gets the entry; on success the row
    // reads like the chooser button and the lists follow; then the page is idle again.
    void AssignEntry(int type, int param1, int param2, const QToolButton* chooser);
    void AssignFirstLevel(bool checked, int type, int param1, int param2, const QToolButton* chooser);
    void ApplyStyles();
    // The first-level entries whose picture ends in an arrow: each opens a second list.
    QList<QToolButton*> ArrowEntries() const;
    // Each first-level entry gets the font, made smaller where its text would not fit between its
    // paddings.
    void FitChooserTexts(const QFont& font);
    void SetMousePicture(int index);
    void SetDebounceItemTexts();
    // Fills the lists, the debounce controls and the flags from an image; fromDevice marks a refresh of
    // the device side (the Refreshed flag), otherwise only the Refreshing flag is kept.
    void Refresh(const FlashDataMap& image, bool fromDevice);
    void LoadButtonLists(const FlashDataMap& image, int count);
    void ShowReleaseDebounce(int ms);
    void ShowWheelDebounce(int ms);
    void FillMacroList(const QFont& font);
    void CloseChooser();
    void UncheckRows();
    static void UncheckGroup(QButtonGroup* group);
    // Product-table group of the current device ("Drive" + number).
    static QString DriveGroup();
    // Sets a language text, or the form's text when the language has none.
    void SetLanguageText(QWidget* widget, const QString& text);

    Worker* OwnWorker = nullptr;
    QHash<QWidget*, QString> FormTexts;
};
