#pragma once

#include <QString>

class QSettings;

namespace SettingsFile {

// Writes what was set to the file now: empty when it is saved, else why
// not, for the user, naming the file.
QString commit(QSettings &file);

} // namespace SettingsFile
