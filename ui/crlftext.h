#pragma once

#include <QString>

// Text leaves a window with CR LF lines, as every data file and the Windows
// programs it is pasted into have them; a text box gives LF lines back.
inline QString withCrLf(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\n', QStringLiteral("\r\n"));
    return text;
}
