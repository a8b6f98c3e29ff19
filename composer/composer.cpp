#include "composer/composer.h"

#include "common/datafile.h"
#include "common/readfailure.h"
#include "common/rosterfile.h"
#include "common/textsearch.h"
#include "composer/addressees.h"
#include "composer/letterfile.h"
#include "site/browserslot.h"
#include "site/browsersteps.h"
#include "site/document.h"
#include "site/gamepage.h"
#include "site/navigator.h"
#include "site/pagekeeper.h"
#include "site/session.h"

#include <QFile>
#include <QScopeGuard>

using TextSearch::trimSpaces;

namespace {

const QString kAlly = QStringLiteral("/ally");

const QString kBrowserInUse = QStringLiteral("ほかのコマンドがブラウザを使っています。\r\n"
                                             "終わってから、もう一度押してください。");

} // namespace

Composer::Composer(ComposerContext &context, ComposerState &state, ComposerPort &port)
    : m_context(context), m_state(state), m_port(port)
{
}

QString Composer::appPath(const QString &name) const
{
    return m_context.session.appDir + name;
}

QString Composer::rosterPath() const
{
    // The roster is named by the id without its "/", as the roster command
    // writes it; the id held for the run is left as it is.
    return appPath(
        RosterFile::fileName(TextSearch::removeAll(m_context.session.allianceId, QStringLiteral("/"))));
}

QString Composer::letterPath(const QString &letterName) const
{
    return appPath(LetterFile::fileName(m_context.session.world.worldNumber, letterName));
}

QStringList Composer::rosterList() const
{
    QStringList names{kAlly};
    return names + RosterFile::names(RosterFile::read(rosterPath()).entries);
}

void Composer::fillAtOpening()
{
    m_port.setSubject(m_state.rememberedSubject);
    m_port.setBody(m_state.rememberedBody);
    if (!m_state.rememberedAddressees.isEmpty())
        pourAddressees();
    m_state.rememberedAddressees.clear();
    m_workingThroughList = false;
    // Opening always shows the roster, so the switch starts from the roster
    // again: the flag says what List1 shows, not what it showed last time.
    m_extraListShown = false;
    m_port.setAddresseeList(rosterList());
    const QString &world = m_context.session.world.worldNumber;
    m_port.setSavedLetters(LetterFile::letterNames(
        world, DataFile::listMatching(m_context.session.appDir, LetterFile::pattern(world))));
}

BrowserSteps::Outcome Composer::stepToLetterPage()
{
    return m_context.steps.run(QStringLiteral("書状作成ページの読み込み"), [this] {
        m_port.setPageCommandsEnabled(false);
        const auto enable = qScopeGuard([this] { m_port.setPageCommandsEnabled(true); });
        m_context.navigator.waitForPage(m_context.session.world.newLetterUrl());
    });
}

void Composer::loadLetterPage()
{
    // A page that did not come is told by the runner, as for every command;
    // the user loads it again with 「ヘージ再読み込み」.
    const BrowserSteps::Outcome outcome = stepToLetterPage();
    if (outcome == BrowserSteps::Outcome::Busy) {
        m_port.showMessage(
            QStringLiteral("ほかのコマンドがブラウザを使っているため、書状作成ページを開けませんでした。\r\n"
                           "終わってから「ヘージ再読み込み」を押してください。"));
    }
    backOnLetterPageAfterReopen(outcome);
}

void Composer::backOnLetterPageAfterReopen(BrowserSteps::Outcome outcome)
{
    // A browser opened anew stands on the user page; the composer's page is
    // the letter page, as 「ヘージ再読み込み」 would leave it. Once: a new
    // browser that is closed again is the user's doing.
    if (outcome == BrowserSteps::Outcome::Stopped && m_context.steps.reopenedBrowser())
        stepToLetterPage();
}

void Composer::takeList(const QStringList &names)
{
    m_port.setAddressees(Addressees::joined(names));
    m_workingThroughList = !m_port.addressees().isEmpty();
}

