#include "core/LanguageLoader.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QXmlStreamReader>
#include <climits>

#include "platform/Paths.h"

namespace {

// Which table the strings of a (part, section) go to.
struct SectionRow {
    bool Mouse;
    const char* Section;
    TextTable* Table;
};

const SectionRow SectionRows[] = {
    {true, "AdvancedSettings", &MouseAdvancedSettingsTexts},
    {true, "Settings", &MouseSettingsTexts},
    {true, "common", &MouseCommonTexts},
    {true, "home", &MouseHomeTexts},
    {true, "infoTips", &MouseInfoTipsTexts},
    {true, "key", &MouseKeyTexts},
    {true, "light", &MouseLightTexts},
    {true, "macro", &MouseMacroTexts},
    {true, "pair", &MousePairTexts},
    {true, "sensor", &MouseSensorTexts},
    {true, "update", &MouseUpdateTexts},
    {false, "Settings", &KeyboardSettingsTexts},
    {false, "common", &KeyboardCommonTexts},
    {false, "key", &KeyboardKeyTexts},
    {false, "light", &KeyboardLightTexts},
    {false, "macro", &KeyboardMacroTexts},
    {false, "pair", &KeyboardPairTexts},
    {false, "update", &KeyboardUpdateTexts},
};

const char* const SectionNames[] = {
    "AdvancedSettings", "Settings", "common", "home", "infoTips", "key", "light", "macro", "pair",
    "sensor",           "update"};

// Which table the option objects of a (part, array) go to: KeyMember -> ValueMember.
// Type, when set, is the "type" text an element needs for this table.
struct ArrayRow {
    bool Mouse;
    const char* Array;
    const char* KeyMember;
    bool NumberKey;
    const char* ValueMember;
    const char* Type;
    TextTable* Table;
};

const ArrayRow ArrayRows[] = {
    {true, "KeyOptions", "value", false, "label", nullptr, &MouseKeyOptionLabels},
    {true, "LightOffTimeOptions", "value", true, "option", nullptr, &MouseLightOffTimeLabels},
    {true, "ReportRates", "value", true, "option", nullptr, &MouseReportRateLabels},
    {true, "InsertEventOptions", "command", true, "option", nullptr, &MouseInsertEventLabels},
    {true, "dpiModeOptions", "value", true, "option", nullptr, &MouseDpiModeLabels},
    {true, "tabsList", "id", true, "option", nullptr, &MouseTabLabels},
    {true, "ProfileOptions", "value", true, "option", nullptr, &MouseProfileLabels},
    {true, "DPIEffectOptions", "value", true, "option", nullptr, &MouseDpiEffectLabels},
    {true, "LightModeOptions", "value", true, "option", nullptr, &MouseLightModeLabels},
    {true, "StatusDescriptionList", "value", false, "option", nullptr, &MouseStatusDescriptionLabels},
    {true, "receiverList", "value", true, "option", nullptr, &MouseReceiverLabels},
    {true, "LODOptions", "value", true, "option", nullptr, &MouseLodLabels},
    {true, "PerformanceOptions", "value", true, "option", nullptr, &MousePerformanceLabels},
    {true, "SensorModeOptions", "value", true, "option", nullptr, &MouseSensorModeLabels},
    {true, "randomDelayList", "value", true, "option", nullptr, &MouseRandomDelayLabels},
    {false, "LightOffTimeOptions", "value", true, "option", nullptr, &KeyboardLightOffTimeLabels},
    {false, "ReportRates", "value", true, "option", nullptr, &KeyboardReportRateLabels},
    {false, "keyboardTabList", "value", true, "option", nullptr, &KeyboardTabLabels},
    {false, "DisableList", "value", true, "option", nullptr, &KeyboardDisableLabels},
    {false, "FunctionList", "value", true, "option", nullptr, &KeyboardFunctionLabels},
    {false, "modeList", "value", true, "option", nullptr, &KeyboardModeLabels},
    {false, "InsertEventOptions", "command", true, "option", nullptr, &KeyboardInsertEventLabels},
    {false, "keyboardKeyfunctions", "value", false, "label", "0x00", &KeyboardKeyFunction00Labels},
    {false, "keyboardKeyfunctions", "value", false, "label", "0x01", &KeyboardKeyFunction01Labels},
    {false, "keyboardKeyfunctions", "value", false, "label", "0x02", &KeyboardKeyFunction02Labels},
    {false, "keyboardKeyfunctions", "value", false, "label", "0x03", &KeyboardKeyFunction03Labels},
    {false, "keyboardKeyfunctions", "value", false, "label", "0x05", &KeyboardKeyFunction05Labels},
    {false, "keyboardKeyfunctions", "value", false, "label", "0x06", &KeyboardKeyFunction06Labels},
    {false, "keyboardKeyfunctions", "value", false, "label", "0x09", &KeyboardKeyFunction09Labels},
    {false, "keyboardKeyfunctions", "value", false, "label", "0x0A", &KeyboardKeyFunction0ALabels},
};

const char* const ReceiverStatusArray = "receiverStatusList";

TextTable* SectionTable(bool mouse, const QString& section) {
    for (const SectionRow& row : SectionRows)
        if (row.Mouse == mouse && section == QLatin1String(row.Section)) return row.Table;
    return nullptr;
}

bool IsSectionName(const QString& key) {
    for (const char* name : SectionNames)
        if (key == QLatin1String(name)) return true;
    return false;
}

// A number member as its decimal text; anything that is not an integer number in int range
// counts as 0.
QString NumberKey(const QJsonValue& value) {
    if (!value.isDouble()) return QStringLiteral("0");
    const double number = value.toDouble();
    if (!(number > double(INT_MIN) - 1 && number < double(INT_MAX) + 1)) return QStringLiteral("0");
    return QString::number(static_cast<int>(number));
}

template <typename Rows, typename Fn>
void ForEachTable(const Rows& rows, Fn fn) {
    for (const auto& row : rows) fn(row.Table);
}

}  // namespace

