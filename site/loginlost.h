#pragma once

#include "site/browser.h"

// The game dropped the login and walking back into the world did not bring
// it back: the user has to log in again in the browser window.
class LoginLost : public BrowserError
{
public:
    LoginLost()
        : BrowserError(QStringLiteral("ゲームへのログインが切れています。"
                                      "ブラウザでログインし直してから、もう一度実行してください。"))
    {
    }
};
