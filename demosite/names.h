#pragma once

#include "demosite/rng.h"

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

// Hands out lord, alliance and place names. No name is contained in another
// (letter case ignored) nor in the fixed texts of the pages: a reader that
// finds a lord by his name in the page text then finds his own line.
class NameBook
{
public:
    NameBook();

    // Registers the name when it keeps the rule above.
    bool accept(const std::string &name);
    std::string lordName(Rng &rng);
    std::string allianceName(Rng &rng);
    std::string placeName(Rng &rng) const;

    // Odd names the tool has to survive, in the order they are handed out.
    static const std::vector<std::string> &oddLordNames();

private:
    QStringList m_taken; // case-folded
    QString m_fixedTexts;
    std::vector<std::string> m_families;
    std::vector<std::string> m_givens;
    std::vector<std::string> m_allianceStems;
    std::vector<std::string> m_allianceEndings;
    std::vector<std::string> m_places;
};
