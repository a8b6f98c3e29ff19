#include "alliance/console/exitcode.h"

QString exitCodeHelp()
{
    const struct
    {
        ExitCode code;
        const char16_t *meaning;
    } codes[] = {
        {ExitCode::Done, u"すべてのコマンドが完了した（--check-pages: すべてのページを読めた）"},
        {ExitCode::Stopped, u"中止したコマンドか保存できなかったファイルがある（理由は標準エラー出力か"
                            u"そのコマンドの行）、\n     読めないページがある"},
        {ExitCode::BadOptions, u"起動オプションが正しくない"},
        {ExitCode::LoginGone, u"ログインが切れている（何も書き換えていない）"},
        {ExitCode::ProfileInUse, u"別の ovekwarden がブラウザのプロファイルを使っている"},
        {ExitCode::CannotStart,
         u"データのフォルダに書き込めない（ディスクの空きがない、権限がない）ため始められなかった"},
    };
    QString text = QStringLiteral("--run か --check-pages で実行したときの終了コード:\n");
    for (const auto &c : codes)
        text += QStringLiteral("  %1  %2\n").arg(exitStatus(c.code)).arg(QString::fromUtf16(c.meaning));
    return text;
}
