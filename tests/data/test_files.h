// Helpers that write small data files into a temporary folder for the reader tests.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <string>

namespace ordevo::testing {

// Writes `bytes` to "<dir>/<name>" (creating sub-folders), failing the test if it cannot.
void WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes);
QByteArray ReadFile(const QString& path);

// UTF-8 text to CP932 bytes, for expected file contents.
QByteArray Cp932(const QString& text);

// Reference files with values derivable from their position:
//   backscatter row r, column c (1..31): r + c / 100; the header line holds numbers too;
//   attenuation record i: energy 0.5·i, then columns 1..6 as 1000·k + i (k = column);
//   Primary.dat: lines "5k, 0.01·k" for k = 2..30, then two lines "x" and "y" (not read).
QByteArray BackscatterFileBytes();
QByteArray AttenuationFileBytes();
QByteArray PrimaryFileBytes();
void WriteReferenceFiles(const QTemporaryDir& dir);

}  // namespace ordevo::testing
