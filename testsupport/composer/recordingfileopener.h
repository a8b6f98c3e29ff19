#pragma once

#include "composer/composercontext.h"

#include <QStringList>

// Opens nothing: writes down which files the composer asked the desktop to
// open, so tests never start another program.
class RecordingFileOpener : public FileOpener
{
public:
    void open(const QString &path) override { opened.append(path); }
    QStringList opened;
};
