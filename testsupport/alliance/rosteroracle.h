#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>

// The roster a demosite world implies, computed from its dump apart from
// the tool's own readers and file helper, for end-to-end tests.
namespace RosterOracle {

// The lords of an alliance of the dump (given by its id, or as the dump's
// alliance object) in member-table order.
QList<QJsonObject> members(const QJsonObject &dump, const QString &allianceId);
QList<QJsonObject> members(const QJsonObject &dump, const QJsonObject &alliance);

// A lord's name as the member table shows it: no ASCII blank, no double quote.
QString tableName(const QJsonObject &lord);

// Every member of the alliance in table order: the name as the member table
// shows it, the home castle's x and y; each line ended by CR LF.
QString rosterText(const QJsonObject &dump, const QString &allianceId, int *count = nullptr);

// The file's bytes: a fresh encoder for every character, so no state of one
// character can reach the next; a character that does not come back
// unchanged is written as its decimal reference.
QByteArray codePage932Bytes(const QString &text);

} // namespace RosterOracle
