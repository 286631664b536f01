"""Reads a feed with two podcast clients' parsers and prints what they saw, as JSON.

Usage: readfeed.py FILE ADDRESS. feedparser must parse it without a "bozo" error; podcastparser
(gPodder's) is given the address the feed claims to be read from.
"""
import json
import sys
import calendar

import feedparser
import podcastparser

path, address = sys.argv[1], sys.argv[2]
with open(path, 'rb') as stream:
    data = stream.read()

fp = feedparser.parse(data)
with open(path, 'rb') as stream:
    pp = podcastparser.parse(address, stream)

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
    } for e in pp.get('episodes', [])],
}, ensure_ascii=False))
