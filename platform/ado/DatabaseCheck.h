// The check every database file passes before the engine reads or writes it: SQLite must know it
// as a database, and its integrity check must find nothing wrong. Opening a connection and
// making a compacted copy both run it, so a damaged file is never written to nor copied.
#pragma once

#include <string>

struct sqlite3;

namespace ado {

// Throws ado::Error (with the source given) unless the database open on db is sound:
// kUnspecifiedError "'PATH' is not a database file that can be read (...)." for a file the engine
// does not recognise, kDatabaseDamaged "'PATH' is damaged (SQLite reports: ...). " + consequence
// for a damaged one, and the engine's code when the check itself cannot run (a lock held too long).
void checkDatabase(sqlite3* db, const std::string& path, const std::string& source, const std::string& consequence);

// The two halves of checkDatabase: the cheap schema probe, and the integrity check that reads
// the whole file (the part worth running beside other reads).
void probeDatabase(sqlite3* db, const std::string& path, const std::string& source, const std::string& consequence);
void checkIntegrity(sqlite3* db, const std::string& path, const std::string& source, const std::string& consequence);

}  // namespace ado
