#pragma once

#include <QString>
#include <stdexcept>

// A page or text did not hold what a reader needs. Readers throw it and
// commands decide: most end quietly and leave their files as they were.
class ReadFailure : public std::runtime_error
{
public:
    explicit ReadFailure(const QString &what) : std::runtime_error(what.toStdString()), m_what(what) {}
    QString message() const { return m_what; }

private:
    QString m_what;
};
