#pragma once
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>
#include <atomic>

// Process-wide text tables, filled once from Language/en.json (language 0) and
// Language/cs.json (language 1) by LoadLanguageFiles (LanguageLoader.h). Each table holds one
// key -> text map per language. Filled and read on the GUI thread.
using TextMap = QMap<QString, QString>;
using TextTable = QVector<TextMap>;
using TextPairs = QList<QPair<QString, QString>>;

// Languages the tables know: 0 English, 1 Czech.
constexpr int LanguageCount = 2;

// Language index of every page's texts; set by the top-level window at construction.
extern std::atomic<int> CurrentLanguage;

// Texts of the "mouse" part, one table per section.
extern TextTable MouseAdvancedSettingsTexts;
extern TextTable MouseSettingsTexts;
extern TextTable MouseCommonTexts;
extern TextTable MouseHomeTexts;
extern TextTable MouseInfoTipsTexts;
extern TextTable MouseKeyTexts;
extern TextTable MouseLightTexts;
extern TextTable MouseMacroTexts;
extern TextTable MousePairTexts;
extern TextTable MouseSensorTexts;
extern TextTable MouseUpdateTexts;

// Texts of the "keyboard" part.
extern TextTable KeyboardSettingsTexts;
extern TextTable KeyboardCommonTexts;
extern TextTable KeyboardKeyTexts;
extern TextTable KeyboardLightTexts;
extern TextTable KeyboardMacroTexts;
extern TextTable KeyboardPairTexts;
extern TextTable KeyboardUpdateTexts;

// Option labels of the "mouse" arrays (value -> label; of several labels for one value, the last).
extern TextTable MouseKeyOptionLabels;
// Every label of each "KeyOptions" value, in file order, one map per language.
extern QVector<QMap<QString, QStringList>> MouseKeyOptionLabelLists;
extern TextTable MouseLightOffTimeLabels;
extern TextTable MouseReportRateLabels;
extern TextTable MouseInsertEventLabels;
extern TextTable MouseDpiModeLabels;
extern TextTable MouseTabLabels;
extern TextTable MouseProfileLabels;
extern TextTable MouseDpiEffectLabels;
extern TextTable MouseLightModeLabels;
extern TextTable MouseStatusDescriptionLabels;
extern TextTable MouseReceiverLabels;
extern TextTable MouseLodLabels;
extern TextTable MousePerformanceLabels;
extern TextTable MouseSensorModeLabels;
extern TextTable MouseRandomDelayLabels;

// Option labels of the "keyboard" arrays.
extern TextTable KeyboardLightOffTimeLabels;
extern TextTable KeyboardReportRateLabels;
extern TextTable KeyboardTabLabels;
extern TextTable KeyboardDisableLabels;
extern TextTable KeyboardFunctionLabels;
extern TextTable KeyboardModeLabels;
extern TextTable KeyboardInsertEventLabels;
extern TextTable KeyboardKeyFunction00Labels;
extern TextTable KeyboardKeyFunction01Labels;
extern TextTable KeyboardKeyFunction02Labels;
extern TextTable KeyboardKeyFunction03Labels;
extern TextTable KeyboardKeyFunction05Labels;
extern TextTable KeyboardKeyFunction06Labels;
extern TextTable KeyboardKeyFunction09Labels;
extern TextTable KeyboardKeyFunction0ALabels;

// ("option", "info") pairs of the mouse array "receiverStatusList", in file order.
extern QVector<TextPairs> MouseReceiverStatusPairs;

// Company texts from Language/Net.xml (not per language); readers use entry 0, texts 0..3.
extern QVector<QStringList> CompanyTexts;

// The language index to use for `index`: 0 or 1 as given, anything else falls back to 0.
int ValidLanguage(int index);

// The stored language choice of Macro.ini ("Language"/"Language") as a valid index.
int LanguageSetting();

// The texts of one language; an empty map when the table holds none for it.
// An index outside 0..1 reads language 0.
const TextMap& LanguageMap(const TextTable& table, int language);

// The text under `key` in one language; empty when missing.
QString LanguageText(const TextTable& table, int language, const QString& key);

// Every label of a "KeyOptions" value, latest filed first; empty when there is none.
QStringList KeyOptionLabels(int language, const QString& value);
// Label `position` of a "KeyOptions" value, counted from the last one of the file (0 = the last);
// empty with *found false when there is no such label.
QString KeyOptionLabel(int language, const QString& value, int position, bool* found = nullptr);
// The receiver status pairs of one language; empty when there are none.
TextPairs ReceiverStatusPairs(int language);

// Text `index` of the first company entry; empty when Net.xml gave no such text.
QString CompanyText(int index);
