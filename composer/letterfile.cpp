#include "composer/letterfile.h"

#include "common/textsearch.h"

#include <algorithm>

namespace LetterFile {

namespace {

QString prefix(const QString &worldNumber)
{
    return QStringLiteral("書状") + worldNumber + u'_';
}

const QString kSuffix = QStringLiteral(".txt");
const QString kSubjectMark = QStringLiteral("TO:");

// Longest file name (in UTF-8 bytes) the common file systems hold.
constexpr qsizetype kMaxFileNameBytes = 255;

bool unfitForFileName(QChar c)
{
    // Separators and what Windows file names cannot hold; control
    // characters on either system.
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    return c.unicode() < 0x20 || c.unicode() == 0x7f || forbidden.contains(c);
}

} // namespace

QString fileName(const QString &worldNumber, const QString &letterName)
{
    return prefix(worldNumber) + letterName + kSuffix;
}

QString pattern(const QString &worldNumber)
{
    return prefix(worldNumber) + QStringLiteral("*") + kSuffix;
}

QStringList letterNames(const QString &worldNumber, const QStringList &fileNames)
{
    QStringList names;
    for (const QString &file : fileNames)
        names.append(TextSearch::removeAll(TextSearch::removeAll(file, prefix(worldNumber)), kSuffix));
    return names;
}

QString dropTrailingSpaces(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == u' ')
        --end;
    return text.left(end);
}

QString format(const QString &subject, const QString &body)
{
    return kSubjectMark + subject + QStringLiteral("\r\n") + dropTrailingSpaces(body);
}

Loaded parse(const QStringList &lines, const QString &currentSubject)
{
    Loaded letter{currentSubject, QString()};
    bool inBody = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = dropTrailingSpaces(lines.at(i));
        if (!inBody && line.size() >= kSubjectMark.size() && line.startsWith(kSubjectMark)) {
            letter.subject = line.mid(kSubjectMark.size());
            continue;
        }
        inBody = true;
        letter.body += line;
        if (i + 1 < lines.size())
            letter.body += QStringLiteral("\r\n");
    }
    return letter;
}

QString nameRefusal(const QString &letterName, const QString &worldNumber)
{
    const bool unfit = std::any_of(letterName.cbegin(), letterName.cend(), unfitForFileName);
    // ".." and a name ending in "." (Windows drops the dot and would write
    // another file than the one listed).
    if (unfit || letterName.contains(QStringLiteral("..")) || letterName.endsWith(u'.'))
        return QStringLiteral("件名にファイル名に使えない文字があります。\r\n"
                              "\\ / : * ? \" < > | や制御文字、「..」、終わりの「.」を除いてから"
                              "保存してください。");
    if (fileName(worldNumber, letterName).toUtf8().size() > kMaxFileNameBytes)
        return QStringLiteral("件名が長すぎて、ファイル名にできません。\r\n短くしてから保存してください。");
    return QString();
}

} // namespace LetterFile