QString Composer::rosterNotice(const QStringList &names) const
{
    const RosterFile::Read roster = RosterFile::read(rosterPath());
    if (!roster.exists)
        return QStringLiteral("同盟員名簿が作成されていないため、宛名が今の同盟員かどうか確かめられません。");
    if (!roster.ok) {
        return QStringLiteral(
                   "同盟員名簿を読み込めなかったため、宛名が今の同盟員かどうか確かめられません。\r\n") +
               roster.error;
    }
    const QStringList missing = Addressees::notInRoster(names, RosterFile::names(roster.entries));
    if (missing.isEmpty())
        return QString();
    // A long list would run off the screen: the first ones and how many more.
    constexpr qsizetype kListed = 20;
    QString text = QStringLiteral("次の%1名は今の同盟員名簿にいません（同盟を抜けたのかもしれません）。\r\n"
                                  "宛名には入れてあります。送る前に確かめてください。\r\n")
                       .arg(missing.size());
    for (const QString &name : missing.mid(0, kListed))
        text += QStringLiteral("\r\n") + name;
    if (missing.size() > kListed)
        text += QStringLiteral("\r\nほか %1名").arg(missing.size() - kListed);
    return text;
}

QString Composer::addresseesChanged(const QString &field)
{
    if (field.isEmpty())
        m_workingThroughList = false;
    return Addressees::caption(field);
}

void Composer::pick(const QString &name)
{
    const std::optional<QString> field = Addressees::addPicked(m_port.addressees(), name);
    if (!field) {
        m_port.showMessage(QStringLiteral("同時発信は３名までです。"));
        return;
    }
    m_port.setAddressees(*field);
}

void Composer::pourAddressees()
{
    const QString source = m_state.rememberedAddressees.isEmpty() ? trimSpaces(m_port.clipboardText())
                                                                  : m_state.rememberedAddressees;
    if (source.isEmpty())
        return;
    m_port.appendAdditionalAddressees(Addressees::pouredLines(source));
}

void Composer::fillLetterPage()
{
    // Not the letter page, or the browser gone: what was written stays, and
    // the runner tells why the filling stopped.
    const BrowserSteps::Outcome outcome = m_context.steps.run(QStringLiteral("画面挿入"), [this] {
        // Another page of the game (a letter just sent, the user page after
        // a new browser): the letter page is loaded first, as the button's
        // user meant it.
        const QString letterPage = m_context.session.world.newLetterUrl();
        if (!LetterPage::isLetterAddress(m_context.browsers.current().locationUrl(), letterPage))
            m_context.navigator.waitForPage(letterPage);
        try {
            fillFields();
        } catch (const BrowserGone &) {
            throw;
        } catch (const BrowserError &error) {
            const Document page = m_context.browsers.current().document();
            const QString missing = LetterPage::missingField(page);
            if (missing.isEmpty())
                throw;
            const PageMark::Kind kind = PageMark::kindOf(page);
            // A login, maintenance or error page at the letter's address is
            // no changed page: said as it is, and not kept.
            if (kind != PageMark::Kind::Game)
                throw ReadFailure(
                    PageMark::explanation(PageMark::Family::NewLetter, missing, kind, QString()), missing);
            // The letter page without one of its fields is told with what it
            // looked like, and kept: its making has changed.
            throw ReadFailure(
                error.message() + QStringLiteral("\r\n\r\n") +
                    missedMark(m_context.keeper, PageMark::Family::NewLetter, missing, page).explanation(),
                missing);
        }
    });
    if (outcome == BrowserSteps::Outcome::Busy)
        m_port.showMessage(kBrowserInUse);
    backOnLetterPageAfterReopen(outcome);
}

void Composer::fillFields()
{
    Browser &browser = m_context.browsers.current();
    browser.setFieldValue(QStringLiteral("SUBJECT"), trimSpaces(m_port.subject()));
    const QString field = trimSpaces(m_port.addressees());
    m_port.setAddressees(field);
    const Addressees::Split split = Addressees::splitForSending(field);
    browser.setFieldValue(QStringLiteral("TO"), split.to);
    // Only names that reached the page leave the field. Of a list being
    // worked through the last letter's names leave as well: a field left
    // holding them would send them a second letter.
    const QString left = m_workingThroughList ? split.restOfList : split.rest;
    m_port.setAddressees(left);
    if (left.isEmpty())
        m_workingThroughList = false;
    browser.setFieldValue(QStringLiteral("BODY"), trimSpaces(m_port.body()));
}

