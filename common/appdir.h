#pragma once

#include <QString>

namespace AppDir {

// path with one "/" at its end, never two.
QString withTrailingSlash(const QString &path);
// The running program's directory with a trailing "/"; every data file of
// both programs lives there.
QString path();

} // namespace AppDir
