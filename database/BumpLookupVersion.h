// The lookup-table version counter for the handheld: each lookup editor calls this when it is
// closed after a change, so the next sync knows to send the tables again.
#pragma once

class CADODataBase;

// Raises the "PalmUpdt" Major (1..10000, wrapping to 1) and clears Minor, unless Minor is
// already 0 (a newer version is still waiting for the handheld). Failures are silent.
void BumpLookupVersion(CADODataBase& db);
