#include "controls/richtext/rtfreader.h"

#include "codepage_p.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <span>
#include <utility>

namespace rtf {

QFont ReadOptions::defaultRtfFont()
{
    QFont f(QStringLiteral("Times New Roman"));
    f.setPointSizeF(12);
    return f;
}

namespace {

// Limits that keep hostile numbers from turning into absurd layouts.
constexpr int maxTwips = 31680;        // 22 inches
constexpr int maxHalfPoints = 3276;    // 1638 points
constexpr int maxTableEntries = 1024;  // fonts, colours, styles
constexpr int maxTabs = 64;
constexpr int maxWordLength = 32;
constexpr int maxDigits = 10;

int clampInt(long long v, int lo, int hi)
{
    return int(std::clamp<long long>(v, lo, hi));
}

enum class Dest {
    Body,
    Skip,
    FontTable,
    FontAltName,
    ColorTable,
    StyleSheet,
};

enum class VAlign { Normal, Super, Sub };

// Control words that stand for one character.
constexpr std::pair<QByteArrayView, char16_t> characterWords[] = {
    {"line", 0x2028},     {"tab", u'\t'},       {"lquote", 0x2018},  {"rquote", 0x2019},
    {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"bullet", 0x2022}, {"endash", 0x2013},
    {"emdash", 0x2014},   {"emspace", u' '},     {"enspace", u' '},   {"qmspace", u' '},
};

struct CharState
{
    int font = -1;
    int halfPoints = 0;  // 0: the default font's size
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    VAlign valign = VAlign::Normal;
    int up = 0;          // half-points, negative lowers (\dn)
    int colour = 0;      // colour table index, 0 = automatic

    bool operator==(const CharState &) const = default;
};

struct ParaState
{
    int li = 0;
    int fi = 0;
    int ri = 0;
    int sb = 0;
    int sa = 0;
    Qt::Alignment align = Qt::AlignLeft;
    QList<int> tabs;
    int sl = 0;
    bool slmult = false;
    bool keepn = false;
    int style = 0;
};

struct Group
{
    Dest dest = Dest::Body;
    CharState ch;
    ParaState para;
    int uc = 1;
    int styleIndex = 0; // the style being defined, inside the style sheet
};

struct FontEntry
{
    QString name;
    QString altName;
    int charset = -1;
};

struct StyleEntry
{
    QString name;
    CharState ch;
    ParaState para;
};

class Reader
{
public:
    Reader(QByteArrayView data, QTextDocument &doc, const ReadOptions &options)
        : m_data(data), m_doc(doc), m_options(options), m_cursor(&doc)
    {
    }

    ReadResult run();

private:
    Group &g() { return m_stack.back(); }
    void fail(const QString &message, qsizetype offset);
    void readControl();
    // A control word's parameter: absent (value 0) or a number.
    struct WordParam
    {
        bool present = false;
        int value = 0;
        // The toggle rule: \b and \b1 switch on, \b0 switches off.
        bool on() const { return !present || value != 0; }
        int clamped(int lo, int hi) const { return clampInt(value, lo, hi); }
    };
    using WordAction = void (*)(Reader &reader, Group &group, WordParam param);
    struct WordEntry
    {
        QByteArrayView word;
        WordAction action;
    };
    // What each control word does in the colour table, in the font table and in text.
    static std::span<const WordEntry> colourTableWords();
    static std::span<const WordEntry> fontTableWords();
    static std::span<const WordEntry> textWords();
    void setColourComponent(void (QColor::*setter)(int), WordParam param);

    void handleWord(QByteArrayView word, bool hasParam, int param);
    bool handleDestination(QByteArrayView word);
    void handleSymbol(char c);
    void handleByte(unsigned char c);
    void addChar(char16_t c);
    void addText(QChar c);
    bool consumeFallback();
    void openGroup();
    void closeGroup();
    void endParagraph();
    void ensureBlock();
    void flushRun();
    void finish();
    void setDefaultTab(int twips);
    CodePage currentCodePage() const;
    QTextCharFormat charFormat(const CharState &ch) const;
    QTextBlockFormat blockFormat(const ParaState &para) const;
    QStringList fontFamilies(int font) const;
    void finishFontEntry();
    void finishStyleEntry(const Group &entry);

