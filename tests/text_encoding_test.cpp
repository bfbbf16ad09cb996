#include "app/core/text_encoding.h"

#include <gtest/gtest.h>

#include <limits>

#include "app/cli/json_writer.h"
#include "support/run_program.h"

namespace korvalend {
namespace {

TEST(DisplayText, Utf8StaysAndOtherBytesAreWindows1252) {
    struct Case {
        std::string bytes;
        std::string shown;
    };
    const Case cases[] = {
        {"CMC Magnetics", "CMC Magnetics"},
        {"Datentr\xC3\xA4ger", "Datentr\xC3\xA4ger"},        // valid UTF-8 stays
        {"Datentr\xE4ger", "Datentr\xC3\xA4ger"},            // 1252 a-umlaut
        {"\x80 and \x99", "\xE2\x82\xAC and \xE2\x84\xA2"},  // euro, trade mark
        {"undefined \x81", "undefined \xEF\xBF\xBD"},        // a hole in the code page
        {"tab\tand\nline", "tab\tand\nline"},
        {std::string("nul\0byte", 8),
         "nul\xEF\xBF\xBD"
         "byte"},  // controls never pass
        {"esc\x1B[2J", "esc\xEF\xBF\xBD[2J"},
        {"\xC3", "\xC3\x83"},                              // cut UTF-8 sequence: 1252
        {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},  // surrogate is not UTF-8
        {"\xF0\x9F\x92\xBF", "\xF0\x9F\x92\xBF"},          // four-byte UTF-8
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(DisplayText(c.bytes), c.shown);
        EXPECT_TRUE(IsValidUtf8(DisplayText(c.bytes)));
    }
}

TEST(JsonWriter, EscapesAndStaysValid) {
    cli::JsonWriter json;
    json.BeginObject();
    json.String("maker", "Quote \" back\\slash \xE4 \x01");
    json.Number("half", 2.5, 1);
    json.Number("nan", std::numeric_limits<double>::quiet_NaN(), 1);
    json.BeginArray("empty");
    json.EndArray();
    json.BeginObject("inner");
    json.Null("nothing");
    json.EndObject();
    json.EndObject();
    EXPECT_TRUE(test::IsValidJson(json.Text())) << json.Text();
    EXPECT_NE(json.Text().find(R"("Quote \" back\\slash )"
                               "\xC3\xA4"
                               " \xEF\xBF\xBD\""),
              std::string::npos)
        << json.Text();
}

}  // namespace
}  // namespace korvalend
