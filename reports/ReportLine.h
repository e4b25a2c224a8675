// ReportLine: one line of a report's body, worked out with its sums before any page is drawn, so a
// page shows the same figures whenever and however often it is drawn.
#pragma once

#include <string>
#include <vector>

struct ReportLine {
    enum class Kind {
        Heading,   // bold, from column 0 to the right edge: a group's key and description
        Row,       // regular, one text per column
        Subtotal,  // bold: rule, label and the group's sum
        Gap,       // one bold line of room
        Total,     // bold: label, the top group's sum and its rule
    };
    Kind kind = Kind::Row;
    std::vector<std::string> cells;  // Row: a text per column
    std::string text;                // Heading: the text; Subtotal, Total: the label
    std::string amount;              // Subtotal, Total: the sum, formatted
    int ruleColumn = 1;              // Subtotal: where its rule starts
    int amountColumn = 0;            // Subtotal, Total: where the sum stands
    int heading = -1;                // the index of the heading of the line's group; -1 for none
    int top = 0;                     // the top group (a year, the project): each starts a page
};
