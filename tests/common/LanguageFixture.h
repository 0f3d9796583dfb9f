#pragma once
#include <QString>

#include "core/LanguageTables.h"

// Test texts: each key's text is key + "/" + language, in both languages.
namespace LanguageFixture {
inline void Put(TextTable& table, const QString& key) {
    table.resize(LanguageCount);
    for (int language = 0; language < LanguageCount; ++language)
        table[language][key] = key + "/" + QString::number(language);
}
inline QString Text(const QString& key, int language) {
    return key + "/" + QString::number(language);
}
}  // namespace LanguageFixture
