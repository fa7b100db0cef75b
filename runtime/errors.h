#pragma once

#include <QString>

#include <exception>

namespace rt {

// Base of every error the program raises; carries the text the user sees.
class Exception : public std::exception
{
public:
    explicit Exception(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// A text that is not a number in the locale's notation.
class EConvertError : public Exception
{
public:
    using Exception::Exception;
};

// The processor's invalid-operation error (an integer conversion out of range).
class EInvalidOp : public Exception
{
public:
    EInvalidOp() : Exception(QStringLiteral("Invalid floating point operation")) {}
};

// A silent abort: the default error display shows nothing for it.
class EAbort : public Exception
{
public:
    EAbort() : Exception(QStringLiteral("Operation aborted")) {}
};

// The message as the default error display shows it: a full stop is appended
// unless the last character already sorts at or before ".".
QString displayMessage(const QString &message);

} // namespace rt
