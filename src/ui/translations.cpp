#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace ordevo::ui {

QTranslator* InstallQtJapaneseTranslations() {
    auto* app = QCoreApplication::instance();
    if (app == nullptr) return nullptr;
    // Owned by the application, so it lives exactly as long as the texts it translates.
    auto* translator = new QTranslator(app);
    if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}

}  // namespace ordevo::ui
