// The skin-dose map as a picture: the trunk unwrapped with the back in the middle, a colour
// scale, contours at 2, 3 and 5 Gy, the PSD marked, labels in Japanese. Qt Gui draws it; the map
// itself stays free of Qt.
#pragma once

#include <QImage>
#include <QString>

#include "file_error.h"
#include "skin_dose_map.h"

namespace ordevo::map {

QImage DrawSkinDoseMap(const SkinDoseMap& map);

// Draws and saves as PNG through QSaveFile (nothing half-written). Needs a QGuiApplication.
FileResult<void> WriteSkinDoseMapPng(const QString& path, const SkinDoseMap& map);

}  // namespace ordevo::map
