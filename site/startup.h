#pragma once

#include "common/failure.h"

#include <QString>

class BrowserSlot;
class Navigator;
class Pump;
struct Session;

// Start-up could not finish; the text tells the user what to do.
class StartupFailure : public Failure
{
public:
    using Failure::Failure;
};

// A run without the tool window found no saved login in the browser's
// profile: nobody is there to log in, so nothing is walked or written.
class SavedLoginGone : public StartupFailure
{
public:
    SavedLoginGone()
        : StartupFailure(
              QStringLiteral("ログインが切れています。ovekwarden を起動してログインしてください。"))
    {
    }
};

// From the game's top page, through the login, into the configured world, to
// the player's own alliance: everything before the tool window opens.
class StartupSequence
{
public:
    // How the login is come by: typed by the user in the browser window, or
    // only the one saved in the profile (a run nobody watches).
    enum class Login { ByHand, SavedOnly };

    StartupSequence(Session &session, BrowserSlot &browsers, Navigator &navigator, Pump &pump,
                    Login login = Login::ByHand);

    // Creates the browser and walks to the user page; fills the session.
    // Throws StartupFailure; SavedLoginGone when only the saved login may
    // be used and there is none.
    void run();

    // Follows the login entry when the top page invites a login. Its errors
    // end it quietly; start-up goes on with the user page.
    void handleLoginPage();

    // The world entry walk (also the 「再起動」 label). When the browser no
    // longer answers, a new one is opened on the top page and the walk stops
    // there: the user logs in and clicks 「再起動」 again.
    void enterWorld();

    // The 「再起動」 label: the world entry walk, but nothing while there is
    // no browser yet or one is being made.
    void restart();

    // After the browser was closed under a command: a new browser on the
    // same profile, the login waited for when the game asks for one, and the
    // walk into the world, as at start-up. Browser errors reach the caller.
    void reopenBrowser();

private:
    void waitForLoginToFinish();
    void requireSavedLogin();
    void readOwnLordWithRetry();

    Session &m_session;
    BrowserSlot &m_browsers;
    Navigator &m_navigator;
    Pump &m_pump;
    Login m_login;
};
