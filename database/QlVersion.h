// QlVersion: the version table's two rows that carry meaning between the desktop program and the
// handheld sync. The "Quillmar" row says whether a file is an expense database this system
// accepts (Major 1 or more); the "PalmUpdt" row counts versions of the lookup tables (Major,
// 1..10000) and whether the handheld has the latest one (Minor 1) or a newer one waits (Minor 0).
// The desktop checks the format and bumps the counter; the sync checks both and marks delivery.
#pragma once

#include <cstdint>
#include <optional>

#include "dbaccess/CAdoRecordset.h"

class CADODataBase;

class QlVersion {
public:
    enum class Format {
        Accepted,    // the "Quillmar" row exists with Major 1 or more
        Unreadable,  // the table cannot be opened
        Refused,     // the row is missing or its Major is below 1
    };

    explicit QlVersion(CADODataBase& db);

    Format CheckFormat();
    // Major of the "PalmUpdt" row; none without that row (the lookups are then never sent).
    std::optional<std::uint16_t> LookupVersion();
    // After a change to a lookup table: Major + 1 (wrapping from 10000 to 1) and Minor 0, unless
    // Minor is already 0 (a newer version already waits). False when the row is missing or the
    // change could not be stored.
    [[nodiscard]] bool Bump();
    // After a complete send to the handheld: Minor 1. False when it could not be stored.
    [[nodiscard]] bool MarkDelivered();
    // The engine's report of the last failed read or write (empty when a row was only missing).
    const AdoFailure& LastFailure() const { return m_rs.LastFailure(); }

private:
    [[nodiscard]] bool FindRow(const char* criterion);

    CAdoRecordset m_rs;  // QlVersion, opened on first use
};

