#include "common/datafile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cerrno>
#include <optional>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

// ICU's Windows variant: 0x8160 is U+FF5E and 0x5C/0x7E stay ASCII, as the
// files made on Windows have them.
constexpr const char *kCodePage = "windows-31j";

// Asks code page 932 whether text fits, as often as needed. Qt 6.4 keeps an
// ICU converter's error flag through resetState(), so a converter that met one
// character the code page lacks would call every later one unencodable too:
// one that has seen an error is replaced by a fresh one (cheap, ICU shares its
// tables), and the others are reused.
class CodePage
{
public:
    // The bytes of text, when every character of it comes back unchanged from
    // them; nothing when one does not.
    std::optional<QByteArray> bytesOf(QStringView text)
    {
        m_encoder.resetState(); // also drops a lone surrogate held back last time
        QByteArray bytes = m_encoder.encode(text);
        if (m_encoder.hasError()) {
            m_encoder = QStringEncoder(kCodePage);
            return std::nullopt;
        }
        m_decoder.resetState();
        const QString back = m_decoder.decode(bytes);
        if (m_decoder.hasError()) {
            m_decoder = QStringDecoder(kCodePage);
            return std::nullopt;
        }
        // A silent substitute or a held-back lone surrogate does not come back.
        if (bytes.isEmpty() || back != text)
            return std::nullopt;
        return bytes;
    }

private:
    QStringEncoder m_encoder{kCodePage};
    QStringDecoder m_decoder{kCodePage};
};

QByteArray reference(char32_t ucs)
{
    return "&#" + QByteArray::number(quint32(ucs)) + ';';
}

// The reason a data file could not be read or saved, in the user's words
// first and the system's after. savedErrno is errno right after the failing
// call (0 when unknown); cutShort says the failure came while the bytes went
// out (a short write or a failing flush).
enum class Access { Read, Save };

QString failureReason(Access access, const QString &path, const QFileDevice &file, int savedErrno,
                      bool cutShort = false)
{
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    const bool denied = file.error() == QFileDevice::PermissionsError || savedErrno == EACCES ||
                        savedErrno == EPERM || savedErrno == EROFS;
    bool noSpace = savedErrno == ENOSPC || savedErrno == EFBIG;
#ifdef EDQUOT
    noSpace = noSpace || savedErrno == EDQUOT;
#endif
    QString reason;
    if (access == Access::Read) {
        if (denied)
            reason = QStringLiteral("読み込みが許可されていません。");
        else if (!target.exists())
            reason = QStringLiteral("ファイルがありません。");
        else if (!target.isReadable())
            reason = QStringLiteral("読み込みが許可されていません。");
        else
            reason = QStringLiteral("読み込みに失敗しました。");
    } else if (noSpace) {
        reason = QStringLiteral("ディスクの空きが足りません。");
    } else if (!folder.isDir()) {
        reason = QStringLiteral("保存先のフォルダがありません。");
    } else if (denied || (target.exists() && !target.isWritable()) || !folder.isWritable()) {
        reason = QStringLiteral("書き込みが許可されていません。");
    } else if (cutShort) {
        reason = QStringLiteral("ディスクの空きが足りません。");
    } else {
        reason = QStringLiteral("書き込みに失敗しました。");
    }
    // A write the buffer held back fails in a flush that leaves Qt without
    // words of its own ("Unknown error"); errno still has them.
    const QString system = cutShort && savedErrno != 0 ? qt_error_string(savedErrno) : file.errorString();
    if (!system.isEmpty())
        reason += QStringLiteral("（%1）").arg(system);
    return reason;
}

} // namespace

