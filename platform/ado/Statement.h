// A prepared SQLite statement owned by a unique_ptr; every failing call throws ado::Error with
// the engine's message.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/ole/Variant.h"

struct sqlite3;
struct sqlite3_stmt;

namespace ado {

class Statement {
public:
    Statement() = default;
    Statement(sqlite3* db, std::string_view sql);

    explicit operator bool() const { return m_statement != nullptr; }
    sqlite3_stmt* get() const { return m_statement.get(); }

    void bind(int index, const ole::Variant& value);  // index from 1
    bool step();    // true while a row is ready, false when done
    void reset();   // ready to run again; bindings are cleared

    // Throws the engine's last error on db for the result code rc.
    [[noreturn]] static void raise(sqlite3* db, int rc);

private:
    struct Finalizer {
        void operator()(sqlite3_stmt* statement) const;
    };
    std::unique_ptr<sqlite3_stmt, Finalizer> m_statement;  // the compiled statement
    sqlite3* m_db = nullptr;                               // its connection, for messages
};

}  // namespace ado
