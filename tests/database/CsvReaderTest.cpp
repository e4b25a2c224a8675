// Splitting CSV text into records: quoting, line ends, blank lines and the line each record
// starts on, which every refusal of an import names.
#include <gtest/gtest.h>

#include "database/CsvReader.h"

namespace {

// The records as "line:field|field" texts, one per record.
std::vector<std::string> Shown(const std::vector<csv::Record>& records)
{
    std::vector<std::string> shown;
    for (const csv::Record& record : records) {
        std::string text = std::to_string(record.line) + ":";
        for (std::size_t i = 0; i < record.fields.size(); ++i)
            text += (i ? "|" : "") + record.fields[i];
        shown.push_back(text);
    }
    return shown;
}

}  // namespace

TEST(CsvReader, RecordsAndTheLinesTheyStartOn)
{
    const struct {
        const char* text;
        std::vector<std::string> records;
    } cases[] = {
        {"a,b\r\nc,d", {"1:a|b", "2:c|d"}},                                     // no line end after the last
        {"a,b\n\n\r\nc\n", {"1:a|b", "4:c"}},                                   // blank lines are skipped
        {"\"x,\"\"y\"\"\",z\n", {"1:x,\"y\"|z"}},                               // a separator and doubled quotes inside quotes
        {"\"two\r\nlines\",1\nnext,2\n", {"1:two\r\nlines|1", "3:next|2"}},     // a quoted line end counts as a line
        {"a,\n,\n", {"1:a|", "2:|"}},                                           // empty fields at the end and alone
        {"a,", {"1:a|"}},                                                       // a separator last in the text
        {"\"\"\n", {"1:"}},                                                     // an empty quoted field is a record
        {"5\" disk,\"q\"x\"y\n", {"1:5\" disk|qx\"y"}},                        // quotes inside unquoted text are kept
        {"a\rb\rc", {"1:a", "2:b", "3:c"}},                                     // old Mac line ends
        {"a;b,c\n", {"1:a|b,c"}},                                               // only the given separator splits
    };
    for (const auto& c : cases) {
        const char separator = std::string(c.text).find(';') != std::string::npos ? ';' : ',';
        EXPECT_EQ(Shown(csv::Parse(c.text, separator)), c.records) << c.text;
    }
}

TEST(CsvReader, AnUnclosedQuoteIsRefusedAtTheLineItOpens)
{
    try {
        (void)csv::Parse("a,b\nc,\"open\nstill open\n", ',');
        FAIL() << "an unclosed quote was read";
    } catch (const csv::Error& refusal) {
        EXPECT_EQ(refusal.Line(), 2);
        EXPECT_STREQ(refusal.what(), "line 2: a quoted field is not closed");
    }
}
