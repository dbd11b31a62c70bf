#pragma once

#include <QString>

#include <exception>

// An error raised out of a skin load; `message()` is the text the user sees.
class SkinError : public std::exception
{
public:
    explicit SkinError(QString message);
    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
