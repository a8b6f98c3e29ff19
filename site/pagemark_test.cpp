#include "site/document.h"
#include "site/pagemark.h"
#include "testsupport/common/qtprinters.h"

#include <gtest/gtest.h>

using namespace PageMark;

TEST(PageMarkTest, AKeptPageHoldsNoPasswordNorHiddenValue)
{
    const Document page =
        Document::fromHtml(QStringLiteral("http://w3.test/user/?id=1&x=2"),
                           QStringLiteral("<html><body><form><input type=password value=x>"
                                          "<input type=\"hidden\" name=token value='y' data-value=\"y\">"
                                          "<input value=\"z\" type=HIDDEN id=SEND>"
                                          "<input type=text name=q value=\"見える\"></form>"
                                          "<p>value=x type=hidden</p></body></html>"));
    const QString kept = keptText(page.address(), page.markup());
    EXPECT_TRUE(kept.startsWith(QStringLiteral("<!-- http://w3.test/user/?id=1&x=2 -->\n")))
        << kept.toStdString();
    EXPECT_FALSE(kept.contains(QStringLiteral("value=x>"))) << kept.toStdString();
    EXPECT_FALSE(kept.contains(QStringLiteral("=y"))) << kept.toStdString();
    EXPECT_FALSE(kept.contains(QStringLiteral("value=z"))) << kept.toStdString();
    EXPECT_TRUE(kept.contains(QStringLiteral("<INPUT type=password>")));
    EXPECT_TRUE(kept.contains(QStringLiteral("<INPUT type=hidden name=token>")));
    // What is no secret stays as it was: a text field's value, the text.
    EXPECT_TRUE(kept.contains(QStringLiteral("<INPUT type=text name=q value=見える>")));
    EXPECT_TRUE(kept.contains(QStringLiteral("<P>value=x type=hidden</P>")));
    // An address cannot end the comment it stands in.
    EXPECT_TRUE(keptText(QStringLiteral("http://a/--><b>"), QString())
                    .startsWith(QStringLiteral("<!-- http://a/%2D%2D><b> -->")));
}

TEST(PageMarkTest, APageWithoutTheMarkIsToldAsAGamePageOrAsWhatItLooksLike)
{
    struct Case
    {
        QString body;
        Kind kind;
        QString advice;
    };
    const Case cases[] = {
        {QStringLiteral("<div>ログアウト ヘルプ 発言の注意</div><p>城主情報</p>"), Kind::Game,
         QStringLiteral("ゲームのページの作りが変わったのかもしれません。")},
        {QStringLiteral("<p>ただいまメンテナンス中です</p>"), Kind::Maintenance,
         QStringLiteral("メンテナンスのお知らせのようなページでした。")},
        {QStringLiteral("<p>セッションが切れました。ログインしてください。</p>"), Kind::Login,
         QStringLiteral("ログインのページのようでした。")},
        // The session-out page need not say ログイン at all.
        {QStringLiteral("<p>セッションが切れました</p>"), Kind::Login,
         QStringLiteral("ログインのページのようでした。")},
        {QStringLiteral("<h1>502 Bad Gateway</h1>"), Kind::Other,
         QStringLiteral("エラーのページか、読み込みの途中")},
        {QString(), Kind::Other, QStringLiteral("エラーのページか、読み込みの途中")},
    };
    for (const Case &c : cases) {
        const Kind kind = kindOf(
            Document::fromHtml(QStringLiteral("http://w3.test/"),
                               QStringLiteral("<html><body>") + c.body + QStringLiteral("</body></html>")));
        EXPECT_EQ(kind, c.kind) << c.body.toStdString();
        const QString text =
            explanation(Family::Ranking, QStringLiteral("表の始まり「alt=攻撃国」"), kind, QString());
        EXPECT_TRUE(text.startsWith(
            QStringLiteral("「合戦格付」のページに 表の始まり「alt=攻撃国」 が見つかりませんでした。\r\n")));
        EXPECT_TRUE(text.contains(c.advice)) << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("保存しました")));
    }
    EXPECT_TRUE(explanation(Family::Inbox, QStringLiteral("印"), Kind::Game, QStringLiteral("/x/診断/a.html"))
                    .endsWith(QStringLiteral(
                        "\r\nこのページを /x/診断/a.html に保存しました。不具合の報告に添えてください。")));
    const std::pair<Family, QString> names[] = {{Family::Profile, QStringLiteral("プロフィール")},
                                                {Family::Alliance, QStringLiteral("同盟情報")},
                                                {Family::Ranking, QStringLiteral("合戦格付")},
                                                {Family::Inbox, QStringLiteral("受信箱")},
                                                {Family::NewLetter, QStringLiteral("書状作成")}};
    for (const auto &[family, name] : names)
        EXPECT_EQ(familyName(family), name);
}
