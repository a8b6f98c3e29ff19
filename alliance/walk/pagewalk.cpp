#include "alliance/walk/pagewalk.h"

#include "alliance/walk/pacer.h"
#include "alliance/walk/toolport.h"
#include "site/browserslot.h"
#include "site/document.h"
#include "site/navigator.h"

PageWalk::PageWalk(CommandContext &context, QString progressLabel, Pacer *pacer)
    : m_context(context), m_pacer(pacer ? *pacer : context.pacer), m_label(std::move(progressLabel)),
      m_progress(m_label)
{
    // A page that hangs would otherwise leave the same progress up for
    // minutes, as if the tool had stopped.
    m_context.navigator.setWaitObserver([this](qint64 waitedMs) {
        if (waitedMs == 0)
            m_context.port.showProgress(m_progress);
        else
            m_context.port.showWaiting(m_progress, waitedMs / 1000);
    });
}

PageWalk::~PageWalk()
{
    m_context.navigator.setWaitObserver({});
}

void PageWalk::showProgress(const QString &text)
{
    m_progress = text;
    m_context.port.showProgress(text);
}

void PageWalk::run(const QList<WalkPage> &pages, const Reader &read)
{
    m_leftOut.clear();
    m_missed.clear();
    for (qsizetype i = 0; i < pages.size(); ++i) {
        showProgress(QStringLiteral("%1 %2/%3").arg(m_label).arg(i + 1).arg(pages.size()));
        if (!visit(pages.at(i), i, read))
            m_leftOut.append(pages.at(i).name);
    }
}

bool PageWalk::readAlone(const WalkPage &page, const Reader &read,
                         const std::function<QString(int)> &progress)
{
    m_leftOut.clear();
    m_missed.clear();
    return load(page, 0, read, progress);
}

bool PageWalk::visit(const WalkPage &page, qsizetype index, const Reader &read)
{
    return load(page, index, read, {});
}

bool PageWalk::load(const WalkPage &page, qsizetype index, const Reader &read,
                    const std::function<QString(int)> &progress)
{
    for (int attempt = 0; attempt < kAttemptsPerPage; ++attempt) {
        if (progress)
            showProgress(progress(attempt + 1));
        // A page read on its own is loaded at once; the pause comes between
        // its loads, as between the pages of a walk.
        if (!progress || attempt > 0)
            m_pacer.pause();
        m_context.navigator.waitForPage(page.address);
        const Document loaded = m_context.browsers.current().document();
        const PageMark::Read result = read(loaded, index);
        if (result.ok())
            return true;
        if (attempt + 1 == kAttemptsPerPage)
            noteMissed(page, result.missing, loaded);
    }
    return false;
}

void PageWalk::noteMissed(const WalkPage &page, const QString &mark, const Document &last)
{
    for (const MissedMark &missed : std::as_const(m_missed)) {
        if (missed.family == page.family && missed.mark == mark)
            return;
    }
    // One page of each kind of miss is enough for a report, and a walk of
    // five hundred members over a changed page keeps the folder small.
    m_missed.append(missedMark(m_context.keeper, page.family, mark, last));
}

QString PageWalk::explanations() const
{
    QString text;
    for (const MissedMark &missed : m_missed)
        text += QStringLiteral("\r\n\r\n") + missed.explanation();
    return text;
}

void PageWalk::tellLeftOut(const QString &intro) const
{
    if (m_leftOut.isEmpty())
        return;
    m_context.port.warn(intro + QStringLiteral("\r\n\r\n") + m_leftOut.join(QStringLiteral("\r\n")) +
                        explanations());
}

void tellMissedMark(CommandContext &context, const QString &intro, PageMark::Family family,
                    const QString &mark, const Document &page)
{
    context.port.warn(intro + QStringLiteral("\r\n\r\n") +
                      missedMark(context.keeper, family, mark, page).explanation());
}
