#include "playlist/snippets.h"

#include <QStringList>
#include <QUrl>

#include "buildconfig.h"

using namespace Qt::StringLiterals;

namespace playlist {

namespace {

constexpr char xspfNamespace[] = "http://xspf.org/ns/0/";

// Link to the file as the upload puts it on the server, whatever characters its name holds.
QString link(const Episode &episode)
{
    return u"MP3/"_s + QString::fromLatin1(QUrl::toPercentEncoding(episode.fileName));
}

// FlashVars are URL-decoded by the player, and & and | separate its values.
QString flashVarsValue(const QString &text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

// Styles and the start of the jQuery script element, up to its host.
constexpr char html5Head[] =
    "<style>body{max-width: 400px;-webkit-text-size-adjust: 100%;background-color: black;"
    "color: #000000;margin: auto;}ul#playlist{padding: 0;}#total_duration{font-family:arial;"
    "text-align: right;float:right;border-top: 1px solid white;margin: 0;padding: 4px;color:white}"
    "figure audio{box-shadow: 5px 5px 15px 5px #202020; width: 400px;}figure,audio{background: "
    "linear-gradient(rgba(0,0,0,0),rgba(0,0,0,1)); width: 100%;padding: 0;margin: 0;}figure "
    "li a,figure li span{padding:5px;text-decoration:none;font-family:arial;outline:none;"
    "width:80%;white-space:nowrap;overflow-x:hidden;padding:0;display:inline-block}#playlist "
    "li {background: rgb(51, 51, 51) none repeat scroll 0% 0%;font-weight: initial;font-size: "
    "16px;list-style:none;}.active {color: #3498db;}.available {color: #c9c9c9;}.loaded {"
    "-moz-box-shadow: 0 0 5px 5px rgb(51, 51, 51);-webkit-box-shadow: 0 0 5px 5px rgb(51,"
    " 51, 51);box-shadow: 0 0 5px 5px rgb(51, 51, 51);}#playlist li:hover{font-weight:bolder}"
    "</style><script src=\"https://";

// Player script after the jQuery host, up to the audio source.
constexpr char html5Script[] =
    "/ajax/libs/jquery/1.11.2/jquery.min.js\"></script><script type=\"text/javascript\">function "
    "run(link, player){player.src = link.attr('href');par = link.parent();par.addClass('active')"
    ".siblings().removeClass('active');audio[0].load();$('audio')[0].onloadeddata = function()"
    " {audio[0].play();}}function init(){current = 0;audio = $('audio');playlist = $('figure "
    "ul#playlist');tracks = playlist.find('li a');len = tracks.length;audio[0].volume = ."
    "90;playlist.find('a').click(function(e){\te.preventDefault();\t$('#playlist').find('li')"
    ".eq(current).find('*').addClass('available').removeClass('active');\t$(e.target).addClass('active')"
    ".removeClass('available');\tlink = $(this);\tcurrent = link.parent().index();\trun(link,"
    " audio[0]);});audio[0].addEventListener('ended',function(e){\tcurrent++;\tif(current "
    "== len){\tcurrent = 0;\tlink = playlist.find('a')[0];\t}else{\tlink = playlist.find('a')"
    "[current];\t$('#playlist').find('li').eq(current).find('*').addClass('active').removeClass('available')"
    ";\t$('#playlist').find('li').eq(current-1).find('*').addClass('available').removeClass('active')"
    "; run($(link),audio[0]);}});}function loop() {\t$('figure ul#playlist li a').each(function()"
    " {\t\tif($(this).html().length > 41) {\t\t\t$(this).parent().find(\"a\").html(\"<span>\" "
    "+ $(this).parent().find(\"a\").html() + \"</span>\").addClass(\"box\");\t\t\ttext.push($(this)"
    ".parent().find(\"a.box span\"));\t\t\tstep.push(1);\t\t\tdirection.push(-1);\t\t}\t}"
    ")}function animation() {\ttext.forEach(function(item, index) {\t\tif (parseInt(item."
    "css(\"margin-left\")) > 0) direction[index] = -1;\t\telse if (parseInt(item.css(\"margin-left\")"
    ") < (widthParent - item.width())) direction[index] = 1;\t\tstep[index] += (0.1 * direction[index])"
    ";\t\titem.css({\t\t\t\"display\": \"inline\",\t\t\t\"overflow\": \"hidden\",\t\t\t\"margin-left\": "
    "stepSpeed * step[index] + \"px\"});\t\t})}var widthParent;$( document ).ready(function()"
    " {\tinit(); \twidthParent = $('figure ul#playlist li a').width();\tvar totalDuration "
    "= 0; var i = 0;\tvar audio;\tvar playlist;\tvar tracks;\tvar current;\tstepSpeed = 5;"
    "\tdirection = [];\ttext = [];\tstep = [];\t$('audio')[0].onloadeddata = function() {"
    "\tif (i > -1) {\tminutes = Math.round($('audio')[0].duration % 60);\t totalDuration "
    "+= Math.round($('audio')[0].duration / 60);\t$('#total_duration').html(totalDuration "
    "+ 'min'); if (minutes < 10) minutes = '0' + minutes;\tif (i > 0) $('#playlist').find('li "
    "a').addClass('available').eq(i-1).after('<span style=\"font-family:arial;\ttext-align: "
    "right;\tfloat:right; \twidth:20%;\t height:20px; \">' + parseInt($('audio')[0].duration "
    "/ 60, 10) + ':' + minutes + '</span>');\tif ($('#playlist').find('a').eq(i).html()) "
    "{ \t\t$('#playlist').find('li').eq(i).addClass('loaded');\t\t$('audio')[0].src=$('#playlist')"
    ".find('a').eq(i).attr('href');\t} else {\t\t$('audio')[0].src=$('#playlist').find('li "
    "a').eq(0).attr('href');\t\t$('#playlist').find('li').eq(0).find('*').addClass('active')"
    ".removeClass('available');\t\ti = -2;\t\tloop();\t\tsetInterval(animation, 30);\t\t}"
    "\ti++;\t}};window.resizeTo(400, $('html').height() + window.outerHeight - window.innerHeight "
    "+ $('#total_duration').outerHeight() + 5);});</script><figure><audio id=\"audio\" preload=\"auto\" "
    "tabindex=\"0\" controls=\"\" type=\"audio/mpeg\" src=\"";

} // namespace

QString adresseLecteurMulti()
{
    return QLatin1StringView(BuildConfig::serverUrl) + "/medias/player_mp3_multi.swf"_L1;
}

QString xspfDocument(const EpisodeList &episodes)
{
    QString text = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<playlist version=\"1\" xmlns=\""_s
        + QLatin1StringView(xspfNamespace) + u"\">\n"
                                             "\t<title>Playlist</title>\n"
                                             "\t<creator>Orvane</creator>\n"
                                             "\t<link>"_s
        + QString::fromLatin1(BuildConfig::homePage).toHtmlEscaped()
        + u"</link>\n"
          "\t<info>Created with Tessaly : easier done than said !</info>\n"
          "\t<trackList>\n"_s;
    for (const Episode &episode : episodes) {
        text += u"\t\t<track>\n\t\t\t<location>\n\t\t\t\t"_s + link(episode).toHtmlEscaped()
            + u"\n\t\t\t</location>\n\t\t\t<title>"_s + episode.title.toHtmlEscaped()
            + u"</title>\n\t\t</track>\n"_s;
    }
    // The closing track is as the dewplayer has always been given it, tabs in its location included.
    text += u"\t\t<track>\n\t\t\t<location>MP3/fin de playlist\t\t\t</location>\n"
            "\t\t<title>fin de playlist</title>\n\t\t</track>\n"
            "\t</trackList>\n"
            "</playlist>"_s;
    return text;
}

QString multiPlayerObject(const EpisodeList &episodes)
{
    QStringList files;
    QStringList titles;
    for (const Episode &episode : episodes) {
        files.append(link(episode));
        titles.append(flashVarsValue(episode.title));
    }
    return u"<object type=\"application/x-shockwave-flash\" data=\""_s + adresseLecteurMulti()
        + u"\" width=\"200\" height=\"100\">"
          "\n\t<param name=\"movie\" value=\"player_mp3_multi.swf\" />"
          "\n\t<param name=\"FlashVars\" value=\"mp3="_s
        + files.join(u'|') + u"&amp;title="_s + titles.join(u'|')
        + u"&amp;showvolume=1&amp;showinfo=1 \"/>\n</object>"_s;
}

QString html5PlayerPage(const EpisodeList &episodes)
{
    QString text = QLatin1StringView(html5Head) + QLatin1StringView(BuildConfig::jqueryHost)
        + QLatin1StringView(html5Script);
    // The first episode is the audio element's source and the active item of the list; with no
    // episode the source and the list stay empty.
    if (!episodes.isEmpty())
        text += link(episodes.first()).toHtmlEscaped();
    text += u"\"></audio><ul id=\"playlist\">"_s;
    for (qsizetype i = 0; i < episodes.size(); ++i) {
        text += i == 0 ? u"<li><a class='active' href=\""_s : u"<li><a href=\""_s;
        text += link(episodes.at(i)).toHtmlEscaped() + u"\">"_s + episodes.at(i).title.toHtmlEscaped()
            + u"</a></li>"_s;
    }
    text += u"<p id='total_duration'></p></ul></figure>"_s;
    return text;
}

QString dewPlayerObject()
{
    return u"<object id=\"dewplayer\" width=\"400\" height=\"200\" name=\"dewplayer\" "
           "data=\"MP3/dewplayer-playlist.swf\" type=\"application/x-shockwave-flash\">\n"
           "\t<param name=\"movie\" value=\"MP3/dewplayer-playlist.swf\" />\n"
           "\t<param name=\"flashvars\" value=\"showtime=true&xml=MP3/playlist.xml\" />\n"
           "\t<param name=\"wmode\" value=\"transparent\" />\n"
           "</object>"_s;
}

QString buildPlaylist(const QString &player, const EpisodeList &episodes)
{
    if (player == dewPlayer)
        return xspfDocument(episodes);
    if (player == mp3Player)
        return multiPlayerObject(episodes);
    if (player == html5Player)
        return html5PlayerPage(episodes);
    return {};
}

QString copyWindowText(const QString &player, const QString &built)
{
    return player == dewPlayer ? dewPlayerObject() : built;
}

} // namespace playlist
