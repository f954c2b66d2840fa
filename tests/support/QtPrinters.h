#pragma once

// Readable Qt values in test failure messages: texts and bytes as text, not as lists of code
// units. Included in every test file by the build.

#include <QByteArray>
#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
    *os << '"' << bytes.left(400).toStdString() << (bytes.size() > 400 ? "\"..." : "\"");
}
