#include "report/model/xmlitem.h"

#include <QXmlStreamReader>

namespace rep {

QString escapeAttr(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '\r': out += QLatin1String("&#13;"); break;
        case '\n': out += QLatin1String("&#10;"); break;
        case '"': out += QLatin1String("&#34;"); break;
        case '&': out += QLatin1String("&#38;"); break;
        case '<': out += QLatin1String("&#60;"); break;
        case '>': out += QLatin1String("&#62;"); break;
        default: out += c;
        }
    }
    return out;
}

QString unescapeAttr(const QString &text)
{
    if (!text.contains(QLatin1Char('&')))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&') && i + 2 < text.size() && text.at(i + 1) == QLatin1Char('#')) {
            const qsizetype end = text.indexOf(QLatin1Char(';'), i + 2);
            if (end > i + 2) {
                bool ok = false;
                const uint code = QStringView(text).mid(i + 2, end - i - 2).toUInt(&ok);
                if (ok && code <= 0x10FFFF) {
                    if (code > 0xFFFF)
                        out += QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1);
                    else
                        out += QChar(char16_t(code));
                    i = end;
                    continue;
                }
            }
        }
        out += text.at(i);
    }
    return out;
}

void appendAttr(QString &text, QLatin1StringView name, const QString &value)
{
    text += QLatin1Char(' ');
    text += name;
    text += QLatin1String("=\"");
    text += escapeAttr(value);
    text += QLatin1Char('"');
}

QString attrText(const TrepAttrList &pairs)
{
    QString text;
    for (const TrepAttr &a : pairs) {
        text += QLatin1Char(' ');
        text += a.name;
        text += QLatin1String("=\"");
        text += escapeAttr(a.value);
        text += QLatin1Char('"');
    }
    return text;
}

TrepAttrList parseAttrText(QStringView text)
{
    TrepAttrList pairs;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        while (i < n && text.at(i).isSpace())
            ++i;
        if (i >= n)
            break;
        const qsizetype eq = text.indexOf(QLatin1Char('='), i);
        if (eq < 0 || eq + 1 >= n || text.at(eq + 1) != QLatin1Char('"'))
            break;
        const qsizetype close = text.indexOf(QLatin1Char('"'), eq + 2);
        if (close < 0)
            break;
        pairs.append({text.mid(i, eq - i).trimmed().toString(),
                      unescapeAttr(text.mid(eq + 2, close - eq - 2).toString())});
        i = close + 1;
    }
    return pairs;
}

QString TrepXMLItem::prop(const QString &name) const
{
    for (const TrepAttr &a : parseAttrText(m_text)) {
        if (a.name.compare(name, Qt::CaseInsensitive) == 0)
            return a.value;
    }
    return QString();
}

void TrepXMLItem::setProp(const QString &name, const QString &value)
{
    TrepAttrList pairs = parseAttrText(m_text);
    bool found = false;
    for (TrepAttr &a : pairs) {
        if (a.name.compare(name, Qt::CaseInsensitive) == 0) {
            a.value = value;
            found = true;
        }
    }
    if (!found)
        pairs.append({name, value});
    m_text = attrText(pairs);
}

TrepXMLItem *TrepXMLItem::add(const QString &name, const QString &text)
{
    m_children.push_back(std::make_unique<TrepXMLItem>(name, text));
    return m_children.back().get();
}

void TrepXMLItem::addItem(std::unique_ptr<TrepXMLItem> item)
{
    m_children.push_back(std::move(item));
}

std::unique_ptr<TrepXMLItem> TrepXMLItem::takeAt(int index)
{
    auto item = std::move(m_children[size_t(index)]);
    m_children.erase(m_children.begin() + index);
    return item;
}

int TrepXMLItem::indexOf(const QString &name) const
{
    for (size_t i = 0; i < m_children.size(); ++i) {
        if (m_children[i]->m_name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

TrepXMLItem *TrepXMLItem::find(const QString &name) const
{
    const int i = indexOf(name);
    return i < 0 ? nullptr : child(i);
}

TrepXMLItem *TrepXMLItem::findOrCreate(const QString &name)
{
    if (TrepXMLItem *item = find(name))
        return item;
    return add(name);
}

static bool xmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

QString xmlSafe(QStringView text)
{
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
            continue;
        }
        if (c == QLatin1Char('\t')) {
            // A literal tab in an attribute value is read back as a blank.
            out += QLatin1String("&#9;");
            continue;
        }
        if (c.isSurrogate() || !xmlChar(c.unicode()))
            out += QChar(char16_t(0xFFFD));
        else
            out += c;
    }
    return out;
}

void TrepXMLItem::writeXml(QString &out) const
{
    out += QLatin1Char('<');
    out += m_name;
    if (!m_text.isEmpty()) {
        if (!m_text.startsWith(QLatin1Char(' ')))
            out += QLatin1Char(' ');
        out += xmlSafe(m_text);
    }
    if (unloadable)
        out += QLatin1String(" ld=\"0\"");
    if (m_children.empty()) {
        out += QLatin1String("/>");
        return;
    }
    out += QLatin1Char('>');
    for (const auto &c : m_children)
        c->writeXml(out);
    out += QLatin1String("</");
    out += m_name;
    out += QLatin1Char('>');
}

static bool flushBuffer(QString &buffer, QIODevice &device)
{
    const QByteArray bytes = buffer.toUtf8();
    buffer.clear();
    return device.write(bytes) == bytes.size();
}

bool TrepXMLItem::writeXml(QString &buffer, QIODevice &device) const
{
    if (m_children.empty()) {
        writeXml(buffer);
    } else {
        // The element's start, its children one by one, then its end.
        TrepXMLItem shell(m_name, m_text);
        shell.unloadable = unloadable;
        QString start;
        shell.writeXml(start); // "<name .../>"
        start.chop(2);
        buffer += start;
        buffer += QLatin1Char('>');
        for (const auto &c : m_children) {
            if (!c->writeXml(buffer, device))
                return false;
        }
        buffer += QLatin1String("</");
        buffer += m_name;
        buffer += QLatin1Char('>');
    }
    if (buffer.size() > (1 << 20))
        return flushBuffer(buffer, device);
    return true;
}

std::unique_ptr<TrepXMLItem> TrepXMLItem::readXml(const QByteArray &data, QString *error)
{
    QXmlStreamReader reader(data);
    std::unique_ptr<TrepXMLItem> root;
    std::vector<TrepXMLItem *> stack;
    while (!reader.atEnd()) {
        const auto token = reader.readNext();
        if (token == QXmlStreamReader::StartElement) {
            TrepAttrList pairs;
            for (const QXmlStreamAttribute &a : reader.attributes())
                pairs.append({a.qualifiedName().toString(), a.value().toString()});
            QString text = attrText(pairs);
            const QString name = reader.name().toString();
            TrepXMLItem *item;
            if (stack.empty()) {
                root = std::make_unique<TrepXMLItem>(name, text);
                item = root.get();
            } else {
                item = stack.back()->add(name, text);
            }
            stack.push_back(item);
        } else if (token == QXmlStreamReader::EndElement) {
            stack.pop_back();
        }
    }
    if (reader.hasError() || !root) {
        if (error)
            *error = reader.hasError() ? reader.errorString() : QStringLiteral("empty document");
        return nullptr;
    }
    return root;
}

} // namespace rep
