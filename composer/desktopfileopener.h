#pragma once

#include "composer/composercontext.h"

// Opens a file with the desktop's associated program (the roster in a text
// editor or spreadsheet).
class DesktopFileOpener : public FileOpener
{
public:
    void open(const QString &path) override;
};
