#pragma once

#include "alliance/walk/commandguard.h"
#include "alliance/walk/commandrunner.h"
#include "common/datafile.h"
#include "common/pump.h"
#include "composer/composer.h"
#include "site/browserslot.h"
#include "site/navigator.h"
#include "site/session.h"
#include "testsupport/alliance/recordingtoolport.h"
#include "testsupport/common/fakeclock.h"
#include "testsupport/common/fakepump.h"
#include "testsupport/common/qtprinters.h"
#include "testsupport/composer/recordingcomposerport.h"
#include "testsupport/composer/recordingfileopener.h"
#include "testsupport/site/fakebrowser.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The composer's rules over fakes: world 3 at http://w3.test, AppDir in a
// temporary folder, alliance 7 (with a trailing "/").
namespace ComposerTesting {

inline const QString kWorld = QStringLiteral("http://w3.test");
inline const QString kLetterPage = kWorld + QStringLiteral("/message/new.php");

// A browser whose page lacks one input field, as a page other than the
// new-letter page does.
class PageWithoutField : public FakeBrowser
{
public:
    QString missing;
    void setFieldValue(const QString &id, const QString &value) override
    {
        if (id == missing)
            throw BrowserError(QStringLiteral("入力欄「") + id + QStringLiteral("」がページにありません。"));
        FakeBrowser::setFieldValue(id, value);
    }
};

class ComposerTest : public ::testing::Test
{
protected:
    ComposerTest()
    {
        m_session.appDir = m_dir.path() + QStringLiteral("/");
        m_session.world.worldBaseUrl = kWorld;
        m_session.world.worldNumber = QStringLiteral("3");
        m_session.allianceId = QStringLiteral("7/");
        m_browsers.replaceWithNew();
    }
    ~ComposerTest() override { AppQuit::reset(); }

    PageWithoutField &browser() { return static_cast<PageWithoutField &>(m_browsers.current()); }
    QString path(const QString &name) const { return m_session.appDir + name; }
    void write(const QString &name, const QString &text)
    {
        ASSERT_TRUE(DataFile::writeText(path(name), text));
    }
    QByteArray bytes(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }
    // A new window over the same remembered state, opened.
    void open()
    {
        m_port = RecordingComposerPort{};
        m_composer = std::make_unique<Composer>(m_context, m_state, m_port);
        m_composer->fillAtOpening();
        m_composer->loadLetterPage();
    }

    QTemporaryDir m_dir;
    Session m_session;
    BrowserSlot m_browsers{[] { return std::make_unique<PageWithoutField>(); }};
    FakeClock m_clock;
    FakePump m_pump;
    Navigator m_navigator{m_browsers, m_session.world, m_clock, m_pump};
    RecordingFileOpener m_opener;
    // The page steps go through the runner of the tool window's commands,
    // which tells on the tool window's port.
    RecordingToolPort m_toolPort;
    CommandGuard m_guard;
    CommandRunner m_runner{m_toolPort, m_guard};
    ComposerContext m_context{m_session, m_navigator, m_browsers, m_opener, m_runner};
    ComposerState m_state;
    RecordingComposerPort m_port;
    std::unique_ptr<Composer> m_composer;
};

} // namespace ComposerTesting
