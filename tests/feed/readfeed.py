"""Reads a feed with two podcast clients' parsers and prints what they saw, as JSON.

Usage: readfeed.py FILE ADDRESS. feedparser must parse it without a "bozo" error; podcastparser
(gPodder's) is given the address the feed claims to be read from. Neither reads the Podcast Index's
attributes: "podcast" holds them as an XML parser sees them.
"""
import json
import sys
import calendar
import xml.etree.ElementTree as ET

import feedparser
import podcastparser

path, address = sys.argv[1], sys.argv[2]
with open(path, 'rb') as stream:
    data = stream.read()

fp = feedparser.parse(data)
with open(path, 'rb') as stream:
    pp = podcastparser.parse(address, stream)

P = '{https://podcastindex.org/namespace/1.0}'


def attributes(element, tag):
    found = element.find(P + tag)
    return dict(found.attrib, text=(found.text or '').strip()) if found is not None else {}


root = ET.parse(path).getroot().find('channel')
podcast = {
    'locked': attributes(root, 'locked'),
    'funding': attributes(root, 'funding'),
    'people': [dict(p.attrib, name=p.text) for p in root.findall(P + 'person')],
    'items': [{
        'chapters': attributes(item, 'chapters'),
        'transcript': attributes(item, 'transcript'),
        'season': attributes(item, 'season').get('text', ''),
        'episode': attributes(item, 'episode').get('text', ''),
    } for item in root.findall('item')],
}

channel = fp.feed
print(json.dumps({
    'bozo': str(fp.get('bozo_exception', '')) if fp.bozo else '',
    'channel': {
        'title': channel.get('title', ''),
        'category': [t.get('term') for t in channel.get('tags', [])],
        'ownerEmail': channel.get('publisher_detail', {}).get('email', ''),
        'image': channel.get('image', {}).get('href', ''),
        'podcastGuid': channel.get('podcast_guid', ''),
        'cover': pp.get('cover_url', ''),
    },
    'items': [{
        'title': e.get('title', ''),
        'guid': e.get('id', ''),
        'published': calendar.timegm(e.published_parsed) if e.get('published_parsed') else 0,
        'url': e.enclosures[0].get('href') if e.get('enclosures') else '',
        'length': int(e.enclosures[0].get('length', 0)) if e.get('enclosures') else 0,
    } for e in fp.entries],
    'episodes': [{
        'title': e['title'],
        'guid': e['guid'],
        'published': e['published'],
        'url': e['enclosures'][0]['url'] if e['enclosures'] else '',
        'length': e['enclosures'][0]['file_size'] if e['enclosures'] else 0,
        'seconds': e['total_time'],
        'number': e.get('number', 0),
        'season': e.get('season', 0),
        'chapters': e.get('chapters', []),
    } for e in pp.get('episodes', [])],
    'podcast': podcast,
}, ensure_ascii=False))
