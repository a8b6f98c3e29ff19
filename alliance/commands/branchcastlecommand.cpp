#include "alliance/commands/branchcastlecommand.h"

#include "alliance/rules/branchcastle.h"
#include "alliance/rules/memberoutputs.h"
#include "alliance/walk/historyrecorder.h"
#include "alliance/walk/memberwalk.h"
#include "alliance/walk/toolport.h"
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
    QList<ProfileCastle> reads(members.size());
    walk.visitProfiles(members, [&](const Document &profile, qsizetype i) {
        reads[i] = readBranchCastle(profile);
        return PageMark::Read::of(reads.at(i).kind != ProfileCastle::Kind::NotLoaded, kFiefSectionMark);
    });
    const MemberOutputs::CastleList list =
        MemberOutputs::castles(members, reads, clock.dateTimeText() + QStringLiteral(" 作成"));
    context.port.setOutputText(list.text);

    HistoryRecording::recordRun(
        context, kBranchCastlesLabel,
        HistoryRecording::tableSnapshot(History::Kinds::castles.key, allianceId, members));

    const QStringList &unreadable = list.unreadable;
    if (list.leftOut.isEmpty() && unreadable.isEmpty())
        return members.size();
    QString text = QStringLiteral("次の同盟員は出城を読み取れなかったため、リストに入っていません。\r\n");
    if (!list.leftOut.isEmpty())
        text += QStringLiteral("\r\nプロフィールの領地情報が表示されませんでした：\r\n") +
                list.leftOut.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    if (!unreadable.isEmpty())
        text += QStringLiteral("\r\n出城の名前か座標を読めませんでした：\r\n") +
                unreadable.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    text += QStringLiteral("\r\n時間をおいて、もう一度「出城リスト作成」を実行してください。") +
            walk.explanations();
    context.port.warn(text);
    return members.size();
}
