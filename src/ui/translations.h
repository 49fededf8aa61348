// Qt's own texts (standard buttons, the file dialog) in Japanese, like the rest of the program.
#pragma once

class QTranslator;

namespace ordevo::ui {

// Loads Qt's Japanese catalogue (qtbase_ja, from Qt's translations folder) into the running
// application, which owns it. Null when the catalogue is not installed: Qt's texts then stay
// English.
QTranslator* InstallQtJapaneseTranslations();

}  // namespace ordevo::ui
