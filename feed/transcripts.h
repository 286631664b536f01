#pragma once

#include <QByteArray>
#include <QString>

// Transcripts published beside an episode: WebVTT or SubRip, checked before the feed names them.
namespace feed {

enum class TranscriptFormat { WebVtt, SubRip };

// A WebVTT file: "WEBVTT" first, then cues whose times parse, each ending after it starts and
// none starting before the one above it.
bool isWebVtt(const QByteArray &content);
// A SubRip file: numbered blocks, each with its "start --> end" line and its text, the starts in order.
bool isSubRip(const QByteArray &content);

bool isTranscript(TranscriptFormat format, const QByteArray &content);
// The MIME type the feed gives it.
QString transcriptType(TranscriptFormat format);

} // namespace feed
