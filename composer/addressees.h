#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The rules of the addressee field Text3 and of the lists the addressees are
// picked from. Pure text in, text out.
namespace Addressees {

// A letter goes to at most this many lords at a time.
constexpr int kMaxPerLetter = 3;

// The names Text3 holds, empty parts left out. A name in double quotes
// runs to the next quote, so a name holding "," stays one name, as in the
// roster file.
QStringList names(const QString &field);

// The names joined by "," for Text3; a name holding "," is written in
// double quotes, as the roster file writes its fields.
QString joined(const QStringList &names);

// Text3 after picking name, or nullopt when it already holds three names
// (the field then stays as it is and the user is told).
std::optional<QString> addPicked(const QString &field, const QString &name);

// What "画面挿入" writes to the page's TO and what stays in Text3 for the
// next letter, from the field with its blanks at both ends already removed.
// Up to two names go to TO as they stand and stay in the field.
struct Split
{
    QString to;
    QString rest;
    // What stays of a list being worked through: nothing once its last
    // names went to TO.
    QString restOfList;
};
Split splitForSending(const QString &field);

// The composer's caption: "　新規作成", and how many addressees are still
// waiting while the field holds more than one letter's worth.
QString caption(const QString &field);

// The names not in the roster, in their order. Compared without ASCII
// blanks: the roster drops them from names, the member list of the
// activity record keeps them.
QStringList notInRoster(const QStringList &names, const QStringList &rosterNames);

// The names of the hand-made extra list: trimmed lines, empty ones skipped.
QStringList extraNames(const QStringList &lines);

// The non-empty lines of a poured text, unchanged and in order.
QStringList pouredLines(const QString &source);

} // namespace Addressees
