#include "alliance/console/runoutcome.h"

#include "alliance/console/exitcode.h"

namespace {

// A notification shows a few lines; the rest is in 「記録の履歴」.
constexpr qsizetype kNamesShown = 3;

QString whatToDo(const RunRecord &record)
{
    switch (static_cast<ExitCode>(record.exitCode)) {
    case ExitCode::LoginGone:
        return QStringLiteral("ovekwarden を起動してログインしてください");
    case ExitCode::ProfileInUse:
        return QStringLiteral("ovekwarden のウィンドウを閉じておくと、次の記録は行われます");
    case ExitCode::Stopped: {
        QStringList lines = record.results.filter(QStringLiteral(": stopped"));
        lines += record.results.filter(QStringLiteral("を保存できません"));
        if (!record.warnings.isEmpty())
            lines << record.warnings.first();
        lines << QStringLiteral("「記録の履歴」に詳しく残っています");
        return lines.join(u'\n');
    }
    default:
        return record.warnings.isEmpty() ? QString() : record.warnings.first();
    }
}

} // namespace

namespace RunOutcome {

QString words(int exitCode)
{
    switch (static_cast<ExitCode>(exitCode)) {
    case ExitCode::Done:
        return QStringLiteral("完了");
    case ExitCode::Stopped:
        return QStringLiteral("一部のコマンドが止まりました");
    case ExitCode::BadOptions:
        return QStringLiteral("オプションか設定ファイルに誤りがありました");
    case ExitCode::LoginGone:
        return QStringLiteral("ログインが切れていました");
    case ExitCode::ProfileInUse:
        return QStringLiteral("ほかの ovekwarden がこのワールドを使っていました");
    case ExitCode::CannotStart:
        return QStringLiteral("データフォルダに書き込めませんでした");
    }
    return QStringLiteral("終了コード %1").arg(exitCode);
}

QString lastRunLine(const RunRecord &record)
{
    QString line = QStringLiteral("前回の自動記録: %1 %2")
                       .arg(record.startedAt.toLocalTime().toString(QStringLiteral("MM/dd HH:mm")),
                            words(record.exitCode));
    if (record.exitCode == exitStatus(ExitCode::Done) && record.memberCount >= 0)
        line += QStringLiteral("（%1名）").arg(record.memberCount);
    return line;
}

QString names(const QStringList &names)
{
    QString shown = names.mid(0, kNamesShown).join(u'、');
    if (names.size() > kNamesShown)
        shown += QStringLiteral(" ほか%1名").arg(names.size() - kNamesShown);
    return shown;
}

std::optional<Notice> notice(const QString &worldKey, const RunRecord &record, const RunNews::News &news)
{
    const bool failed = record.exitCode != exitStatus(ExitCode::Done);
    if (!failed && news.isEmpty())
        return std::nullopt;
    QStringList lines;
    if (failed) {
        if (const QString todo = whatToDo(record); !todo.isEmpty())
            lines << todo;
    }
    if (!news.joined.isEmpty())
        lines << QStringLiteral("加入: ") + names(news.joined);
    if (!news.left.isEmpty())
        lines << QStringLiteral("脱退: ") + names(news.left);
    if (!news.newlyIdle.isEmpty())
        lines << QStringLiteral("%1日以上動きのない人: ").arg(news.idleDays) + names(news.newlyIdle);
    const QString what = failed ? words(record.exitCode) : QStringLiteral("同盟に変化があります");
    return Notice{QStringLiteral("ovekwarden %1: %2").arg(worldKey, what), lines.join(u'\n')};
}

} // namespace RunOutcome
