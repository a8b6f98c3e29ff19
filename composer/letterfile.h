#pragma once

#include <QString>
#include <QStringList>

// Saved letters: one file a letter in AppDir, "書状<world>_<name>.txt", code
// page 932 with CR LF. The first line "TO:" + the subject box as it stood,
// then the body. (The "TO:" line holds the subject, not the addressees.)
namespace LetterFile {

// "書状3_X.txt" for world "3" and the letter name "X": the bare name in AppDir.
QString fileName(const QString &worldNumber, const QString &letterName);
// The directory wildcard of the saved letters of one world.
QString pattern(const QString &worldNumber);
// The letter names of the listed files, in listing order: every "書状<world>_"
// and every ".txt" taken out of each name.
QStringList letterNames(const QString &worldNumber, const QStringList &fileNames);

// The file's text, without the CR LF the file writer adds at its end: the
// subject line, then the body with the blanks at its very end dropped.
QString format(const QString &subject, const QString &body);

struct Loaded
{
    QString subject; // the last "TO:" line before the body, or the subject as it was
    QString body;    // lines joined by CR LF, each without blanks at its end
};
// The letter read back from its lines. Without a "TO:" line every line is
// body and the subject stays currentSubject.
Loaded parse(const QStringList &lines, const QString &currentSubject);

// Why a trimmed subject cannot name a letter file, in the user's words;
// empty when it can. A name is refused rather than changed, so the file is
// always called what the user typed and never lands outside AppDir.
QString nameRefusal(const QString &letterName, const QString &worldNumber);

// U+0020 at the end removed, and nothing else.
QString dropTrailingSpaces(const QString &text);

} // namespace LetterFile
