#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// What the fuzz targets share: a scratch folder of the process's own, and the check that turns a
// broken promise into a crash the fuzzer records (and the replay reports).
namespace fuzz {

// A folder made once per process under the system's temporary folder, removed at exit.
QString scratchFolder();

// Writes the input to `name` in the scratch folder and returns the file's path.
QString writeScratchFile(const QString& name, const uint8_t* data, size_t size);

// Aborts with `promise` on stderr unless `holds`.
void expect(bool holds, const char* promise);

} // namespace fuzz

namespace fuzz {

// Makes the one QApplication of the process, on the offscreen platform, for targets that need
// widgets, fonts or the palette.
void startGuiApplication();

} // namespace fuzz
