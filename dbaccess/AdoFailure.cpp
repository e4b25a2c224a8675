// The kinds of failure callers tell apart.
#include "dbaccess/AdoFailure.h"

#include "platform/ado/Error.h"

bool AdoFailure::IsDamagedFile() const { return code == ado::kDatabaseDamaged; }

bool AdoFailure::IsLockedByAnother() const { return code == ado::kDatabaseLocked; }
