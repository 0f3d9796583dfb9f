#include "core/ToolkitTranslations.h"

#include <QCoreApplication>
#include <QDebug>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

namespace ToolkitTranslations {
namespace {
// The installed catalogue; it belongs to the application object and goes with it.
QPointer<QTranslator> g_installed;

// The catalogue's name for a language; empty for English.
QString CatalogueOf(int language) {
    return language == 1 ? QStringLiteral("qtbase_cs") : QString();
}
}  // namespace

bool Apply(int language) {
    if (g_installed) {
        QCoreApplication::removeTranslator(g_installed);
        delete g_installed;
    }
    const QString catalogue = CatalogueOf(language);
    if (catalogue.isEmpty() || !QCoreApplication::instance()) return catalogue.isEmpty();
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(catalogue, QLibraryInfo::location(QLibraryInfo::TranslationsPath))) {
        delete translator;
        qWarning("The toolkit's texts of language %d are missing; its dialogs speak English.", language);
        return false;
    }
    QCoreApplication::installTranslator(translator);
    g_installed = translator;
    return true;
}

}  // namespace ToolkitTranslations
