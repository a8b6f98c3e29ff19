#pragma once

class QCoreApplication;

// The tool is a Japanese tool: Qt's own words (the standard context menus,
// the file dialogs, the buttons of message boxes) come in Japanese whatever
// the desktop's language, and what Qt shows in the default locale (dates in
// charts, numbers in spin boxes, the file dialogs' sorting) follows Japanese.
// Data files keep their own formats: they never take the default locale.
namespace Japanese {

// Loads Qt's Japanese translations from Qt's translations folder and makes
// Japanese the default locale. Without the translation file Qt's words stay
// English and nothing else changes. Returns whether the file was loaded.
bool install(QCoreApplication &app);

} // namespace Japanese
