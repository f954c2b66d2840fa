#include "KestrelObjects/GameError.h"
#include "KestrelObjects/XMLDocLibrary.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <sstream>

namespace {
pugi::xml_document Parse(const char* text) {
    pugi::xml_document document;
    EXPECT_TRUE(document.load_string(text)) << text;
    return document;
}

std::string Xml(const pugi::xml_node& node) {
    std::ostringstream out;
    node.print(out, "", pugi::format_raw);
    return out.str();
}

// What a named element reads as with the default 52 (or 1.5): its value, or the failure.
QString ReadAsText(pugi::xml_node node, bool integer) {
    try {
        return integer ? QString::number(ReadInteger(node, 52)) : QString::number(ReadFloat(node, 1.5));
    } catch (const TGameError& e) {
        return e.Message();
    }
}
} // namespace

TEST(XmlTest, NamedValuesAreWrittenAsTheyAreReadBack) {
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("Root");
    WriteNamedInteger(root, QStringLiteral("MoveCount"), 17);
    WriteNamedInteger(root, QStringLiteral("Low"), INT32_MIN);
    WriteNamedFloat(root, QStringLiteral("ElapsedTime"), 12.5);
    EXPECT_EQ(Xml(root),
              "<Root><MoveCount><Integer>17</Integer></MoveCount><Low><Integer>-2147483648</Integer>"
              "</Low><ElapsedTime><Float>12.5</Float></ElapsedTime></Root>");
    EXPECT_EQ(ReadInteger(root.child("MoveCount"), 0), 17);
    EXPECT_EQ(ReadInteger(root.child("Low"), 0), INT32_MIN);
    EXPECT_EQ(ReadFloat(root.child("ElapsedTime"), 0), 12.5);

    // As a file holds them: indented, with blanks around the number, or as CDATA, and with a
    // namespace prefix on the type element.
    const auto file = Parse("<R><A>\n  <Integer> 42 </Integer>\n</A><B><Float><![CDATA[2.5]]></Float></B>"
                            "<C><t:Integer>-7</t:Integer></C></R>");
    EXPECT_EQ(ReadInteger(file.child("R").child("A"), 0), 42);
    EXPECT_EQ(ReadFloat(file.child("R").child("B"), 0), 2.5);
    EXPECT_EQ(ReadInteger(file.child("R").child("C"), 0), -7);
}

TEST(XmlTest, ReadsTheValueTheDefaultOrRefusesTheShape) {
    struct Case {
        const char* xml;
        bool integer;
        const char* result;
    };
    const Case cases[] = {
        {"<N><Integer/></N>", true, "52"},
        {"<N><Float></Float></N>", false, "1.5"},
        {"<N><Integer>   </Integer></N>", true, "52"}, // whitespace-only text is not kept
        {"<N><Float>12,5</Float></N>", false, "12.5"},
        {"<N><Float> -,5E-6 </Float></N>", false, "-5e-07"},
        {"<N><Float>+7.</Float></N>", false, "7"},
        {"<N><Float>2e+3</Float></N>", false, "2000"},
        {"<N><Integer>+5</Integer></N>", true, "5"},
        {"<N><Float>1.5</Float></N>", true, "Expected Integer. Found: Float"},
        {"<N><integer>3</integer></N>", true, "Expected Integer. Found: integer"},
        {"<N><Integer>3</Integer><Float>1</Float></N>", false, "Expected Float. Found: Integer"},
        {"<N>17</N>", true, "Expected Integer. Found: #text"},
        {"<N/>", true, "\"N\" holds no value: expected Integer"},
        {"<N></N>", false, "\"N\" holds no value: expected Float"},
        {"<N><Integer>12a</Integer></N>", true, "'12a' is not a valid integer value"},
        {"<N><Integer>1.0</Integer></N>", true, "'1.0' is not a valid integer value"},
        {"<N><Integer>2147483648</Integer></N>", true, "'2147483648' is not a valid integer value"},
        {"<N><Integer>-</Integer></N>", true, "'-' is not a valid integer value"},
        {"<N><Float>abc</Float></N>", false, "'abc' is not a valid floating point value"},
        {"<N><Float>1.2.3</Float></N>", false, "'1.2.3' is not a valid floating point value"},
        {"<N><Float>1,234.5</Float></N>", false, "'1,234.5' is not a valid floating point value"},
        {"<N><Float>1e999</Float></N>", false, "'1e999' is not a valid floating point value"},
        {"<N><Float>nan</Float></N>", false, "'nan' is not a valid floating point value"},
        {"<N><Float>1E</Float></N>", false, "'1E' is not a valid floating point value"},
    };
    for (const Case& c : cases) {
        const auto document = Parse(c.xml);
        EXPECT_EQ(ReadAsText(document.child("N"), c.integer), c.result) << c.xml;
    }
}

TEST(XmlTest, RealTextIsTheShortestFormWithAFullStop) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {12.5, "12.5"},
        {0, "0"},
        {100, "100"},
        {-2.25, "-2.25"},
        {0.1 + 0.2, "0.3"}, // 15 significant digits
        {83.123456, "83.123456"},
        {1.0 / 3.0, "0.333333333333333"},
        {0.00001, "0.00001"},
        {0.000012345, "0.000012345"},
        {0.000001, "1E-6"},
        {-0.0000025, "-2.5E-6"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {1.5e20, "1.5E20"},
        {999999999999999.9, "1E15"}, // rounds up to 16 integer digits
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FloatToStr(c.value), c.text) << c.text;
        EXPECT_EQ(StrToFloat(QString::fromLatin1(c.text)), QLocale::c().toDouble(QString::fromLatin1(c.text)))
            << c.text;
    }
}

TEST(XmlTest, RealsMoveBetweenMachinesWhateverTheirDecimalSeparator) {
    // The user's locale does not change what is written.
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    pugi::xml_document document;
    WriteNamedFloat(document, QStringLiteral("T"), 12.5);
    QLocale::setDefault(saved);
    EXPECT_EQ(Xml(document), "<T><Float>12.5</Float></T>");
}
