#pragma once

#include "alliance/walk/commandcontext.h"

#include <QString>
#include <QStringList>

// 「返信者リストアップ」: reads the inbox (at most ten pages) and lists in Text1
// every member who sent a letter, optionally only letters whose row holds
// the keyword, then every roster member who did not.
class ReplyCheckCommand
{
public:
    // The command as the user knows it: caption and messages. Its progress
    // counts the inbox pages (「返信者確認 1/3」).
    static inline const QString kLabel = QStringLiteral("返信者リストアップ");
    static inline const QString kProgressLabel = QStringLiteral("返信者確認");

    // keywordBox: the text of Text4 as the user left it.
    ReplyCheckCommand(CommandContext &context, QString keywordBox)
        : m_context(context), m_keywordBox(std::move(keywordBox))
    {
    }

    void run();

    // The members who did not reply, in roster order, once the inbox was
    // read; the tool window offers to write to them.
    const QStringList &addressees() const { return m_addressees; }

private:
    CommandContext &m_context;
    QString m_keywordBox;
    QStringList m_addressees;
};
