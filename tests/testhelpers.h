#pragma once

// Helpers that tests of several folders share.

#include "runtime/formatsettings.h"
#include "runtime/messages.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QProcess>
#include <QStringList>
#include <QTest>

namespace tk::test {

// Switches the runtime's separators to those of a locale with this decimal separator: ","
// with " " between thousands, "." with ",".
inline void useSeparators(QChar decimal)
{
    rt::FormatSettings s;
    s.decimalSeparator = decimal;
    s.thousandSeparator = decimal == QLatin1Char(',') ? QLatin1Char(' ') : QLatin1Char(',');
    rt::setFormatSettings(s);
}

// The file's bytes; empty, with *ok false, when it cannot be read.
inline QByteArray readFile(const QString &path, bool *ok = nullptr)
{
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (ok)
        *ok = opened;
    return opened ? file.readAll() : QByteArray();
}

// False when the file cannot be written whole.
// The rows of a fuzz corpus's replay, one per file of the folder in name order: its "bytes" and
// its "verdict", 1 for an "ok-" seed, 0 for a "bad-" one, -1 for a find saved by the fuzzer, which
// tells nothing but must not crash the target. Returns how many files, -1 when one is unreadable.
inline int addCorpusRows(const QString &folder)
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("verdict");
    int seeds = 0;
    for (const QFileInfo &f : QDir(folder).entryInfoList(QDir::Files, QDir::Name)) {
        bool read = false;
        const QByteArray bytes = readFile(f.filePath(), &read);
        if (!read)
            return -1;
        const int verdict = f.fileName().startsWith(u"ok-") ? 1 : f.fileName().startsWith(u"bad-") ? 0 : -1;
        QTest::newRow(qPrintable(f.fileName())) << bytes << verdict;
        ++seeds;
    }
    return seeds;
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The standard output of a program run to its end, as UTF-8 text; empty when it did not run.
inline QString toolOutput(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Records the messages the program would show, from its construction until its destruction,
// which puts the handler installed before back.
class MessageRecorder
{
public:
    MessageRecorder() : m_previous(rt::setMessageHandler(recorder())) {}
    ~MessageRecorder() { rt::setMessageHandler(m_previous); }
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    // Records again after a test has let another handler show messages.
    void install() { rt::setMessageHandler(recorder()); }
    void clear() { m_messages.clear(); }

    bool isEmpty() const { return m_messages.isEmpty(); }
    qsizetype size() const { return m_messages.size(); }
    const rt::Message &operator[](qsizetype i) const { return m_messages.at(i); }
    QStringList texts() const
    {
        QStringList out;
        for (const rt::Message &m : m_messages)
            out << m.text;
        return out;
    }

private:
    rt::MessageHandler recorder()
    {
        return [this](const rt::Message &m) { m_messages.append(m); };
    }

    QList<rt::Message> m_messages;
    rt::MessageHandler m_previous;
};

#ifdef QT_WIDGETS_LIB
// Types the text one character at a time, any character: QTest::keyClicks aborts on
// characters it has no key for (ő, ű and the like).
inline void typeText(QWidget *widget, QStringView text)
{
    for (QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}
#endif

} // namespace tk::test
