#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <ostream>

// Readable GoogleTest failure messages for Qt text: found by argument-
// dependent lookup when a test includes this header.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList &texts, std::ostream *out)
{
    *out << '{';
    for (qsizetype i = 0; i < texts.size(); ++i)
        *out << (i ? ", \"" : "\"") << texts.at(i).toStdString() << '"';
    *out << '}';
}
