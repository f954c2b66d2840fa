#pragma once

#include <QString>
#include <stdexcept>

// A real failure of a command (a file that cannot be read or written, a value that does not
// convert). It ends the command; the main window shows its message and the program goes on.
class TGameError : public std::runtime_error {
public:
    explicit TGameError(const QString& message) : std::runtime_error(message.toStdString()), text(message) {}
    const QString& Message() const { return text; }

private:
    QString text;
};
