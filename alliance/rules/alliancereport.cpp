#include "alliance/rules/alliancereport.h"

#include "alliance/rules/memberoutputs.h"
#include "common/numbers.h"
#include "common/textsearch.h"

#include <algorithm>

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

// A number as the page or the user wrote it, rounded to an integer. Values
// beyond what a double holds exactly are held at that bound: no page
// figure comes near it, and the totals of any alliance then stay well
// inside 64 bits.
qint64 wholeNumber(const QString &text)
{
    constexpr double limit = 9007199254740992.0; // 2^53
    const double value = std::clamp(Numbers::roundHalfEven(Numbers::readLeading(text)), -limit, limit);
    return static_cast<qint64>(value);
}

// "盟主補佐（一）:name(x,y)", the role's full-width brackets made ASCII. Only
// the role's brackets: a lord name that holds the same characters stays as
// the lord wrote it.
QString leaderLine(const QString &role, const QString &wideIndex, const QString &narrowIndex,
                   const QString &name, const LordProfile &profile)
{
    QString shownRole = role;
    if (!wideIndex.isEmpty())
        shownRole.replace(wideIndex, narrowIndex);
    return shownRole + QStringLiteral(":") + name + QStringLiteral("(") + profile.x + QStringLiteral(",") +
           profile.y + QStringLiteral(")");
}

} // namespace

std::optional<qint64> readStarStep(const QString &typed)
{
    const double step = Numbers::roundHalfEven(Numbers::readLeading(typed));
    if (!(step >= 1 && step <= 32767))
        return std::nullopt;
    return static_cast<qint64>(step);
}

namespace {

// The id as it goes into the alliance page's address: ASCII digits only, so
// nothing typed can change the address. Full-width digits, as a Japanese
// input method gives them, are taken as the digits they are.
std::optional<QString> allianceIdFrom(const QString &typed)
{
    QString id;
    for (const QChar c : typed) {
        if (c >= u'0' && c <= u'9')
            id += c;
        else if (c >= u'０' && c <= u'９')
            id += QChar(char16_t(u'0' + (c.unicode() - u'０')));
        else
            return std::nullopt;
    }
    return id;
}

} // namespace

ReportRequest reportRequest(const QString &allianceIdText, const QString &populationStepText,
                            const QString &meritStepText)
{
    ReportRequest request;
    const QString typedId = TextSearch::trimSpaces(allianceIdText);
    const std::optional<QString> allianceId = allianceIdFrom(typedId);
    const std::optional<qint64> populationStep = readStarStep(populationStepText);
    const std::optional<qint64> meritStep = readStarStep(meritStepText);
    if (typedId.isEmpty())
        request.refusal = QStringLiteral("「同盟ID」に、レポートを作る同盟のIDを入力してください。");
    else if (!allianceId)
        request.refusal = QStringLiteral("「同盟ID」は数字で入力してください。（%1）").arg(typedId);
    else if (!populationStep || !meritStep)
        request.refusal =
            QStringLiteral("「区切」の人口と戦功には、1 から 32767 までの数を入力してください。");
    else
        request = {*allianceId, *populationStep, *meritStep, QString()};
    return request;
}

AllianceReport::AllianceReport(qint64 populationStep, qint64 meritStep)
    : m_populationStep(std::max<qint64>(populationStep, 1)), m_meritStep(std::max<qint64>(meritStep, 1))
{
}

QString AllianceReport::barLine(qint64 value, qint64 step, const QString &shown, const QString &name)
{
    // Integer division truncates toward zero; a negative value has no bar.
    qint64 stars = std::max<qint64>(value / step, 0);
    if (stars > kMaxStars) {
        stars = kMaxStars;
        m_barsCut = true;
    }
    return QString(stars, u'*') + QStringLiteral("<<") + shown + QStringLiteral(":") + name + kLineEnd;
}

void AllianceReport::addMember(const QString &name, const LordProfile &profile)
{
    ++m_membersRead;

    // A coordinate of 0 counts as west, or as south. A home castle whose
    // link could not be read has no place on the map and is left out of
    // the quarters rather than counted as south-west.
    if (!profile.x.isEmpty() && !profile.y.isEmpty()) {
        const bool east = wholeNumber(profile.x) > 0;
        const bool north = wholeNumber(profile.y) > 0;
        ++(east ? (north ? m_northEast : m_southEast) : (north ? m_northWest : m_southWest));
    }

    // Roles are compared exactly; a later holder of the same role wins.
    if (profile.role == QStringLiteral("盟主"))
        m_leaderLine = leaderLine(profile.role, QString(), QString(), name, profile);
    else if (profile.role == QStringLiteral("盟主補佐（一）"))
        m_subLeader1Line =
            leaderLine(profile.role, QStringLiteral("（一）"), QStringLiteral("(一)"), name, profile);
    else if (profile.role == QStringLiteral("盟主補佐（二）"))
        m_subLeader2Line =
            leaderLine(profile.role, QStringLiteral("（二）"), QStringLiteral("(二)"), name, profile);

    const qint64 population = wholeNumber(profile.population);
    const qint64 merit = wholeNumber(profile.merit);
    m_totalPopulation += population;
    m_totalMerit += merit;
    m_populationBars += barLine(population, m_populationStep, profile.population, name);
    m_meritBars += barLine(merit, m_meritStep, profile.merit, name);

    m_allianceName = profile.allianceName;
    m_allianceSize = profile.allianceSize;
}