void LanguageLoader::LoadLanguageFiles() {
    const auto clearTable = [](TextTable* table) { table->clear(); };
    ForEachTable(SectionRows, clearTable);
    ForEachTable(ArrayRows, clearTable);
    MouseReceiverStatusPairs.clear();
    MouseKeyOptionLabelLists.clear();
    CompanyTexts.clear();

    const QString folder = Paths::InstallDir() + "/Language/";
    for (const char* file : {"en.json", "cs.json"}) {
        WorkingMaps.clear();
        WorkingPairs.clear();
        WorkingKeyOptions.clear();
        ReadJsonFile(folder + file);
        const auto appendTable = [this](TextTable* table) { table->append(WorkingMaps.value(table)); };
        ForEachTable(SectionRows, appendTable);
        ForEachTable(ArrayRows, appendTable);
        MouseReceiverStatusPairs.append(WorkingPairs);
        MouseKeyOptionLabelLists.append(WorkingKeyOptions);
    }
    WorkingMaps.clear();
    WorkingPairs.clear();
    ReadNetXml(folder + "Net.xml");
}

void LanguageLoader::ReadJsonFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError) return;
    if (document.isObject())
        ParseJsonObject(document.object(), QString());
    else if (document.isArray())
        ParseJsonArray(document.array(), QString());
}

void LanguageLoader::ParseJsonObject(const QJsonValue& value, const QString& name) {
    if (value.isArray()) {
        ParseJsonArray(value.toArray(), name);
        return;
    }
    if (!value.isObject()) return;
    const QJsonObject object = value.toObject();
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        const QString key = it.key();
        if (key == QLatin1String("keyboard")) TopIsMouse = false;
        if (key == QLatin1String("mouse")) TopIsMouse = true;
        if (IsSectionName(key)) Section = key;
        const QJsonValue member = it.value();
        if (member.isString() && !member.toString().isEmpty()) {
            if (TextTable* table = SectionTable(TopIsMouse, Section))
                WorkingMaps[table].insert(key, member.toString());
        }
        ParseJsonObject(member, key);
    }
}

void LanguageLoader::ParseJsonArray(const QJsonArray& array, const QString& name) {
    for (const QJsonValue& element : array) {
        if (!element.isObject()) continue;
        const QJsonObject option = element.toObject();
        if (TopIsMouse && name == QLatin1String(ReceiverStatusArray)) {
            WorkingPairs.append({option.value("option").toString(), option.value("info").toString()});
        } else {
            for (const ArrayRow& row : ArrayRows) {
                if (row.Mouse != TopIsMouse || name != QLatin1String(row.Array)) continue;
                if (row.Type && option.value("type").toString() != QLatin1String(row.Type)) continue;
                const QJsonValue keyValue = option.value(QLatin1String(row.KeyMember));
                const QString key = row.NumberKey ? NumberKey(keyValue) : keyValue.toString();
                const QString label = option.value(QLatin1String(row.ValueMember)).toString();
                WorkingMaps[row.Table].insert(key, label);
                if (row.Table == &MouseKeyOptionLabels) WorkingKeyOptions[key].append(label);
                break;
            }
        }
        const QJsonValue children = option.value("children");
        if (children.isArray()) ParseJsonArray(children.toArray(), name);
    }
}

void LanguageLoader::ReadNetXml(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) continue;
        if (xml.name() == QLatin1String("Profile"))
            ReadProfile(xml);
        else
            xml.raiseError(QStringLiteral("Not a labels file"));
    }
}

// The children of "Profile": "English" gives the company texts; after one of the notice
// elements nothing more is used; every other element is skipped whole.
void LanguageLoader::ReadProfile(QXmlStreamReader& xml) {
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) continue;
        const QStringRef name = xml.name();
        if (name == QLatin1String("English")) {
            ReadCompanyTexts(xml);
        } else if (name == QLatin1String("InportFail") || name == QLatin1String("NewVer") ||
                   name == QLatin1String("LessThree") || name == QLatin1String("ScreenInfo")) {
            while (!xml.atEnd()) xml.readNext();  // their labels are not used here
        } else {
            SkipUnknownElement(xml);
        }
    }
}

// From "English" to the end of the document: each "CompanyWeben" closes one entry holding the
// company texts read so far.
void LanguageLoader::ReadCompanyTexts(QXmlStreamReader& xml) {
    QStringList collected;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) continue;
        const QStringRef name = xml.name();
        if (name == QLatin1String("CompanyName") || name == QLatin1String("CompanyNameCn") ||
            name == QLatin1String("CompanyWebcn") || name == QLatin1String("CompanyWeben")) {
            const bool closesEntry = name == QLatin1String("CompanyWeben");
            collected << xml.readElementText(QXmlStreamReader::SkipChildElements);
            if (closesEntry && !xml.hasError()) CompanyTexts.append(collected);
        } else {
            SkipUnknownElement(xml);
        }
    }
}

void LanguageLoader::SkipUnknownElement(QXmlStreamReader& xml) {
    xml.skipCurrentElement();
}

void LoadLanguageFiles() {
    LanguageLoader().LoadLanguageFiles();
}
