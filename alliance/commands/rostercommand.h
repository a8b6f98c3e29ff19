#pragma once

#include "alliance/walk/commandcontext.h"

#include <QStringList>
#include <optional>

struct Member;

// 「同盟名簿作成」: reads the own alliance's member table, visits every
// member's profile for the home castle's coordinates, shows the roster in
// Text1 and replaces the roster file. A failure on the way ends it with
// Text1 empty and the previous roster file as it was (the runner tells why).
class RosterCommand
{
public:
    // The command as the user knows it: caption, progress, messages, history.
    static inline const QString kLabel = QStringLiteral("名簿作成");

    explicit RosterCommand(CommandContext &context) : m_context(context) {}

    void run();

    // Members whose home castle never showed in the last run: those kept
    // from the previous roster, and those left out of the roster.
    const QStringList &carriedOver() const { return m_carriedOver; }
    const QStringList &leftOut() const { return m_leftOut; }
    // The members of the table the last run read; -1 when it read none.
    qsizetype memberCount() const { return m_memberCount; }
    // The roster file's name when the last run replaced it, else empty.
    const QString &savedFile() const { return m_savedFile; }
    // Why the file could not be replaced, in the file helper's words.
    const QString &saveFailure() const { return m_saveFailure; }

private:
    // explanations: what the pages that never showed lacked.
    void tellUnread(const QString &explanations) const;
    void recordHistory(const QString &allianceId, const QList<Member> &members,
                       const QList<std::optional<QString>> &coordinates) const;

    CommandContext &m_context;
    QStringList m_carriedOver;
    QStringList m_leftOut;
    qsizetype m_memberCount = -1;
    QString m_savedFile;
    QString m_saveFailure;
};
