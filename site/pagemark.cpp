#include "site/pagemark.h"

#include "common/textsearch.h"
#include "site/document.h"
#include "site/gamepage.h"

#include <QRegularExpression>

namespace PageMark {

namespace {

struct FamilyWords
{
    const char16_t *name;
    const char16_t *key;
};

// In the order of the enum.
constexpr FamilyWords kFamilies[] = {
    {u"プロフィール", u"profile"}, {u"同盟情報", u"alliance"}, {u"合戦格付", u"ranking"},
    {u"受信箱", u"inbox"},         {u"書状作成", u"letter"},
};

const FamilyWords &wordsOf(Family family)
{
    return kFamilies[static_cast<int>(family)];
}

} // namespace

QString familyName(Family family)
{
    return QString::fromUtf16(wordsOf(family).name);
}

QString familyKey(Family family)
{
    return QString::fromUtf16(wordsOf(family).key);
}

Kind kindOf(const Document &page)
{
    const QString text = page.bodyText();
    if (GamePage::hasMenuLine(text))
        return Kind::Game;
    if (TextSearch::containsExact(text, QStringLiteral("メンテナンス")))
        return Kind::Maintenance;
    if (TextSearch::containsExact(text, QStringLiteral("ログイン")) ||
        TextSearch::containsExact(text, QStringLiteral("セッション")))
        return Kind::Login;
    return Kind::Other;
}

QString explanation(Family family, const QString &mark, Kind kind, const QString &keptFile)
{
    QString text =
        QStringLiteral("「%1」のページに %2 が見つかりませんでした。\r\n").arg(familyName(family), mark);
    switch (kind) {
    case Kind::Game:
        text += QStringLiteral(
            "ゲームのページは表示されていたので、ゲームのページの作りが変わったのかもしれません。");
        break;
    case Kind::Maintenance:
        text += QStringLiteral("ゲームのページではなく、メンテナンスのお知らせのようなページでした。"
                               "時間をおいて、もう一度実行してください。");
        break;
    case Kind::Login:
        text += QStringLiteral("ゲームのページではなく、ログインのページのようでした。"
                               "ブラウザでログインし直してから、もう一度実行してください。");
        break;
    case Kind::Other:
        text += QStringLiteral("ゲームのページではなく、エラーのページか、読み込みの途中のページでした。"
                               "時間をおいて、もう一度実行してください。");
        break;
    }
    if (!keptFile.isEmpty())
        text += QStringLiteral("\r\nこのページを %1 に保存しました。不具合の報告に添えてください。")
                    .arg(keptFile);
    return text;
}

QString keptText(const QString &address, const QString &markup)
{
    // The markup is the program's own serialization: tag names upper case,
    // attribute values bare or in double quotes, so one pattern finds every
    // input tag and its value.
    static const QRegularExpression input(QStringLiteral("<INPUT\\b[^>]*>"));
    static const QRegularExpression secretType(QStringLiteral("\\stype=\"?(password|hidden)\"?(?=[\\s>])"),
                                               QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression value(QStringLiteral("\\s(value|data-value)=(\"[^\"]*\"|[^\\s>]*)"),
                                          QRegularExpression::CaseInsensitiveOption);
    QString kept;
    qsizetype from = 0;
    for (auto it = input.globalMatch(markup); it.hasNext();) {
        const QRegularExpressionMatch tag = it.next();
        kept += markup.mid(from, tag.capturedStart() - from);
        QString written = tag.captured();
        if (secretType.match(written).hasMatch())
            written.replace(value, QString());
        kept += written;
        from = tag.capturedEnd();
    }
    kept += markup.mid(from);
    return QStringLiteral("<!-- %1 -->\n")
               .arg(QString(address).replace(QStringLiteral("--"), QStringLiteral("%2D%2D"))) +
           kept;
}

} // namespace PageMark