void AllianceReport::addUnreadMember(const QString &name, const QString &tableRole)
{
    m_unreadNames.append(name);
    m_unreadRoles.append(tableRole);
}

void AllianceReport::addFiefCount(const QString &fiefCount)
{
    // Only a count of exactly 1 to 7 has a line; 0, 8 or more, and 2.5 do not.
    const double count = Numbers::readLeading(fiefCount);
    for (int n = 1; n <= 7; ++n) {
        if (count == n)
            ++m_fiefCounts[static_cast<std::size_t>(n)];
    }
}

QString AllianceReport::barsCutMessage()
{
    return QStringLiteral(
               "%1個を超える「*」は%1個で切りました。「区切」の数を大きくすると、全部を表示できます。")
        .arg(kMaxStars);
}

QString AllianceReport::leadersLine() const
{
    // A leader whose profile was not read keeps the role's place, so the line
    // does not read as if the alliance had no such leader. Every alliance has
    // its 盟主: with none read and someone unread, it is one of them. Sub-
    // leaders are optional and only known when the member table names them.
    auto unread = [this](const QString &role) { return m_unreadRoles.contains(role); };
    const QString notRead = QStringLiteral(":（未読）");
    QString leader = m_leaderLine;
    if (leader.isEmpty() && !m_unreadNames.isEmpty())
        leader = QStringLiteral("盟主") + notRead;
    QString sub1 = m_subLeader1Line;
    if (sub1.isEmpty() && unread(QStringLiteral("盟主補佐（一）")))
        sub1 = QStringLiteral("盟主補佐(一)") + notRead;
    QString sub2 = m_subLeader2Line;
    if (sub2.isEmpty() && unread(QStringLiteral("盟主補佐（二）")))
        sub2 = QStringLiteral("盟主補佐(二)") + notRead;

    QString leaders = leader;
    if (!sub1.isEmpty())
        leaders += QStringLiteral("　") + sub1;
    if (!sub2.isEmpty())
        leaders += QStringLiteral("　") + sub2;
    return leaders;
}

QString AllianceReport::text(const Texts &texts) const
{
    using Numbers::reportText;
    // The averages are over the members whose profile was read, so a member
    // left out does not pull them down; an alliance without any has none.
    const qint64 averagePopulation = m_membersRead > 0 ? m_totalPopulation / m_membersRead : 0;
    const qint64 averageMerit = m_membersRead > 0 ? m_totalMerit / m_membersRead : 0;

    QString report;
    report.reserve(m_populationBars.size() + m_meritBars.size() + 1024);
    auto line = [&report](const QString &text) { report += text + kLineEnd; };

    line(QStringLiteral("[") + m_allianceName + QStringLiteral("]同盟 レポート ") + texts.today +
         QStringLiteral("作成"));
    line(QStringLiteral("同盟規模 ") + m_allianceSize);
    if (m_membersRead < texts.memberCount) {
        line(QStringLiteral("※同盟員%1人のうち、プロフィールを読めた%2人分の集計です")
                 .arg(reportText(qint64(texts.memberCount)), reportText(qint64(m_membersRead))));
    }
    if (!m_unreadNames.isEmpty())
        line(UnreadMembers::unreadProfilesLine(m_unreadNames));
    line(leadersLine());
    line(QString());

    line(QStringLiteral("★人口について・・・"));
    line(QStringLiteral("総人口") + reportText(m_totalPopulation) + QStringLiteral("　平均一城主あたり") +
         reportText(averagePopulation));
    line(QStringLiteral("人口分布 *1つにつき") + texts.populationStepText + QStringLiteral("人"));
    report += m_populationBars;
    line(QString());
    line(QString());

    line(QStringLiteral("★戦功について・・・"));
    line(QStringLiteral("総戦功") + reportText(m_totalMerit) + QStringLiteral("　平均一城主あたり") +
         reportText(averageMerit));
    line(QStringLiteral("戦功分布　*1つにつき") + texts.meritStepText);
    report += m_meritBars;
    line(QString());
    line(QString());

    line(QStringLiteral("★所領数分布・・・"));
    static const char16_t *const kWideDigits[] = {u"", u"１", u"２", u"３", u"４", u"５", u"６", u"７"};
    for (int n = 7; n >= 1; --n) {
        const qint64 count = m_fiefCounts[static_cast<std::size_t>(n)];
        if (count > 0) {
            line(QStringLiteral("所領数") + QString::fromUtf16(kWideDigits[n]) + QStringLiteral("の城主") +
                 reportText(count));
        }
    }
    line(QString());
    line(QString());

    line(QStringLiteral("★本城分布・・・"));
    line(QStringLiteral("北東(+○,+○)") + reportText(m_northEast));
    line(QStringLiteral("南東(+○,-○)") + reportText(m_southEast));
    line(QStringLiteral("北西(-○,+○)") + reportText(m_northWest));
    line(QStringLiteral("南西(-○,-○)") + reportText(m_southWest));
    return report;
}
