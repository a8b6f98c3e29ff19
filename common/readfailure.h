#pragma once

#include "common/failure.h"

// A page or text did not hold what a reader needs. Readers throw it and
// commands decide: most end quietly and leave their files as they were.
class ReadFailure : public Failure
{
public:
    using Failure::Failure;
    // A page that lacked a mark: the mark, as the user is told it.
    ReadFailure(const QString &message, const QString &missingMark)
        : Failure(message), m_missingMark(missingMark)
    {
    }
    const QString &missingMark() const { return m_missingMark; }

private:
    QString m_missingMark;
};
