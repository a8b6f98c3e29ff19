#include "alliance/branchcastlecommand.h"

#include "alliance/branchcastle.h"
#include "alliance/historyrecorder.h"
#include "alliance/memberwalk.h"
#include "alliance/toolport.h"
#include "alliance/unreadmembers.h"
#include "common/clock.h"
#include "site/session.h"

#include <optional>

using namespace BranchCastles;

qsizetype ListBranchCastles(CommandContext &context, const Clock &clock)
{
    const QString &allianceId = context.session.cleanAllianceId();
    context.port.setOutputText(QString());

    // A profile that keeps coming without its fief section is loaded a
    // bounded number of times (the walk's own bound), then named below,
    // instead of holding the command forever.
    MemberWalk walk(context, kBranchCastlesLabel);
    const QList<Member> members = walk.readMembers(allianceId);
    QList<std::optional<BranchCastle>> found(members.size());
    QStringList unreadable;
    walk.visitProfiles(members, [&](const Document &profile, qsizetype i) {
        const ProfileCastle read = readBranchCastle(profile);
        switch (read.kind) {
        case ProfileCastle::Kind::NotLoaded:
            return false;
        case ProfileCastle::Kind::None:
            break;
        case ProfileCastle::Kind::Unreadable:
            // A castle without readable coordinates cannot be put near a
            // fort: the member is left out and named.
            unreadable.append(members.at(i).name);
            break;
        case ProfileCastle::Kind::Castle:
            found[i] = BranchCastle{members.at(i).name, read.name, read.coordinateText, read.x, read.y};
            break;
        }
        return true;
    });

    // No fixed limit on the number of castles: an alliance of any size is listed whole.
    QList<BranchCastle> castles;
    for (const std::optional<BranchCastle> &castle : std::as_const(found)) {
        if (castle)
            castles.append(*castle);
    }
    // The list is what leaders post: it names whoever it leaves out itself,
    // not only the message box that is gone once closed.
    QStringList notes;
    if (!walk.leftOut().isEmpty())
        notes.append(UnreadMembers::unreadProfilesLine(walk.leftOut()));
    if (!unreadable.isEmpty())
        notes.append(UnreadMembers::noteLine(QStringLiteral("出城の座標を読めなかった同盟員"), unreadable));
    context.port.setOutputText(
        castleListText(castles, clock.dateTimeText() + QStringLiteral(" 作成"), notes));

    HistoryRecording::recordRun(
        context, kBranchCastlesLabel,
        HistoryRecording::tableSnapshot(History::castlesCommand(), allianceId, members));

    if (walk.leftOut().isEmpty() && unreadable.isEmpty())
        return members.size();
    QString text = QStringLiteral("次の同盟員は出城を読み取れなかったため、リストに入っていません。\r\n");
    if (!walk.leftOut().isEmpty())
        text += QStringLiteral("\r\nプロフィールの領地情報が表示されませんでした：\r\n") +
                walk.leftOut().join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    if (!unreadable.isEmpty())
        text += QStringLiteral("\r\n出城の名前か座標を読めませんでした：\r\n") +
                unreadable.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    text += QStringLiteral("\r\n時間をおいて、もう一度「出城リスト作成」を実行してください。");
    context.port.showMessage(text, QStringLiteral("注意"), ToolPort::Icon::Warning);
    return members.size();
}
