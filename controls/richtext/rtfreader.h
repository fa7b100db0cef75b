#pragma once

#include <QByteArrayView>
#include <QFont>
#include <QString>

class QTextDocument;

namespace rtf {

struct ReadOptions
{
    // Font of text whose RTF names no font or size (the control's own font).
    QFont defaultFont = defaultRtfFont();
    // Deepest group nesting read; deeper groups are skipped whole.
    int maxDepth = 200;

    static QFont defaultRtfFont();
};

struct ReadResult
{
    bool ok = true;
    // The first fault met, with its byte offset; reading went on past it where it could.
    QString errorString;
    qsizetype errorOffset = -1;
};

// Replaces the content of `document` by the RTF document in `data`. Malformed input never
// stops the reader: the result tells the first fault and the document holds all text that
// could be read. A paragraph mark at the very end opens no empty last paragraph.
ReadResult readRtf(QByteArrayView data, QTextDocument &document, const ReadOptions &options = {});

} // namespace rtf