    QByteArrayView m_data;
    qsizetype m_pos = 0;
    QTextDocument &m_doc;
    const ReadOptions &m_options;
    QTextCursor m_cursor;
    ReadResult m_result;

    QList<Group> m_stack;
    qsizetype m_skippedDepth = 0; // groups nested beyond the depth limit
    bool m_started = false;   // the document's outer group has been opened
    bool m_ended = false;     // ... and closed again

    CodePage m_docCodePage = CodePage::Cp1250;
    int m_defaultFont = -1;
    QHash<int, FontEntry> m_fonts;
    int m_fontEntry = -1;
    QString m_fontName;
    QString m_fontAltName;
    int m_fontCharset = -1;
    QList<QColor> m_colours;   // invalid colour = automatic
    bool m_colourSet = false;
    QColor m_colour;
    QHash<int, StyleEntry> m_styles;
    QString m_styleName;

    QString m_run;
    CharState m_runState;
    bool m_pendingBreak = false;
    bool m_blockHasText = false;
    int m_fallbackLeft = 0;
};

void Reader::fail(const QString &message, qsizetype offset)
{
    if (!m_result.ok)
        return;
    m_result.ok = false;
    m_result.errorString = message;
    m_result.errorOffset = offset;
}

ReadResult Reader::run()
{
    m_doc.clear();
    m_doc.setDefaultFont(m_options.defaultFont);
    setDefaultTab(720);
    m_cursor = QTextCursor(&m_doc);
    m_stack.append(Group{});

    qsizetype start = 0;
    while (start < m_data.size() && (m_data[start] == ' ' || m_data[start] == '\r' || m_data[start] == '\n'))
        ++start;
    if (!m_data.sliced(start).startsWith("{\\rtf"))
        fail(QStringLiteral("The text does not start as an RTF document."), start);

    while (m_pos < m_data.size() && !m_ended) {
        const unsigned char c = static_cast<unsigned char>(m_data[m_pos]);
        if (m_skippedDepth > 0) {
            // Inside groups beyond the depth limit: only braces count.
            ++m_pos;
            if (c == '{')
                ++m_skippedDepth;
            else if (c == '}')
                --m_skippedDepth;
            else if (c == '\\' && m_pos < m_data.size())
                ++m_pos;
            continue;
        }
        switch (c) {
        case '{':
            ++m_pos;
            openGroup();
            break;
        case '}':
            ++m_pos;
            closeGroup();
            break;
        case '\\':
            readControl();
            break;
        default:
            ++m_pos;
            handleByte(c);
            break;
        }
    }
    if (!m_ended) {
        if (m_started)
            fail(QStringLiteral("The document ends before its closing brace."), m_data.size());
        finish();
    }
    return m_result;
}

void Reader::openGroup()
{
    m_fallbackLeft = 0;
    if (m_stack.size() > m_options.maxDepth) {
        fail(QStringLiteral("Groups are nested too deeply."), m_pos - 1);
        m_skippedDepth = 1;
        return;
    }
    m_started = true;
    Group inner = g();
    if (inner.dest == Dest::StyleSheet) {
        // A style sheet entry starts from nothing.
        inner.ch = CharState{};
        inner.para = ParaState{};
        inner.styleIndex = 0;
        m_styleName.clear();
    }
    m_stack.append(inner);
}

void Reader::closeGroup()
{
    m_fallbackLeft = 0;
    if (m_stack.size() <= 1) {
        fail(QStringLiteral("A closing brace has no opening brace."), m_pos - 1);
        return;
    }
    if (m_stack.size() == 2) {
        // The document's own group: its last paragraph takes the properties in force here.
        finish();
        m_ended = true;
    }
    const Group closed = m_stack.takeLast();
    if (closed.dest == Dest::FontTable && g().dest == Dest::FontTable)
        finishFontEntry();
    else if (closed.dest == Dest::StyleSheet && !m_styleName.isEmpty()) // an entry without its ';'
        finishStyleEntry(closed);
}

void Reader::readControl()
{
    const qsizetype start = m_pos;
    ++m_pos; // the backslash
    if (m_pos >= m_data.size()) {
        fail(QStringLiteral("The text ends inside a control word."), start);
        return;
    }
    const char first = m_data[m_pos];
    if (!((first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z'))) {
        ++m_pos;
        if (first == '\'') {
            int value = 0;
            int digits = 0;
            while (digits < 2 && m_pos < m_data.size()) {
                const char h = m_data[m_pos];
                int d = -1;
                if (h >= '0' && h <= '9')
                    d = h - '0';
                else if (h >= 'a' && h <= 'f')
                    d = h - 'a' + 10;
                else if (h >= 'A' && h <= 'F')
                    d = h - 'A' + 10;
                if (d < 0)
                    break;
                value = value * 16 + d;
                ++digits;
                ++m_pos;
            }
            if (digits < 2) {
                fail(QStringLiteral("A hexadecimal escape is cut short."), start);
                return;
            }
            if (consumeFallback())
                return;
            if (g().dest == Dest::Body || g().dest == Dest::FontTable || g().dest == Dest::FontAltName
                || g().dest == Dest::StyleSheet)
                addChar(decodeByte(static_cast<unsigned char>(value), currentCodePage()));
            return;
        }
        handleSymbol(first);
        return;
    }

    const qsizetype wordStart = m_pos;
    while (m_pos < m_data.size()) {
        const char c = m_data[m_pos];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
            break;
        ++m_pos;
    }
    // Overlong words are no words we know; they are read whole and ignored.
    QByteArrayView word = m_data.sliced(wordStart, m_pos - wordStart);
    if (word.size() > maxWordLength)
        word = QByteArrayView("?");

    bool hasParam = false;
    bool negative = false;
    long long value = 0;
    if (m_pos < m_data.size() && m_data[m_pos] == '-') {
        negative = true;
        ++m_pos;
    }
    int digits = 0;
    while (m_pos < m_data.size() && m_data[m_pos] >= '0' && m_data[m_pos] <= '9') {
        if (digits < maxDigits)
            value = value * 10 + (m_data[m_pos] - '0');
        ++digits;
        ++m_pos;
    }
    hasParam = digits > 0;
    if (negative && !hasParam)
        negative = false; // a lone hyphen after a word is just a delimiter we drop
    if (m_pos < m_data.size() && m_data[m_pos] == ' ')
        ++m_pos;
    const int param = clampInt(negative ? -value : value, -2147483647, 2147483647);

    if (m_fallbackLeft > 0 && word != "bin") {
        --m_fallbackLeft;
        return;
    }
    handleWord(word, hasParam, param);
}

bool Reader::consumeFallback()
{
    if (m_fallbackLeft <= 0)
        return false;
    --m_fallbackLeft;
    return true;
}

void Reader::handleSymbol(char c)
{
    if (c == '*') {
        // An optional destination: read on only when it is one we know.
        qsizetype p = m_pos;
        while (p < m_data.size() && (m_data[p] == ' ' || m_data[p] == '\r' || m_data[p] == '\n'))
            ++p;
        if (p + 1 < m_data.size() && m_data[p] == '\\') {
            qsizetype e = p + 1;
            while (e < m_data.size()
                   && ((m_data[e] >= 'a' && m_data[e] <= 'z') || (m_data[e] >= 'A' && m_data[e] <= 'Z')))
                ++e;
            const QByteArrayView word = m_data.sliced(p + 1, e - p - 1);
            if (g().dest == Dest::FontTable && (word == "fname" || word == "falt"))
                return; // the control word that follows switches the destination
        }
        g().dest = Dest::Skip;
        return;
    }
    if (consumeFallback())
        return;
    switch (c) {
    case '\\':
    case '{':
    case '}':
        addChar(char16_t(c));
        break;
    case '~':
        addChar(0x00A0);
        break;
    case '-':
        addChar(0x00AD);
        break;
    case '_':
        addChar(0x2011);
        break;
    case '\r':
    case '\n':
        if (g().dest == Dest::Body)
            endParagraph();
        break;
    case '\t':
        addChar(u'\t');
        break;
    default:
        break; // \| \: and unknown symbols
    }
}

bool Reader::handleDestination(QByteArrayView w)
{
    static const QByteArrayView skipped[] = {
        "info", "pict", "object", "header", "headerl", "headerr", "headerf", "footer", "footerl",
        "footerr", "footerf", "footnote", "annotation", "atnid", "atnauthor", "fldinst", "themedata",
        "colorschememapping", "datastore", "latentstyles", "listtable", "listoverridetable",
        "revtbl", "rsidtbl", "filetbl", "xmlnstbl", "generator", "mmathPr", "nonshppict",
        "shppict", "bkmkstart", "bkmkend", "pntext", "pntxta", "pntxtb", "xe", "tc", "template",
        "userprops", "docvar", "private", "blipuid", "panose",
    };
    if (w == "fonttbl") {
        g().dest = Dest::FontTable;
        m_fontEntry = -1;
        return true;
    }
    if (w == "colortbl") {
        g().dest = Dest::ColorTable;
        m_colours.clear();
        m_colourSet = false;
        m_colour = QColor(0, 0, 0);
        return true;
    }
    if (w == "stylesheet") {
        g().dest = Dest::StyleSheet;
        g().ch = CharState{};
        g().para = ParaState{};
        m_styleName.clear();
        return true;
    }
    if ((w == "fname" || w == "falt") && g().dest == Dest::FontTable) {
        g().dest = Dest::FontAltName;
        m_fontAltName.clear();
        return true;
    }
    for (QByteArrayView s : skipped) {
        if (w == s) {
            g().dest = Dest::Skip;
            return true;
        }
    }
    return false;
}

void Reader::handleWord(QByteArrayView word, bool hasParam, int param)
{
    if (word == "bin") {
        // Binary data: its bytes are no RTF, whatever they look like.
        const qsizetype n = hasParam ? std::max(0, param) : 0;
        m_pos = std::min<qsizetype>(m_data.size(), m_pos + n);
        return;
    }
    if (g().dest == Dest::Skip)
        return;
    if (handleDestination(word))
        return;

    // The colour and font tables read only their own words; everywhere else text words apply.
    // Words in no table (\viewkind, \lang, \fprq, \rtf, ...) do not change what we show.
    const Dest dest = g().dest;
    const std::span<const WordEntry> table = dest == Dest::ColorTable ? colourTableWords()
                                             : dest == Dest::FontTable ? fontTableWords()
                                                                       : textWords();
    for (const WordEntry &entry : table) {
        if (entry.word == word) {
            entry.action(*this, g(), WordParam{hasParam, param});
            return;
        }
    }
    if (dest == Dest::ColorTable || dest == Dest::FontTable)
        return;
    for (const auto &[name, character] : characterWords) {
        if (name == word) {
            addChar(character);
            return;
        }
    }
}

void Reader::setColourComponent(void (QColor::*setter)(int), WordParam param)
{
    (m_colour.*setter)(param.clamped(0, 255));
    m_colourSet = true;
}

std::span<const Reader::WordEntry> Reader::colourTableWords()
{
    static const WordEntry words[] = {
        {"red", [](Reader &r, Group &, WordParam p) { r.setColourComponent(&QColor::setRed, p); }},
        {"green", [](Reader &r, Group &, WordParam p) { r.setColourComponent(&QColor::setGreen, p); }},
        {"blue", [](Reader &r, Group &, WordParam p) { r.setColourComponent(&QColor::setBlue, p); }},
    };
    return words;
}

// Families, pitch, panose and the like do not change how we draw.
std::span<const Reader::WordEntry> Reader::fontTableWords()
{
    static const WordEntry words[] = {
        {"f", [](Reader &r, Group &, WordParam p) {
             if (r.m_fontEntry >= 0)
                 r.finishFontEntry();
             r.m_fontEntry = p.clamped(0, maxTableEntries - 1);
             r.m_fontName.clear();
             r.m_fontAltName.clear();
             r.m_fontCharset = -1;
         }},
        {"fcharset", [](Reader &r, Group &, WordParam p) { r.m_fontCharset = p.value; }},
    };
    return words;
}

std::span<const Reader::WordEntry> Reader::textWords()
{
    const WordAction underline = [](Reader &, Group &group, WordParam p) { group.ch.underline = p.on(); };
    const WordAction endParagraph = [](Reader &r, Group &group, WordParam) {
        if (group.dest == Dest::Body)
            r.endParagraph();
    };
    static const WordEntry words[] = {
        // Document header.
        {"ansicpg", [](Reader &r, Group &, WordParam p) {
             r.m_docCodePage = codePageForAnsiCpg(p.value, r.m_docCodePage);
         }},
        {"deftab", [](Reader &r, Group &, WordParam p) { r.setDefaultTab(p.clamped(15, maxTwips)); }},
        {"deff", [](Reader &r, Group &, WordParam p) { r.m_defaultFont = p.clamped(0, maxTableEntries - 1); }},
        {"uc", [](Reader &, Group &group, WordParam p) { group.uc = p.clamped(0, 10); }},
        {"u", [](Reader &r, Group &group, WordParam p) {
             const int code = p.value < 0 ? p.value + 65536 : p.value;
             r.addChar(code >= 0 && code <= 0xFFFF ? char16_t(code) : char16_t(0xFFFD));
             r.m_fallbackLeft = group.uc;
         }},
        // Character formatting.
        {"plain", [](Reader &, Group &group, WordParam) { group.ch = CharState{}; }},
        {"f", [](Reader &, Group &group, WordParam p) { group.ch.font = p.clamped(0, maxTableEntries - 1); }},
        {"fs", [](Reader &, Group &group, WordParam p) {
             group.ch.halfPoints = p.present ? p.clamped(1, maxHalfPoints) : 24;
         }},
        {"b", [](Reader &, Group &group, WordParam p) { group.ch.bold = p.on(); }},
        {"i", [](Reader &, Group &group, WordParam p) { group.ch.italic = p.on(); }},
        {"ul", underline},
        {"uld", underline},
        {"uldb", underline},
        {"ulw", underline},
        {"uldash", underline},
        {"ulth", underline},
        {"ulnone", [](Reader &, Group &group, WordParam) { group.ch.underline = false; }},
        {"strike", [](Reader &, Group &group, WordParam p) { group.ch.strike = p.on(); }},
        {"super", [](Reader &, Group &group, WordParam) { group.ch.valign = VAlign::Super; }},
        {"sub", [](Reader &, Group &group, WordParam) { group.ch.valign = VAlign::Sub; }},
        {"nosupersub", [](Reader &, Group &group, WordParam) { group.ch.valign = VAlign::Normal; }},
        {"up", [](Reader &, Group &group, WordParam p) { group.ch.up = p.present ? p.clamped(-200, 200) : 6; }},
        {"dn", [](Reader &, Group &group, WordParam p) { group.ch.up = -(p.present ? p.clamped(-200, 200) : 6); }},
        {"cf", [](Reader &, Group &group, WordParam p) { group.ch.colour = p.clamped(0, maxTableEntries - 1); }},
        // Paragraph formatting.
        {"pard", [](Reader &, Group &group, WordParam) { group.para = ParaState{}; }},
        {"s", [](Reader &r, Group &group, WordParam p) {
             const int index = p.clamped(0, maxTableEntries - 1);
             if (group.dest == Dest::StyleSheet) {
                 group.styleIndex = index;
                 return;
             }
             const auto it = r.m_styles.constFind(index);
             if (it != r.m_styles.constEnd()) {
                 group.para = it->para;
                 group.ch = it->ch;
             }
             group.para.style = index;
         }},
        {"li", [](Reader &, Group &group, WordParam p) { group.para.li = p.clamped(-maxTwips, maxTwips); }},
        {"fi", [](Reader &, Group &group, WordParam p) { group.para.fi = p.clamped(-maxTwips, maxTwips); }},
        {"ri", [](Reader &, Group &group, WordParam p) { group.para.ri = p.clamped(-maxTwips, maxTwips); }},
        {"sb", [](Reader &, Group &group, WordParam p) { group.para.sb = p.clamped(0, maxTwips); }},
        {"sa", [](Reader &, Group &group, WordParam p) { group.para.sa = p.clamped(0, maxTwips); }},
        {"ql", [](Reader &, Group &group, WordParam) { group.para.align = Qt::AlignLeft; }},
        {"qc", [](Reader &, Group &group, WordParam) { group.para.align = Qt::AlignHCenter; }},
        {"qr", [](Reader &, Group &group, WordParam) { group.para.align = Qt::AlignRight; }},
        {"qj", [](Reader &, Group &group, WordParam) { group.para.align = Qt::AlignJustify; }},
        {"tx", [](Reader &, Group &group, WordParam p) {
             if (group.para.tabs.size() < maxTabs)
                 group.para.tabs.append(p.clamped(0, maxTwips));
         }},
        {"sl", [](Reader &, Group &group, WordParam p) { group.para.sl = p.clamped(-maxTwips, maxTwips); }},
        {"slmult", [](Reader &, Group &group, WordParam p) { group.para.slmult = p.value != 0; }},
        {"keepn", [](Reader &, Group &group, WordParam p) { group.para.keepn = p.on(); }},
        // Breaks.
        {"par", endParagraph},
        {"sect", endParagraph},
        {"page", endParagraph},
    };
    return words;
}

void Reader::handleByte(unsigned char c)
{
    if (c == '\r' || c == '\n' || c == 0)
        return;
    if (consumeFallback())
        return;
    if (c == '\t') {
        addChar(u'\t');
        return;
    }
    if (c < 0x20)
        return;
    if (g().dest == Dest::FontTable || g().dest == Dest::FontAltName) {
        if (c == ';') {
            if (g().dest == Dest::FontTable)
                finishFontEntry();
            return;
        }
    } else if (g().dest == Dest::ColorTable) {
        if (c == ';') {
            if (m_colours.size() < maxTableEntries)
                m_colours.append(m_colourSet ? m_colour : QColor());
            m_colourSet = false;
            m_colour = QColor(0, 0, 0);
        }
        return;
    } else if (g().dest == Dest::StyleSheet) {
        if (c == ';') {
            finishStyleEntry(g());
            return;
        }
    }
    addChar(decodeByte(c, currentCodePage()));
}

void Reader::addChar(char16_t c)
{
    switch (g().dest) {
    case Dest::Body:
        addText(QChar(c));
        break;
    case Dest::FontTable:
        if (m_fontEntry >= 0 && m_fontName.size() < 256)
            m_fontName.append(QChar(c));
        break;
    case Dest::FontAltName:
        if (c != u';' && m_fontAltName.size() < 256)
            m_fontAltName.append(QChar(c));
        break;
    case Dest::StyleSheet:
        if (m_styleName.size() < 256)
            m_styleName.append(QChar(c));
        break;
    default:
        break;
    }
}

void Reader::addText(QChar c)
{
    if (!m_run.isEmpty() && !(g().ch == m_runState))
        flushRun();
    if (m_run.isEmpty())
        m_runState = g().ch;
    m_run.append(c);
}

void Reader::finishFontEntry()
{
    if (m_fontEntry < 0)
        return;
    if (m_fonts.size() < maxTableEntries || m_fonts.contains(m_fontEntry))
        m_fonts.insert(m_fontEntry, FontEntry{m_fontName.trimmed(), m_fontAltName.trimmed(), m_fontCharset});
    m_fontEntry = -1;
    m_fontName.clear();
    m_fontAltName.clear();
    m_fontCharset = -1;
}

void Reader::finishStyleEntry(const Group &entry)
{
    if (m_styles.size() < maxTableEntries || m_styles.contains(entry.styleIndex))
        m_styles.insert(entry.styleIndex, StyleEntry{m_styleName.trimmed(), entry.ch, entry.para});
    m_styleName.clear();
}

CodePage Reader::currentCodePage() const
{
    const int font = m_stack.back().dest == Dest::Body ? m_stack.back().ch.font : -1;
    const auto it = m_fonts.constFind(font >= 0 ? font : m_defaultFont);
    if (it != m_fonts.constEnd())
        return codePageForCharset(it->charset, m_docCodePage);
    return m_docCodePage;
}

QStringList Reader::fontFamilies(int font) const
{
    const auto it = m_fonts.constFind(font >= 0 ? font : m_defaultFont);
    if (it == m_fonts.constEnd())
        return {};
    QStringList families;
    // Central European variants of a font carry a " CE" suffix; the font itself covers them.
    QString name = it->name;
    if (name.endsWith(QStringLiteral(" CE")))
        families << name.chopped(3);
    if (!it->altName.isEmpty())
        families << it->altName;
    if (!name.isEmpty())
        families << name;
    families.removeDuplicates();
    return families;
}

QTextCharFormat Reader::charFormat(const CharState &ch) const
{
    QTextCharFormat f;
    QStringList families = fontFamilies(ch.font);
    if (families.isEmpty())
        families = m_options.defaultFont.families();
    if (families.isEmpty())
        families << m_options.defaultFont.family();
    f.setFontFamilies(families);
    qreal points = ch.halfPoints > 0 ? ch.halfPoints / 2.0 : m_options.defaultFont.pointSizeF();
    if (points <= 0) {
        // A default font given in pixels: at the layout's 96 dots per inch.
        const int px = m_options.defaultFont.pixelSize();
        points = px > 0 ? px * 72.0 / 96.0 : 12.0;
    }
    f.setFontPointSize(points);
    f.setFontWeight(ch.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(ch.italic);
    f.setFontUnderline(ch.underline);
    f.setFontStrikeOut(ch.strike);
    if (ch.valign == VAlign::Super)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (ch.valign == VAlign::Sub)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    else if (ch.up != 0)
        f.setBaselineOffset(ch.up / 2.0 / points * 100.0); // percent of the font's size
    if (ch.colour > 0 && ch.colour < m_colours.size() && m_colours.at(ch.colour).isValid())
        f.setForeground(m_colours.at(ch.colour));
    return f;
}

QTextBlockFormat Reader::blockFormat(const ParaState &pa) const
{
    // Twips to the layout's pixels at 96 dots per inch.
    auto px = [](int twips) { return twips / 15.0; };
    QTextBlockFormat f;
    f.setAlignment(pa.align);
    f.setLeftMargin(px(pa.li));
    f.setTextIndent(px(pa.fi));
    f.setRightMargin(px(pa.ri));
    f.setTopMargin(px(pa.sb));
    f.setBottomMargin(px(pa.sa));
    if (!pa.tabs.isEmpty()) {
        QList<QTextOption::Tab> tabs;
        QList<int> sorted = pa.tabs;
        std::sort(sorted.begin(), sorted.end());
        // RTF counts tab stops from the margin, the layout from where the line starts; tabs
        // stand almost always in a paragraph's first line (hanging indents), so count from there.
        const int firstLineStart = pa.li + pa.fi;
        for (int t : sorted)
            if (t > firstLineStart)
                tabs.append(QTextOption::Tab(px(t - firstLineStart), QTextOption::LeftTab));
        f.setTabPositions(tabs);
    }
    if (pa.sl != 0) {
        if (pa.slmult && pa.sl > 0)
            f.setLineHeight(pa.sl * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
        else if (pa.sl > 0)
            f.setLineHeight(px(pa.sl), QTextBlockFormat::MinimumHeight);
        else
            f.setLineHeight(px(-pa.sl), QTextBlockFormat::FixedHeight);
    }
    if (pa.keepn)
        f.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
    const auto it = m_styles.constFind(pa.style);
    if (pa.style > 0 && it != m_styles.constEnd()) {
        const QString &name = it->name;
        if (name.startsWith(QStringLiteral("heading "), Qt::CaseInsensitive)) {
            const int level = name.mid(8).toInt();
            if (level > 0 && level <= 6)
                f.setHeadingLevel(level);
        }
    }
    return f;
}

void Reader::ensureBlock()
{
    if (!m_pendingBreak)
        return;
    m_cursor.insertBlock(QTextBlockFormat(), charFormat(g().ch));
    m_pendingBreak = false;
    m_blockHasText = false;
}

void Reader::flushRun()
{
    if (m_run.isEmpty())
        return;
    ensureBlock();
    // Lone surrogates from \u would leave the text invalid.
    for (qsizetype i = 0; i < m_run.size(); ++i) {
        const QChar c = m_run.at(i);
        if (c.isHighSurrogate() && i + 1 < m_run.size() && m_run.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            m_run[i] = QChar(QChar::ReplacementCharacter);
    }
    m_cursor.insertText(m_run, charFormat(m_runState));
    m_run.clear();
    m_blockHasText = true;
}

void Reader::endParagraph()
{
    flushRun();
    ensureBlock();
    m_cursor.setBlockFormat(blockFormat(g().para));
    if (!m_blockHasText)
        m_cursor.setBlockCharFormat(charFormat(g().ch)); // an empty line is as high as its font
    m_pendingBreak = true;
}

void Reader::setDefaultTab(int twips)
{
    QTextOption option = m_doc.defaultTextOption();
    option.setTabStopDistance(twips / 15.0);
    m_doc.setDefaultTextOption(option);
}

void Reader::finish()
{
    flushRun();
    if (!m_pendingBreak && m_blockHasText)
        m_cursor.setBlockFormat(blockFormat(g().para));
}

} // namespace

ReadResult readRtf(QByteArrayView data, QTextDocument &document, const ReadOptions &options)
{
    Reader reader(data, document, options);
    return reader.run();
}

} // namespace rtf
