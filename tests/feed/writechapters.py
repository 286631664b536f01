"""Writes ID3 chapters into an MP3, as chapter editors do, with mutagen.

Usage: writechapters.py FILE JSON, JSON being {"toc": [ids] or null, "chapters": [{"id", "start",
"end", "title", "url"}]}, times in milliseconds; a chapter's "url" goes into a WXXX frame.
"""
import json
import sys

from mutagen.id3 import ID3, CHAP, CTOC, CTOCFlags, TIT2, WXXX

path, spec = sys.argv[1], json.loads(sys.argv[2])
tags = ID3(path)
for chapter in spec['chapters']:
    frames = [TIT2(encoding=3, text=[chapter['title']])]
    if chapter.get('url'):
        frames.append(WXXX(encoding=3, desc='', url=chapter['url']))
    tags.add(CHAP(element_id=chapter['id'], start_time=chapter['start'], end_time=chapter['end'],
                  sub_frames=frames))
if spec.get('toc') is not None:
    tags.add(CTOC(element_id='toc', flags=CTOCFlags.TOP_LEVEL | CTOCFlags.ORDERED,
                  child_element_ids=spec['toc'], sub_frames=[]))
tags.save(path)
