#pragma once

#include <QString>

// What the composer remembers between its openings. The main program owns
// one for the whole run; the window only reads and writes it.
struct ComposerState
{
    QString rememberedSubject;
    QString rememberedBody;
    // One additional addressee a line, each line ended by CR LF; the next
    // opening takes them into Combo2 and forgets them.
    QString rememberedAddressees;
};
