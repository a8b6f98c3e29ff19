#include "demosite/dump.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString text(const std::string &utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QJsonObject place(const Place &p)
{
    return QJsonObject{{QStringLiteral("village_id"), p.villageId},
                       {QStringLiteral("name"), text(p.name)},
                       {QStringLiteral("x"), p.x},
                       {QStringLiteral("y"), p.y}};
}

QJsonArray places(const std::vector<Place> &list)
{
    QJsonArray out;
    for (const Place &p : list)
        out.append(place(p));
    return out;
}

QJsonObject lordObject(const Lord &lord)
{
    QJsonArray scores;
    for (int score : lord.scores)
        scores.append(score);
    return QJsonObject{{QStringLiteral("user_id"), lord.userId},
                       {QStringLiteral("name"), text(lord.name)},
                       {QStringLiteral("x"), lord.home.x},
                       {QStringLiteral("y"), lord.home.y},
                       {QStringLiteral("home"), place(lord.home)},
                       {QStringLiteral("alliance_id"), lord.allianceId},
                       {QStringLiteral("role"), text(lord.role)},
                       {QStringLiteral("population"), lord.population},
                       {QStringLiteral("merit"), lord.merit},
                       {QStringLiteral("level"), lord.level},
                       {QStringLiteral("fiefs"), places(lord.fiefs)},
                       {QStringLiteral("branch_castles"), places(lord.branchCastles)},
                       {QStringLiteral("points"), lord.points},
                       {QStringLiteral("points_day"), lord.pointsDay},
                       {QStringLiteral("scores"), scores}};
}

QJsonObject rankingObject(const World &world)
{
    static const char *const kKeys[] = {"merit", "attack", "defense", "total"};
    QJsonObject ranking{{QStringLiteral("key"), QStringLiteral("5")},
                        {QStringLiteral("per_page"), World::kRankingPerPage},
                        {QStringLiteral("pages"), world.rankingPageCount()}};
    for (int c = 0; c < kRankingCategories; ++c) {
        QJsonArray rows;
        const auto &order = world.ranking[static_cast<std::size_t>(c)];
        for (std::size_t i = 0; i < order.size(); ++i) {
            const Lord &lord = *world.lord(order[i]);
            rows.append(QJsonObject{{QStringLiteral("rank"), static_cast<int>(i) + 1},
                                    {QStringLiteral("user_id"), lord.userId},
                                    {QStringLiteral("name"), text(lord.name)},
                                    {QStringLiteral("alliance_id"), lord.allianceId},
                                    {QStringLiteral("score"), lord.scores[static_cast<std::size_t>(c)]}});
        }
        ranking.insert(QString::fromLatin1(kKeys[c]), rows);
    }
    return ranking;
}

} // namespace

std::string dumpWorld(const World &world)
{
    const Lord &player = world.player();
    QJsonObject root;
    root.insert(QStringLiteral("seed"), static_cast<qint64>(world.seed));
    root.insert(QStringLiteral("day"), world.day);
    root.insert(QStringLiteral("player"), QJsonObject{{QStringLiteral("user_id"), player.userId},
                                                      {QStringLiteral("alliance_id"), player.allianceId},
                                                      {QStringLiteral("name"), text(player.name)}});
    QJsonArray lords;
    for (const Lord &lord : world.lords)
        lords.append(lordObject(lord));
    root.insert(QStringLiteral("lords"), lords);
    QJsonArray alliances;
    for (const Alliance &alliance : world.alliances) {
        QJsonArray members;
        for (int id : alliance.memberIds)
            members.append(id);
        alliances.append(QJsonObject{{QStringLiteral("id"), alliance.id},
                                     {QStringLiteral("name"), text(alliance.name)},
                                     {QStringLiteral("rank"), alliance.rank},
                                     {QStringLiteral("member_ids"), members}});
    }
    root.insert(QStringLiteral("alliances"), alliances);
    root.insert(QStringLiteral("ranking"), rankingObject(world));
    QJsonArray inbox;
    for (std::size_t i = 0; i < world.inbox.size(); ++i) {
        const Letter &letter = world.inbox[i];
        inbox.append(QJsonObject{{QStringLiteral("id"), letter.id},
                                 {QStringLiteral("page"), static_cast<int>(i) / World::kInboxPerPage + 1},
                                 {QStringLiteral("subject"), text(letter.subject)},
                                 {QStringLiteral("sender"), text(letter.sender)},
                                 {QStringLiteral("sender_user_id"), letter.senderUserId},
                                 {QStringLiteral("date"), text(letter.date)}});
    }
    root.insert(QStringLiteral("inbox"), inbox);
    QJsonArray sent;
    for (const SentLetter &letter : world.sentLetters) {
        sent.append(QJsonObject{{QStringLiteral("subject"), text(letter.subject)},
                                {QStringLiteral("to"), text(letter.to)},
                                {QStringLiteral("body"), text(letter.body)}});
    }
    root.insert(QStringLiteral("sent_letters"), sent);
    const QByteArray json = QJsonDocument(root).toJson(QJsonDocument::Compact);
    return std::string(json.constData(), static_cast<std::size_t>(json.size()));
}
