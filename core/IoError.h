#pragma once

#include <QString>

#include <stdexcept>

// A failed read or write of a text file or change of the current folder. It ends the running handler
// and is shown in the standard error box.
class IoError : public std::runtime_error
{
public:
    explicit IoError(const QString& message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {
    }
    const QString& message() const { return m_message; }

private:
    QString m_message;
};
