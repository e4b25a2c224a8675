// The ways a test database is damaged for the refusal tests, one table shared by every layer that
// must refuse such a file (engine, access layer, document, quillmar-db): a torn b-tree page of
// Expenses, a file cut short, and an index out of step with its rows in an otherwise sound file.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tests/support/TestDatabase.h"

struct Damage {
    const char* name;                                 // what happened to the file
    std::function<void(const TestDatabase&)> apply;   // does it to a filled database
    const char* report;                               // part of what SQLite reports about it
};

// Adds rows expenses to Expenses, enough of them to fill many pages of the table and its indexes.
void fillExpenses(const TestDatabase& db, int rows = 2000);

// Every kind of damage; each expects a database filled by fillExpenses.
const std::vector<Damage>& damages();

// A test database filled by fillExpenses, then damaged.
class DamagedDatabase : public TestDatabase {
public:
    explicit DamagedDatabase(const Damage& damage)
    {
        fillExpenses(*this);
        damage.apply(*this);
    }
};
