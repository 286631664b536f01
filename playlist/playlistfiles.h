#pragma once

#include <QString>

// The playlist files written into the source folder: playlist.xml, which is published with the
// episodes, and playlist.html, a page for trying the player locally.
namespace playlist {

inline constexpr QLatin1StringView playlistXml("playlist.xml");
inline constexpr QLatin1StringView playlistHtml("playlist.html");

// The Flash players, supplied beside the program and copied next to the episodes.
inline constexpr QLatin1StringView dewPlayerFile("dewplayer-playlist.swf");
inline constexpr QLatin1StringView multiPlayerFile("player_mp3_multi.swf");

// A published text rewritten for a page that sits in the source folder itself, beside the
// episodes and the players, rather than one level above MP3/.
QString localPreviewText(const QString &published);

// What goes into a playlist file: the text area's text as published, or, in test mode, as the
// local preview needs it.
QString playlistFileContent(const QString &fileName, bool test, const QString &player,
                            const QString &text);

// Writes UTF-8 text whole or not at all: on any failure an existing file is left as it was.
bool writeWholeFile(const QString &path, const QString &text);

} // namespace playlist
