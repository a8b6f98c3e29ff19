#pragma once

#include <QString>
#include <stdexcept>

// A failure whose text is meant for the user, in the program's words.
class Failure : public std::runtime_error
{
public:
    explicit Failure(const QString &message) : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    QString message() const { return m_message; }

private:
    QString m_message;
};
