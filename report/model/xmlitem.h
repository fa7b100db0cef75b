#pragma once

#include <QIODevice>
#include <QList>
#include <QString>

#include <memory>
#include <vector>

namespace rep {

// One name="value" pair of an attribute text.
struct TrepAttr
{
    QString name;
    QString value;
};
using TrepAttrList = QList<TrepAttr>;

// Escapes an attribute value: CR, LF, double quote, ampersand, less-than and greater-than
// become "&#<code>;". Everything else is kept as is.
QString escapeAttr(const QString &value);
// The reverse: every "&#<decimal>;" becomes its character (other text is kept).
QString unescapeAttr(const QString &text);
// Builds an attribute text: each pair as one blank, name, "=", the escaped value in double quotes.
QString attrText(const TrepAttrList &pairs);
void appendAttr(QString &text, QLatin1StringView name, const QString &value);
// Splits an attribute text back into pairs; a malformed tail is dropped.
TrepAttrList parseAttrText(QStringView text);

// A node of the item tree: an element name, an attribute text and child items. Stored objects
// are written as such trees.
class TrepXMLItem
{
public:
    explicit TrepXMLItem(QString name = QString(), QString text = QString())
        : m_name(std::move(name)), m_text(std::move(text)) {}

    const QString &name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    // The attribute text: pairs, each preceded by one blank, values escaped.
    const QString &text() const { return m_text; }
    void setText(const QString &text) { m_text = text; }

    // Case-insensitive attribute lookup; an empty string when missing.
    QString prop(const QString &name) const;
    void setProp(const QString &name, const QString &value);

    int count() const { return int(m_children.size()); }
    TrepXMLItem *child(int index) const { return m_children[size_t(index)].get(); }
    TrepXMLItem *add(const QString &name = QString(), const QString &text = QString());
    void addItem(std::unique_ptr<TrepXMLItem> item);
    std::unique_ptr<TrepXMLItem> takeAt(int index);
    // First child of that name (case-insensitive), or nullptr.
    TrepXMLItem *find(const QString &name) const;
    int indexOf(const QString &name) const;
    // The child of that name, created at the end when missing.
    TrepXMLItem *findOrCreate(const QString &name);
    void clear() { m_children.clear(); }

    // Written with ld="0": a reader may leave the item's subtree unread until it is needed.
    bool unloadable = false;

    // Writes the item and its subtree without line breaks or indentation. Characters that XML 1.0
    // cannot carry (C0 controls other than tab, LF and CR; U+FFFE, U+FFFF; lone surrogates)
    // become U+FFFD, and tabs are written as references so that readers keep them.
    void writeXml(QString &out) const;
    // The same, handing the text to `device` (UTF-8) whenever the buffer grows past a chunk.
    // Returns false when the device refused a write.
    bool writeXml(QString &buffer, QIODevice &device) const;
    // Reads an element tree written by writeXml (or by hand, with whitespace between elements).
    // Returns nullptr and sets error when the text is not well-formed.
    static std::unique_ptr<TrepXMLItem> readXml(const QByteArray &data, QString *error = nullptr);

private:
    QString m_name;
    QString m_text;
    std::vector<std::unique_ptr<TrepXMLItem>> m_children;
};

// Makes a text safe for XML 1.0 as described at writeXml.
QString xmlSafe(QStringView text);

} // namespace rep
