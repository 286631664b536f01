#pragma once

#include <QString>

#include "playlist/episodes.h"

// The texts a podcaster pastes into a web page, one flavour per web player. Every link points into
// the folder MP3 that the upload fills next to the page.
namespace playlist {

// Entries of the player list, which are the same in every language.
inline constexpr QLatin1StringView mp3Player("mp3 Player");
inline constexpr QLatin1StringView dewPlayer("Dew Player");
inline constexpr QLatin1StringView html5Player("new Player (no flash required)");

// Public address of the multi-track Flash player on the maker's server.
QString adresseLecteurMulti();

// The XSPF document that the dewplayer reads from MP3/playlist.xml.
QString xspfDocument(const EpisodeList &episodes);
// The multi-track Flash player, its tracks carried in FlashVars.
QString multiPlayerObject(const EpisodeList &episodes);
// An HTML5 audio player with its track list, styles and script.
QString html5PlayerPage(const EpisodeList &episodes);
// The dewplayer object to paste into the page; it reads MP3/playlist.xml.
QString dewPlayerObject();

// The text built for the chosen player (empty for an unknown one).
QString buildPlaylist(const QString &player, const EpisodeList &episodes);
// What the copy window shows: for the dewplayer the object to paste, not its playlist.
QString copyWindowText(const QString &player, const QString &built);

} // namespace playlist
