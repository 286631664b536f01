#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

// The podcast's feed details, kept in a file of their own in the episode folder: config.ini's
// writer drops every key it does not know, and the details belong to the folder they describe.
namespace feed {

inline constexpr QLatin1StringView detailsFile("feed.ini");
inline constexpr QLatin1StringView feedFile("feed.xml");

// What an episode is known by in the feed, fixed the first time it appears there: apps take a
// new guid or date for a new episode and download it again.
struct EpisodeIdentity
{
    QString guid;
    QDateTime published;
};

enum class Explicit { Unset, No, Yes };

// A podcast:person of the show: its name, and its role in the Podcast Index's list ("host", "guest"…).
struct Person
{
    QString name;
    QString role;
    bool operator==(const Person &) const = default;
};

struct ShowDetails
{
    QString publicAddress; // where the MP3 folder is seen on the web, e.g. https://example.com/podcast/MP3/
    QString title;
    QString description;
    QString author;
    QString ownerName;
    QString ownerEmail;
    QString language;
    QString category;
    QString subcategory;
    Explicit explicitContent = Explicit::Unset;
    QString coverImage; // a file name of the episode folder
    QString website;
    QString copyright;
    bool locked = false; // podcast:locked: no other host may import the feed without the owner's e-mail
    QString fundingUrl;  // podcast:funding, with its text
    QString fundingText;
    QList<Person> people;
    QHash<QString, EpisodeIdentity> identities; // by file name
};

// The details of a folder; a missing or unreadable file gives empty details.
ShowDetails readShowDetails(const QString &folder);
// Writes the whole file or leaves it as it was.
bool writeShowDetails(const QString &folder, const ShowDetails &details);

// The people as the form shows them, one a line: "Name (role)"; a line without a role is a host.
QList<Person> parsePeople(const QString &text);
QString peopleText(const QList<Person> &people);

// The public address as typed, with the slash that makes it a folder; empty unless it is an
// http or https address with a host.
QString folderAddress(const ShowDetails &details);
// Where the feed is read from: feed.xml, published beside the episodes. Empty without a valid address.
QString feedAddress(const ShowDetails &details);
// The website, or by default the site of the public address.
QString website(const ShowDetails &details);
// The address of a file of the folder once published.
QString publishedFileAddress(const ShowDetails &details, const QString &fileName);

} // namespace feed
