#pragma once

#include "alliance/walk/commandcontext.h"
#include "site/pagekeeper.h"
#include "site/pagemark.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class Document;

// A page that was read but lacked a mark the result depends on: kept, and
// one warning (注意) of intro and what the page lacked.
void tellMissedMark(CommandContext &context, const QString &intro, PageMark::Family family,
                    const QString &mark, const Document &page);

// One page of a walk: its address, and the name the user knows it by (a
// member's name, "3ページ") for the list of pages left out.
struct WalkPage
{
    QString address;
    QString name;
    PageMark::Family family = PageMark::Family::Profile;
};

// The walk every browser command makes over its pages, in order: the pacing
// pause, the page loaded, its snapshot, and the command's reader. A reader
// that finds the page without what it needs yet is given the page again
// after the pause, a bounded number of times; then the page is left out and
// the walk goes on. Progress "<label> i/n" is shown for every page. Failures
// of the browser and of the readers reach the caller.
class PageWalk
{
public:
    // A page that keeps coming without what the reader needs is loaded this
    // many times before it is left out.
    static constexpr int kAttemptsPerPage = 5;

    // Reads the loaded page of pages[index]: read, or the mark it lacks.
    using Reader = std::function<PageMark::Read(const Document &page, qsizetype index)>;

    // While it lives, a page that keeps the walk waiting shows in the
    // progress how long the tool has been waiting for it.
    // pacer: the pause before each page; the context's when none is given.
    PageWalk(CommandContext &context, QString progressLabel, Pacer *pacer = nullptr);
    ~PageWalk();
    PageWalk(const PageWalk &) = delete;
    PageWalk &operator=(const PageWalk &) = delete;

    void run(const QList<WalkPage> &pages, const Reader &read);
    // One page read on its own, not as a step of a walk: loaded at once and,
    // while the reader finds it without what it needs, again after the pause,
    // as a walk's page is. progress gives the progress of each load (1-based).
    // False when it never read; missedMarks() then holds what it lacked.
    bool readAlone(const WalkPage &page, const Reader &read,
                   const std::function<QString(int load)> &progress);

    // The names of the pages left out by the last run, in walk order.
    const QStringList &leftOut() const { return m_leftOut; }
    // What those pages lacked, each family and mark once; the first such
    // page is kept.
    const QList<MissedMark> &missedMarks() const { return m_missed; }
    // Their explanations, each after an empty line; empty when none.
    QString explanations() const;
    // One warning (注意) naming every page left out and what they lacked;
    // nothing when none was.
    void tellLeftOut(const QString &intro) const;

    // Progress of the command ("名簿作成 3/30").
    void showProgress(const QString &text);

private:
    bool visit(const WalkPage &page, qsizetype index, const Reader &read);
    bool load(const WalkPage &page, qsizetype index, const Reader &read,
              const std::function<QString(int)> &progress);
    void noteMissed(const WalkPage &page, const QString &mark, const Document &last);

    CommandContext &m_context;
    Pacer &m_pacer;
    QString m_label;
    QString m_progress;
    QStringList m_leftOut;
    QList<MissedMark> m_missed;
};
