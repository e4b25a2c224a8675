// UpdateHint: what the document asks of its views when it updates them. The number is the
// update hint the document has always sent; a view acts on the hints it knows.
#pragma once

enum class UpdateHint : int {
    DatabaseOpened = 1,  // a database was opened or re-opened: reload everything
};
