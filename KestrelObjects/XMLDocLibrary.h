#pragma once

#include <QString>
#include <cstdint>
#include <pugixml.hpp>

// Single numbers kept in an XML document as a named element wrapping one element that names
// the value's type:
//
//   <MoveCount>              <ElapsedTime>
//     <Integer>17</Integer>    <Float>12.5</Float>
//   </MoveCount>             </ElapsedTime>
//
// The readers are handed the named element itself and check that the type is the expected one.
// Every failure throws TGameError carrying the reason; nothing here catches or keeps state.

// Adds <name><Integer>value</Integer></name> at the end of the parent's children.
void WriteNamedInteger(pugi::xml_node parent, const QString& name, int32_t value);
// Adds <name><Float>value</Float></name> at the end of the parent's children.
void WriteNamedFloat(pugi::xml_node parent, const QString& name, double value);
// Adds an "Integer" element holding the decimal text of the value.
void WriteInteger(pugi::xml_node node, int32_t value);
// Adds a "Float" element holding the value's text (FloatToStr).
void WriteFloat(pugi::xml_node node, double value);

// Checks that the node's first child is an element named exactly typeName (case-sensitive) and
// returns whether it holds any text, the text in value. Throws "Expected <type>. Found: <name>"
// on another first child, and refuses a node with no child at all.
bool ReadTypedValue(pugi::xml_node node, const QString& typeName, QString& value);
// The integer of a named integer element; the default when its "Integer" element is empty.
int32_t ReadInteger(pugi::xml_node node, int32_t def);
// The real of a named real element; the default when its "Float" element is empty.
double ReadFloat(pugi::xml_node node, double def);

// A real as text: up to 15 significant digits, the shortest form, always a full stop as the
// decimal separator so that a file reads the same on every machine; fixed notation from
// 0.00001 up to 15 integer digits, otherwise scientific with "E" (1E-6, 1.5E20).
QString FloatToStr(double value);
// The inverse of FloatToStr; the decimal separator may be a full stop or a comma, surrounding
// blanks are allowed. Throws "'<text>' is not a valid floating point value".
double StrToFloat(const QString& text);
// Decimal text of a signed 32-bit integer, surrounding blanks allowed. Throws
// "'<text>' is not a valid integer value".
int32_t StrToInt(const QString& text);

// The name of a node without any namespace prefix ("Integer" for <x:Integer>); "#text" for
// text content.
QString LocalName(pugi::xml_node node);
// The text directly inside an element (its text and CDATA children joined); empty when none.
QString ElementText(pugi::xml_node node);
