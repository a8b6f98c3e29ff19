#pragma once

#include "alliance/walk/toolport.h"

#include <QStringList>

// A tool window port that only writes down what a command did to it.
class RecordingToolPort : public ToolPort
{
public:
    QString outputText() const override { return text; }
    void setOutputText(const QString &t) override { text = t; }
    void showMessage(const QString &t, const QString &title, Icon) override
    {
        messages.append(title + u'|' + t);
    }
    void beginHourglass() override { ++hourglassDepth; }
    void endHourglass() override { --hourglassDepth; }
    void showProgress(const QString &t) override
    {
        if (!t.isEmpty())
            progress.append(t);
    }
    void setClipboardText(const QString &t) override { clipboard = t; }
    void setListItems(const QStringList &items) override { listItems = items; }

    QString text = QStringLiteral("前の出力");
    QStringList messages;
    QStringList progress;
    QString clipboard;
    QStringList listItems;
    int hourglassDepth = 0;
};
