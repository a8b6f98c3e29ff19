#pragma once

#include "site/pagekeeper.h"
#include "site/document.h"

#include <QStringList>

// Keeps nothing: writes down which pages it was handed, and answers with a
// made-up file name.
class RecordingPageKeeper : public PageKeeper
{
public:
    QString keep(PageMark::Family family, const Document &page) override
    {
        kept.append(PageMark::familyKey(family) + u'|' + page.address());
        return QStringLiteral("診断/%1.html").arg(kept.size());
    }
    QStringList kept;
};