void Composer::clearFields()
{
    m_workingThroughList = false;
    m_port.setBody(QString());
    m_port.setSubject(QString());
    m_port.setAddressees(QString());
}

void Composer::rememberOnClose(int index)
{
    if (index == 0) {
        m_state.rememberedSubject = trimSpaces(m_port.subject());
        m_state.rememberedBody = trimSpaces(m_port.body());
        for (const QString &name : m_port.additionalAddressees())
            m_state.rememberedAddressees += name + QStringLiteral("\r\n");
    } else if (index == 1) {
        m_state = ComposerState{};
    }
}

void Composer::openRoster()
{
    if (DataFile::exists(rosterPath()))
        m_context.opener.open(rosterPath());
}

void Composer::switchList()
{
    const QString extraPath = appPath(extraListFileName());
    if (!DataFile::exists(extraPath))
        return;
    if (!m_extraListShown) {
        m_port.setAddresseeList(Addressees::extraNames(DataFile::readLines(extraPath).value));
        m_extraListShown = true;
    } else {
        m_port.setAddresseeList(rosterList());
        m_extraListShown = false;
    }
}

void Composer::savedLetterCommand(int index)
{
    const int selected = m_port.selectedSavedLetter();
    switch (index) {
    case 0:
        loadLetter(selected);
        break;
    case 1:
        saveLetter(selected);
        break;
    case 2:
        discardLetter(selected);
        break;
    default:
        break;
    }
}

void Composer::loadLetter(int selected)
{
    if (selected < 0)
        return;
    const QString path = letterPath(m_port.savedLetters().value(selected));
    if (!DataFile::exists(path))
        return;
    const DataFile::Lines lines = DataFile::readLines(path);
    if (!lines) {
        m_port.showMessage(QStringLiteral("保存データを読み込めませんでした。\r\n") + lines.error);
        return;
    }
    const LetterFile::Loaded letter = LetterFile::parse(lines.value, m_port.subject());
    m_port.setSubject(letter.subject);
    m_port.setBody(letter.body);
}

void Composer::saveLetter(int selected)
{
    m_port.setAddressees(trimSpaces(m_port.addressees()));
    if (LetterFile::dropTrailingSpaces(m_port.body()).isEmpty()) {
        m_port.showMessage(QStringLiteral("原稿が未記入です。"));
        return;
    }
    const QString name = trimSpaces(m_port.subject());
    if (name.isEmpty()) {
        m_port.showMessage(QStringLiteral("件名(ファイル名)が未記入です。"));
        return;
    }
    QString target;
    bool newEntry = false;
    if (selected >= 0 && DataFile::exists(letterPath(m_port.savedLetters().value(selected)))) {
        if (!m_port.askYesNo(QStringLiteral("同名のファイル名があります。上書きしますか")))
            return;
        target = letterPath(m_port.savedLetters().value(selected));
    } else {
        if (const QString refusal = LetterFile::nameRefusal(name, m_context.session.world.worldNumber);
            !refusal.isEmpty()) {
            m_port.showMessage(refusal);
            return;
        }
        target = letterPath(name);
        newEntry = true;
    }
    const DataFile::Result written =
        DataFile::writeText(target, LetterFile::format(m_port.subject(), m_port.body()));
    if (!written) {
        m_port.showMessage(QStringLiteral("書状を保存できませんでした。\r\n") + written.error);
        return;
    }
    // Listed once the file is there, so the list never names a letter
    // that was not saved.
    if (newEntry)
        m_port.appendSavedLetter(name);
}

void Composer::discardLetter(int selected)
{
    if (selected < 0)
        return;
    const QString path = letterPath(m_port.savedLetters().value(selected));
    if (!DataFile::exists(path))
        return;
    if (!QFile::remove(path)) {
        m_port.showMessage(QStringLiteral("保存データを破棄できませんでした。"));
        return;
    }
    m_port.removeSavedLetter(selected);
}
