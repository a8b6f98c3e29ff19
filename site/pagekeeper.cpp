#include "site/pagekeeper.h"

#include "common/clock.h"
#include "common/datafile.h"
#include "site/document.h"

#include <QDir>
#include <QFile>

MissedMark missedMark(PageKeeper *keeper, PageMark::Family family, const QString &mark, const Document &page)
{
    return {family, mark, PageMark::kindOf(page), keeper ? keeper->keep(family, page) : QString()};
}

QString DiagnosisFolder::keep(PageMark::Family family, const Document &page)
{
    QDir folder(m_appDir);
    if (!folder.mkpath(folderName()) || !folder.cd(folderName()))
        return QString();
    const QString stem =
        m_clock.now().toString(QStringLiteral("yyyyMMdd_HHmmss_")) + PageMark::familyKey(family);
    QString name = stem + QStringLiteral(".html");
    for (int n = 2; folder.exists(name); ++n)
        name = stem + QStringLiteral("_%1.html").arg(n);
    const QString path = folder.filePath(name);
    if (!DataFile::writeBytes(path, PageMark::keptText(page.address(), page.markup()).toUtf8()))
        return QString();

    // Named by time, so the name order is the age order.
    const QStringList kept = folder.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    for (qsizetype i = 0; i + kKeptFiles < kept.size(); ++i)
        QFile::remove(folder.filePath(kept.at(i)));
    return QDir::toNativeSeparators(path);
}
