// Ordevo-V3: entrance-surface skin dose after interventional radiology.
#include <QApplication>
#include <QDir>

#include <cstdio>
#include <cstring>

#include "fonts.h"
#include "messages.h"
#include "translations.h"
#include "ordevo_application.h"
#include "start_up.h"
#include "working_folder.h"

int main(int argc, char** argv) {
    // Answered before the window system is asked for anything, so it works without a display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("ordevo %s\n", ORDEVO_VERSION);
        return 0;
    }
    QApplication qtApp(argc, argv);
    ordevo::ui::InstallFontSubstitutions();
    ordevo::ui::InstallQtJapaneseTranslations();  // Qt's buttons and file dialog in Japanese
    // The name titles the message boxes and names the per-user data folder. It is set as the
    // application name, not the display name: a display name would be appended to every window
    // caption by the window system.
    QApplication::setApplicationName(QString::fromLatin1(ordevo::kApplicationName));
    // The program ends only through the exit window, never because the last window closed.
    QApplication::setQuitOnLastWindowClosed(false);

    const ordevo::FileResult<QString> folder =
        ordevo::PrepareWorkingFolderAtStart(QDir::currentPath());
    if (!folder) {
        ordevo::ui::AppMessages().Error(folder.error().message());
        return 1;
    }
    ordevo::OrdevoApplication application(*folder);
    if (!application.Start()) return 1;
    // For checking an installation: the start-up ran to the shown main window, nothing more.
    if (QApplication::arguments().contains(QStringLiteral("--start-only"))) return 0;
    return QApplication::exec();
}
