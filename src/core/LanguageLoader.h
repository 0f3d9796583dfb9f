#pragma once
#include <QHash>
#include <QJsonArray>
#include <QJsonValue>
#include <QString>

#include "core/LanguageTables.h"

class QXmlStreamReader;

// Fills the language tables of LanguageTables.h from the installation folder's
// Language/en.json, Language/cs.json and Language/Net.xml.
//
// The JSON walk goes through objects in key order (so "keyboard" before "mouse"). The keys
// "keyboard" and "mouse" choose the part, a section name ("common", "home", ...) the section;
// non-empty strings below a section go to that part's section table. Arrays of option objects
// fill the label tables by their name; an option's "children" array is walked under the same
// name. The part and section carry over from one file to the next.
class LanguageLoader {
public:
    // Refills every table: language 0 from en.json, language 1 from cs.json (empty when a file
    // is missing or broken), then CompanyTexts from Net.xml.
    void LoadLanguageFiles();

    // Reads one language file into the working tables.
    void ReadJsonFile(const QString& path);
    void ParseJsonObject(const QJsonValue& value, const QString& name);
    void ParseJsonArray(const QJsonArray& array, const QString& name);

    // Appends the company texts of a labels file to CompanyTexts.
    void ReadNetXml(const QString& path);

private:
    void ReadProfile(QXmlStreamReader& xml);
    void ReadCompanyTexts(QXmlStreamReader& xml);
    static void SkipUnknownElement(QXmlStreamReader& xml);

    bool TopIsMouse = false;  // the walk starts in the keyboard part
    QString Section;
    QHash<TextTable*, TextMap> WorkingMaps;
    QMap<QString, QStringList> WorkingKeyOptions;
    TextPairs WorkingPairs;
};

// Fills all language tables (a LanguageLoader's LoadLanguageFiles).
void LoadLanguageFiles();
