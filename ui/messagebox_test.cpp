#include "testsupport/x11/testapplication.h"
#include "ui/crlftext.h"
#include "ui/messagebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(MessageBox, ATestsAnswerIsGivenWithoutABoxAndAPersonsButtonCounts)
{
    ensureTestApplication();
    MessageBox::setNextAnswer(false);
    EXPECT_FALSE(MessageBox::show(nullptr, QStringLiteral("注意"), QStringLiteral("上書きしますか"),
                                  MessageBox::Icon::None, MessageBox::Buttons::YesNo));
    MessageBox::setNextAnswer(true);
    EXPECT_TRUE(
        MessageBox::show(nullptr, QStringLiteral("注意"), QStringLiteral("x"), MessageBox::Icon::Warning));
    MessageBox::setNextAnswer(std::nullopt);

    // Shown: the box has the title, text and buttons asked for, stays on
    // top, and "No" answers false.
    QString title;
    QString text;
    bool onTop = false;
    QTimer::singleShot(0, [&] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible()) {
                title = box->windowTitle();
                text = box->text();
                onTop = box->windowFlags() & Qt::WindowStaysOnTopHint;
                box->button(QMessageBox::No)->click();
            }
        }
    });
    EXPECT_FALSE(MessageBox::show(nullptr, QStringLiteral("注意"),
                                  QStringLiteral("同名のファイル名があります。"), MessageBox::Icon::None,
                                  MessageBox::Buttons::YesNo));
    EXPECT_EQ(title, QStringLiteral("注意"));
    EXPECT_EQ(text, QStringLiteral("同名のファイル名があります。"));
    EXPECT_TRUE(onTop);
}

TEST(CrLfText, EveryLineEndBecomesCrLfOnce)
{
    EXPECT_EQ(withCrLf(QStringLiteral("a\nb\r\nc\n")), QStringLiteral("a\r\nb\r\nc\r\n"));
    EXPECT_EQ(withCrLf(QString()), QString());
}

} // namespace
