// Reading the reference data at start, and the message when it cannot be read.
#include "start_up.h"

#include <QDir>

#include "reference_files.h"

namespace ordevo {

FileResult<void> LoadReferenceDataAtStart(AppState& state) {
    auto reference = ReadReferenceData(state.WorkingFolder);
    if (!reference) {
        return FileError(QStringLiteral(" 基準データファイルを読み込めませんでした \n\n%1\n\n検索したフォルダー: %2\n\n"
                              "Ordevo-V3 を終了します。")
            .arg(reference.error().message(), QDir::toNativeSeparators(QDir(state.WorkingFolder).absolutePath())));
    }
    state.Reference = std::move(reference).value();
    return {};
}

}  // namespace ordevo
