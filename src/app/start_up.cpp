// Preparing the working folder and reading the reference data at start, and the messages when
// either fails.
#include "start_up.h"

#include <QDir>

#include "case_messages.h"
#include "reference_files.h"
#include "working_folder.h"

namespace ordevo {

FileResult<QString> PrepareWorkingFolderAtStart(const QString& startFolder) {
    FileResult<QString> folder = ChooseWorkingFolder(PlacesForStartIn(startFolder));
    if (folder) return folder;
    return FileError(
        QStringLiteral(" 作業フォルダーを準備できませんでした \n\n%1\n\nOrdevo-V3 を終了します。")
            .arg(folder.error().message()));
}

FileResult<void> LoadReferenceDataAtStart(AppState& state) {
    auto reference = ReadReferenceData(state.WorkingFolder);
    if (!reference) {
        return FileError(
            QString::fromUtf8(kReferenceDataUnreadableMessage) +
            QStringLiteral("\n\n%1\n\n検索したフォルダー: %2\n\nOrdevo-V3 を終了します。")
                .arg(reference.error().message(),
                     QDir::toNativeSeparators(QDir(state.WorkingFolder).absolutePath())));
    }
    state.Reference = std::move(reference).value();
    return {};
}

}  // namespace ordevo
