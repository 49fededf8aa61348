// Ordevo-V3: entrance-surface skin dose after interventional radiology.
#include <QApplication>
#include <QDir>

#include "fonts.h"
#include "translations.h"
#include "ordevo_application.h"

int main(int argc, char** argv) {
    QApplication qtApp(argc, argv);
    ordevo::ui::InstallFontSubstitutions();
    ordevo::ui::InstallQtJapaneseTranslations();  // Qt's buttons and file dialog in Japanese
    // The name titles the message boxes. It is set as the application name, not the display
    // name: a display name would be appended to every window caption by the window system.
    QApplication::setApplicationName(QStringLiteral("Ordevo-V3"));
    // The program ends only through the exit window, never because the last window closed.
    QApplication::setQuitOnLastWindowClosed(false);

    ordevo::OrdevoApplication application(QDir::currentPath());
    if (!application.Start()) return 1;
    return QApplication::exec();
}
