#include "XMLDocLibrary.h"

#include "GameError.h"

#include <QLocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {
// Digits carried by a real's text, as the general real format of the game has always used.
constexpr int RealDigits = 15;
// A value's text quoted in a message; a hostile file may hold a megabyte of it.
constexpr int QuotedTextMax = 64;

QString Quoted(const QString& text) {
    if (text.size() <= QuotedTextMax)
        return text;
    return text.left(QuotedTextMax) + QStringLiteral("...");
}

QByteArray Utf8(const QString& text) { return text.toUtf8(); }

pugi::xml_node AddElement(pugi::xml_node parent, const QString& name) {
    return parent.append_child(Utf8(name).constData());
}

void SetText(pugi::xml_node element, const QString& text) { element.text().set(Utf8(text).constData()); }

bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// [+-] digits [. digits] [(e|E) [+-] digits], with at least one mantissa digit.
bool IsRealText(const QString& t) {
    int i = 0;
    const int n = int(t.size());
    if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        ++i;
    int mantissaDigits = 0;
    while (i < n && IsDigit(t[i]))
        ++i, ++mantissaDigits;
    if (i < n && t[i] == QLatin1Char('.')) {
        ++i;
        while (i < n && IsDigit(t[i]))
            ++i, ++mantissaDigits;
    }
    if (mantissaDigits == 0)
        return false;
    if (i < n && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        ++i;
        if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            ++i;
        int exponentDigits = 0;
        while (i < n && IsDigit(t[i]))
            ++i, ++exponentDigits;
        if (exponentDigits == 0)
            return false;
    }
    return i == n;
}
} // namespace

QString FloatToStr(double value) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0)
        return QStringLiteral("0");
    // "%.14e" rounds to 15 significant digits: d.dddddddddddddde[+-]x. Only its digits and
    // exponent are used, so the point that LC_NUMERIC puts there does not matter.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", RealDigits - 1, value);
    const QString text = QString::fromLatin1(buffer);
    const bool negative = text.startsWith(QLatin1Char('-'));
    const int ePos = int(text.indexOf(QLatin1Char('e')));
    QString digits;
    for (int i = negative ? 1 : 0; i < ePos; ++i)
        if (IsDigit(text[i]))
            digits += text[i];
    const int exponent = text.mid(ePos + 1).toInt();
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);

    QString result = negative ? QStringLiteral("-") : QString();
    const bool fixed = exponent >= -5 && exponent < RealDigits;
    if (!fixed) {
        result += digits[0];
        if (digits.size() > 1)
            result += QLatin1Char('.') + digits.mid(1);
        result += QLatin1Char('E') + QString::number(exponent);
    } else if (exponent >= 0) {
        QString whole = digits.left(exponent + 1);
        while (whole.size() < exponent + 1)
            whole += QLatin1Char('0');
        result += whole;
        if (digits.size() > exponent + 1)
            result += QLatin1Char('.') + digits.mid(exponent + 1);
    } else {
        result += QStringLiteral("0.") + QString(-exponent - 1, QLatin1Char('0')) + digits;
    }
    return result;
}

double StrToFloat(const QString& text) {
    QString t = text.trimmed();
    // A file written where the comma is the decimal separator reads here too.
    if (t.count(QLatin1Char(',')) == 1 && !t.contains(QLatin1Char('.')))
        t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = IsRealText(t);
    double value = 0;
    if (ok)
        value = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(value))
        throw TGameError(QStringLiteral("'%1' is not a valid floating point value").arg(Quoted(text)));
    return value;
}

int32_t StrToInt(const QString& text) {
    const QString t = text.trimmed();
    bool ok = !t.isEmpty();
    for (int i = 0; ok && i < t.size(); ++i)
        ok = IsDigit(t[i]) ||
             (i == 0 && t.size() > 1 && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')));
    qlonglong value = 0;
    if (ok)
        value = t.toLongLong(&ok, 10);
    if (!ok || value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        throw TGameError(QStringLiteral("'%1' is not a valid integer value").arg(Quoted(text)));
    return int32_t(value);
}

QString LocalName(pugi::xml_node node) {
    switch (node.type()) {
    case pugi::node_element:
    case pugi::node_pi: {
        const QString name = QString::fromUtf8(node.name());
        return name.mid(name.lastIndexOf(QLatin1Char(':')) + 1);
    }
    case pugi::node_pcdata:
    case pugi::node_cdata:
        return QStringLiteral("#text");
    case pugi::node_comment:
        return QStringLiteral("#comment");
    default:
        return QString();
    }
}

QString ElementText(pugi::xml_node node) {
    QString text;
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            text += QString::fromUtf8(child.value());
    return text;
}

void WriteInteger(pugi::xml_node node, int32_t value) {
    SetText(AddElement(node, QStringLiteral("Integer")), QString::number(value));
}

void WriteFloat(pugi::xml_node node, double value) {
    SetText(AddElement(node, QStringLiteral("Float")), FloatToStr(value));
}

void WriteNamedInteger(pugi::xml_node parent, const QString& name, int32_t value) {
    WriteInteger(AddElement(parent, name), value);
}

void WriteNamedFloat(pugi::xml_node parent, const QString& name, double value) {
    WriteFloat(AddElement(parent, name), value);
}

bool ReadTypedValue(pugi::xml_node node, const QString& typeName, QString& value) {
    const pugi::xml_node child = node.first_child();
    if (!child)
        throw TGameError(QStringLiteral("\"%1\" holds no value: expected %2").arg(LocalName(node), typeName));
    const QString found = LocalName(child);
    if (found != typeName)
        throw TGameError(QStringLiteral("Expected ") + typeName + QStringLiteral(". Found: ") + found);
    const QString text = ElementText(child);
    if (text.isEmpty())
        return false;
    value = text;
    return true;
}

int32_t ReadInteger(pugi::xml_node node, int32_t def) {
    QString text;
    return ReadTypedValue(node, QStringLiteral("Integer"), text) ? StrToInt(text) : def;
}

double ReadFloat(pugi::xml_node node, double def) {
    QString text;
    return ReadTypedValue(node, QStringLiteral("Float"), text) ? StrToFloat(text) : def;
}
