#pragma once

#include <QByteArray>
#include <QWidget>

#include <memory>

class QTextDocument;

namespace rtf {

// A caption showing one RTF document. It keeps no rendered image: every paint fills its
// background and draws the text into the rectangle from (1, 1) to its size, lines broken at
// the right edge and cut at the bottom edge.
class TRTFLabel : public QWidget
{
    Q_OBJECT
public:
    explicit TRTFLabel(QWidget *parent = nullptr);
    ~TRTFLabel() override;

    // A trailing NUL after the closing brace, as some stored texts have, is ignored.
    void setRichText(const QByteArray &rtf);
    QByteArray richText() const { return m_richText; }

    // Kept for the stored form; lines break at the right edge either way.
    void setWordWrap(bool on) { m_wordWrap = on; }
    bool wordWrap() const { return m_wordWrap; }

    void setTransparent(bool on);
    bool transparent() const { return m_transparent; }

    // The background; follows the parent's colour until set.
    void setColor(const QColor &colour);
    QColor color() const;

    static QString Version() { return QStringLiteral("1.3.0.0"); }

    // The laid-out document as the last paint drew it.
    QTextDocument &document();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QByteArray m_richText;
    bool m_wordWrap = false;
    bool m_transparent = false;
    QColor m_color;
    std::unique_ptr<QTextDocument> m_document;
    bool m_stale = true;
};

} // namespace rtf
