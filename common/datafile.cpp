#include "common/datafile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

// ICU's Windows variant: 0x8160 is U+FF5E and 0x5C/0x7E stay ASCII, as the
// files made on Windows have them.
constexpr const char *kCodePage = "windows-31j";

QByteArray encodeOne(QStringEncoder &encoder, QStringView codePoint)
{
    encoder.resetState();
    return encoder.encode(codePoint);
}

QString decodeBytes(const QByteArray &bytes)
{
    QStringDecoder decoder(kCodePage);
    return decoder.decode(bytes);
}

// A code point survives the code page when it comes back unchanged.
bool fitsCodePage(QStringEncoder &encoder, QStringView codePoint, QByteArray *bytes)
{
    *bytes = encodeOne(encoder, codePoint);
    if (encoder.hasError() || bytes->isEmpty())
        return false;
    return decodeBytes(*bytes) == codePoint;
}

} // namespace

namespace DataFile {

QByteArray encode(const QString &text)
{
    QStringEncoder encoder(kCodePage);
    QByteArray out;
    out.reserve(text.size() * 2);
    qsizetype runStart = 0; // plain ASCII is copied in runs, the rest checked one by one
    auto flushAscii = [&](qsizetype end) {
        for (qsizetype k = runStart; k < end; ++k)
            out.append(char(text.at(k).unicode()));
    };
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c.unicode() < 0x80) {
            ++i;
            continue;
        }
        flushAscii(i);
        const qsizetype width =
            (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ? 2 : 1;
        const QStringView codePoint(text.constData() + i, width);
        QByteArray bytes;
        if (fitsCodePage(encoder, codePoint, &bytes)) {
            out.append(bytes);
        } else {
            const char32_t ucs =
                width == 2 ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1)) : c.unicode();
            out.append("&#" + QByteArray::number(quint32(ucs)) + ';');
        }
        i += width;
        runStart = i;
    }
    flushAscii(text.size());
    return out;
}

QString decode(const QByteArray &bytes)
{
    QString text = decodeBytes(bytes);
    if (!text.contains(QStringLiteral("&#")))
        return text;
    // Only references to characters the code page cannot hold are ours; a
    // literal "&#65;" someone typed stays as it is.
    static const QRegularExpression reference(QStringLiteral("&#([0-9]{1,7});"));
    QStringEncoder encoder(kCodePage);
    QString out;
    out.reserve(text.size());
    qsizetype last = 0;
    auto it = reference.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        const uint ucs = match.captured(1).toUInt();
        if (ucs < 0x80 || ucs > 0x10FFFF || QChar::isSurrogate(ucs))
            continue;
        const QString character = QString::fromUcs4(reinterpret_cast<const char32_t *>(&ucs), 1);
        QByteArray ignored;
        if (fitsCodePage(encoder, character, &ignored))
            continue;
        out += QStringView(text).mid(last, match.capturedStart() - last);
        out += character;
        last = match.capturedEnd();
    }
    out += QStringView(text).mid(last);
    return out;
}

Lines readLines(const QString &path)
{
    Lines result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.ok = false;
        result.error = QStringLiteral("ファイル %1 を読めません: %2")
                           .arg(QDir::toNativeSeparators(path), file.errorString());
        return result;
    }
    const QString text = decode(file.readAll());
    if (text.isEmpty())
        return result;
    result.lines = text.split(u'\n');
    if (result.lines.last().isEmpty())
        result.lines.removeLast(); // the line end of the last line starts no new line
    for (QString &line : result.lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return result;
}

Result writeBytes(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    auto failure = [&](const QString &reason) {
        file.cancelWriting();
        return Result{
            false,
            QStringLiteral("ファイル %1 を保存できません: %2").arg(QDir::toNativeSeparators(path), reason)};
    };
    if (!file.open(QIODevice::WriteOnly))
        return failure(file.errorString());
    if (file.write(bytes) != bytes.size())
        return failure(file.errorString());
    // commit() does not notice a failing last flush (a full disk takes the
    // tail of the text): flush here and give up while the old file is intact.
    if (!file.flush() || file.error() != QFileDevice::NoError)
        return failure(file.errorString());
    if (!file.commit())
        return Result{false, QStringLiteral("ファイル %1 を保存できません: %2")
                                 .arg(QDir::toNativeSeparators(path), file.errorString())};
    return {};
}

Result writeText(const QString &path, const QString &text)
{
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalized.replace(u'\n', QStringLiteral("\r\n"));
    normalized += QStringLiteral("\r\n");
    return writeBytes(path, encode(normalized));
}

Result writeLines(const QString &path, const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + QStringLiteral("\r\n");
    return writeBytes(path, encode(text));
}

bool exists(const QString &path)
{
    return QFileInfo(path).isFile();
}

QStringList listMatching(const QString &dir, const QString &pattern)
{
    return QDir(dir).entryList({pattern}, QDir::Files, QDir::Name);
}

} // namespace DataFile