namespace DataFile {

QByteArray encode(const QString &text)
{
    CodePage codePage;
    QByteArray out;
    out.reserve(text.size() * 2);
    qsizetype i = 0;
    while (i < text.size()) {
        if (text.at(i).unicode() < 0x80) {
            out.append(char(text.at(i).unicode()));
            ++i;
            continue;
        }
        // A run of non-ASCII characters (a name, mostly) is asked in one go;
        // only a run with a character the code page lacks is taken apart.
        qsizetype end = i;
        while (end < text.size() && text.at(end).unicode() >= 0x80)
            ++end;
        const QStringView run = QStringView(text).mid(i, end - i);
        if (const std::optional<QByteArray> bytes = codePage.bytesOf(run)) {
            out.append(*bytes);
            i = end;
            continue;
        }
        while (i < end) {
            const QChar c = text.at(i);
            const qsizetype width =
                (c.isHighSurrogate() && i + 1 < end && text.at(i + 1).isLowSurrogate()) ? 2 : 1;
            const QStringView codePoint = QStringView(text).mid(i, width);
            if (const std::optional<QByteArray> bytes = codePage.bytesOf(codePoint))
                out.append(*bytes);
            else
                out.append(reference(width == 2 ? QChar::surrogateToUcs4(c, text.at(i + 1)) : c.unicode()));
            i += width;
        }
    }
    return out;
}

QString decode(const QByteArray &bytes)
{
    QStringDecoder decoder(kCodePage);
    QString text = decoder.decode(bytes);
    if (!text.contains(QStringLiteral("&#")))
        return text;
    // Only references to characters the code page cannot hold are ours; a
    // literal "&#30000;" someone typed stays as it is.
    static const QRegularExpression referencePattern(QStringLiteral("&#([0-9]{1,7});"));
    CodePage codePage;
    QString out;
    out.reserve(text.size());
    qsizetype last = 0;
    auto it = referencePattern.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        const uint ucs = match.captured(1).toUInt();
        if (ucs < 0x80 || ucs > 0x10FFFF || QChar::isSurrogate(ucs))
            continue;
        const QString character = QString::fromUcs4(reinterpret_cast<const char32_t *>(&ucs), 1);
        if (codePage.bytesOf(character))
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
    auto failed = [&](int savedErrno) {
        result.ok = false;
        result.error =
            QStringLiteral("ファイル %1 を読めません: %2")
                .arg(QDir::toNativeSeparators(path), failureReason(Access::Read, path, file, savedErrno));
        return result;
    };
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        return failed(errno);
    errno = 0;
    const QByteArray bytes = file.readAll();
    // A read that fails after the open (an I/O error) must not pass for an
    // empty file: a caller would take it for a first run and start afresh.
    if (file.error() != QFileDevice::NoError)
        return failed(errno);
    const QString text = decode(bytes);
    if (text.isEmpty())
        return result;
    result.value = text.split(u'\n');
    if (result.value.last().isEmpty())
        result.value.removeLast(); // the line end of the last line starts no new line
    for (QString &line : result.value) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return result;
}

Result writeBytes(const QString &path, const QByteArray &bytes)
{
#ifdef Q_OS_UNIX
    // QSaveFile copies the old file's permissions as Qt sees them, and Qt sees
    // what the running user may do: as root a 0444 file came back 0644. The
    // mode is taken from the file itself instead and set on the new one
    // before it takes the old one's place.
    std::optional<mode_t> previousMode;
    struct stat previous;
    if (::stat(QFile::encodeName(path).constData(), &previous) == 0 && S_ISREG(previous.st_mode))
        previousMode = previous.st_mode & 0777;
#endif
    QSaveFile file(path);
    auto failure = [&](int savedErrno, bool cutShort) {
        const QString reason = failureReason(Access::Save, path, file, savedErrno, cutShort);
        file.cancelWriting();
        return Result{
            false,
            QStringLiteral("ファイル %1 を保存できません: %2").arg(QDir::toNativeSeparators(path), reason)};
    };
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return failure(errno, false);
    errno = 0;
    if (file.write(bytes) != bytes.size())
        return failure(errno, true);
    // commit() does not notice a failing last flush (a full disk takes the
    // tail of the text): flush here and give up while the old file is intact.
    errno = 0;
    if (!file.flush() || file.error() != QFileDevice::NoError)
        return failure(errno, true);
#ifdef Q_OS_UNIX
    // A file system without modes (a FAT stick) refuses this; the text still
    // counts more than the mode, so the save goes on.
    if (previousMode)
        (void)::fchmod(file.handle(), *previousMode);
#endif
    errno = 0;
    if (!file.commit())
        return failure(errno, false);
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
