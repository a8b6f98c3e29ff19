#pragma once

#include <QString>
#include <QStringList>

// The line an output ends or is headed with when it had to leave members out,
// so that a list or report posted to the alliance says who is missing from it
// and the reader does not take a gap for a member without castle or figures.
namespace UnreadMembers {

// "※<what>: name、name"; empty when names is empty.
QString noteLine(const QString &what, const QStringList &names);

// "※プロフィールを読めなかった同盟員: …"
QString unreadProfilesLine(const QStringList &names);

// The roster's message on members whose home castle never showed: those
// that kept the previous roster's line, and those left out.
QString rosterMessage(const QStringList &carriedOver, const QStringList &leftOut);

} // namespace UnreadMembers
