#include "core/LanguageTables.h"

#include "core/MacroIni.h"

std::atomic<int> CurrentLanguage{0};

TextTable MouseAdvancedSettingsTexts;
TextTable MouseSettingsTexts;
TextTable MouseCommonTexts;
TextTable MouseHomeTexts;
TextTable MouseInfoTipsTexts;
TextTable MouseKeyTexts;
TextTable MouseLightTexts;
TextTable MouseMacroTexts;
TextTable MousePairTexts;
TextTable MouseSensorTexts;
TextTable MouseUpdateTexts;

TextTable KeyboardSettingsTexts;
TextTable KeyboardCommonTexts;
TextTable KeyboardKeyTexts;
TextTable KeyboardLightTexts;
TextTable KeyboardMacroTexts;
TextTable KeyboardPairTexts;
TextTable KeyboardUpdateTexts;

TextTable MouseKeyOptionLabels;
QVector<QMap<QString, QStringList>> MouseKeyOptionLabelLists;
TextTable MouseLightOffTimeLabels;
TextTable MouseReportRateLabels;
TextTable MouseInsertEventLabels;
TextTable MouseDpiModeLabels;
TextTable MouseTabLabels;
TextTable MouseProfileLabels;
TextTable MouseDpiEffectLabels;
TextTable MouseLightModeLabels;
TextTable MouseStatusDescriptionLabels;
TextTable MouseReceiverLabels;
TextTable MouseLodLabels;
TextTable MousePerformanceLabels;
TextTable MouseSensorModeLabels;
TextTable MouseRandomDelayLabels;

TextTable KeyboardLightOffTimeLabels;
TextTable KeyboardReportRateLabels;
TextTable KeyboardTabLabels;
TextTable KeyboardDisableLabels;
TextTable KeyboardFunctionLabels;
TextTable KeyboardModeLabels;
TextTable KeyboardInsertEventLabels;
TextTable KeyboardKeyFunction00Labels;
TextTable KeyboardKeyFunction01Labels;
TextTable KeyboardKeyFunction02Labels;
TextTable KeyboardKeyFunction03Labels;
TextTable KeyboardKeyFunction05Labels;
TextTable KeyboardKeyFunction06Labels;
TextTable KeyboardKeyFunction09Labels;
TextTable KeyboardKeyFunction0ALabels;

QVector<TextPairs> MouseReceiverStatusPairs;
QVector<QStringList> CompanyTexts;

int ValidLanguage(int index) {
    return index >= 0 && index < LanguageCount ? index : 0;
}

int LanguageSetting() {
    return ValidLanguage(MacroIni::GetInstance()->GetValue("Language", "Language").toInt());
}

const TextMap& LanguageMap(const TextTable& table, int language) {
    static const TextMap empty;
    const int index = ValidLanguage(language);
    return index < table.size() ? table.at(index) : empty;
}

QString LanguageText(const TextTable& table, int language, const QString& key) {
    return LanguageMap(table, language).value(key);
}

TextPairs ReceiverStatusPairs(int language) {
    const int index = ValidLanguage(language);
    return index < MouseReceiverStatusPairs.size() ? MouseReceiverStatusPairs.at(index) : TextPairs();
}

QString CompanyText(int index) {
    if (CompanyTexts.isEmpty()) return QString();
    return CompanyTexts.first().value(index);
}

QStringList KeyOptionLabels(int language, const QString& value) {
    const int index = ValidLanguage(language);
    QStringList labels;
    if (index < MouseKeyOptionLabelLists.size()) {
        const QStringList filed = MouseKeyOptionLabelLists.at(index).value(value);
        for (auto it = filed.crbegin(); it != filed.crend(); ++it) labels.append(*it);
    }
    return labels;
}

QString KeyOptionLabel(int language, const QString& value, int position, bool* found) {
    const QStringList labels = KeyOptionLabels(language, value);
    const bool ok = position >= 0 && position < labels.size();
    if (found) *found = ok;
    return ok ? labels.at(position) : QString();
}
