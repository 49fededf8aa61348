// The one-page protocol of the room's table measurement, for the physicist in the room: four
// short exposures without a patient, from which ordevo-cli room-fit (or the map window's
// 「測定から作る…」) makes the room's profile.
#pragma once

#include <QString>

#include "surface.h"

namespace ordevo::map {

// Draws the page (landscape A4, mm) for a table move of `moveCm`.
void DrawRoomProtocolPage(ui::Surface& surface, double moveCm);

// Writes the page as PDF into `path`, replaced only when written whole; "" when written, else
// why not (Japanese, naming the file).
QString SaveRoomProtocolPdf(const QString& path, double moveCm);

// Through the application's print service, the user told how it went.
void PrintRoomProtocol(double moveCm);

}  // namespace ordevo::map
