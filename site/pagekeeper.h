#pragma once

#include "site/pagemark.h"

#include <QString>

class Clock;
class Document;

// Where a page that never showed what a reader looks for is kept, so the
// people who mend the readers see the page the user saw.
class PageKeeper
{
public:
    virtual ~PageKeeper() = default;
    // Saves the page; the file's path as the user is told it, or empty when
    // it could not be saved (the command goes on either way).
    virtual QString keep(PageMark::Family family, const Document &page) = 0;
};

// A mark a page never showed, and where that page was kept (empty when it
// was not).
struct MissedMark
{
    PageMark::Family family;
    QString mark;
    PageMark::Kind kind;
    QString keptFile;

    QString explanation() const { return PageMark::explanation(family, mark, kind, keptFile); }
};
// The page kept first, when there is a keeper.
MissedMark missedMark(PageKeeper *keeper, PageMark::Family family, const QString &mark, const Document &page);

// The folder 「診断」 in AppDir: one file a page, named by the time and the
// family ("20261207_221500_ranking.html"), the newest few kept.
class DiagnosisFolder : public PageKeeper
{
public:
    static QString folderName() { return QStringLiteral("診断"); }
    // The oldest files go beyond this many: a changed page met day after
    // day in an unattended run must not fill the disk.
    static constexpr int kKeptFiles = 20;

    DiagnosisFolder(QString appDir, const Clock &clock) : m_appDir(std::move(appDir)), m_clock(clock) {}

    QString keep(PageMark::Family family, const Document &page) override;

private:
    QString m_appDir;
    const Clock &m_clock;
};
