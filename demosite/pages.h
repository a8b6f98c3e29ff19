#pragma once

#include "demosite/world.h"

#include <string>

// The pages of both origins, rendered from the world. Pure functions: the
// same world gives the same bytes. A page told to "miss" its marker stands
// for a page the game served incompletely; the tool has to load it again.
namespace pages {

// World server.
std::string userPage(const World &world, bool withSideBox);
std::string profilePage(const World &world, int userId, bool complete);
std::string alliancePage(const World &world, int allianceId, bool withMemberTable);
std::string rankingPage(const World &world, RankingCategory category, int page, bool withTable);
std::string inboxPage(const World &world, int page, bool withTable);
std::string letterPage(const World &world, int letterId);
struct LetterForm
{
    std::string subject;
    std::string to;
    std::string body;
};
std::string newLetterPage(const World &world, const LetterForm &form, const std::string &error);
std::string letterSentPage(const World &world, const SentLetter &letter);
std::string landPage(const World &world, int x, int y, bool asMap);
std::string helpPage(const World &world, bool rules);
std::string sessionOutPage(const std::string &topUrl);
std::string notFoundPage();

// The page of a world path with its making changed the way a game update
// might change it: a mark the tool looks for renamed or gone. Paths of no
// such change come back as they are.
std::string withChangedMarkup(const std::string &path, std::string html);

// Public top site.
std::string topIndexPage(bool loggedIn, const std::string &loginName);
std::string loginFormPage(const std::string &error);
// Worlds 1 to 5 (and the served one when it is higher); only the served
// one leads into the world.
std::string worldSelectPage(const std::string &worldEntryUrl, int worldNumber);
std::string worldClosedPage(int worldNumber);

// Small labelled pictures used as table headings; empty for an unknown name.
std::string headingImage(const std::string &name);

} // namespace pages
