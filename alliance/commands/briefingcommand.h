#pragma once

#include "alliance/walk/commandcontext.h"

#include <QString>

class Clock;

// 「同盟の状況」: who of the own alliance needs attention, from the history of
// readings alone (no page is loaded), as the text for the officers in Text1.
class BriefingCommand
{
public:
    static inline const QString kLabel = QStringLiteral("同盟の状況");

    BriefingCommand(CommandContext &context, const Clock &clock) : m_context(context), m_clock(clock) {}

    void run();

private:
    CommandContext &m_context;
    const Clock &m_clock;
};
