/* Marks the functions that libpalmsync.so exports. Everything else in the library is hidden, so
 * the HotSync host and the conduit library, which both link it, meet only through the C calls
 * and share the one connection state behind them. */
#pragma once

#if defined(__GNUC__)
#define PALMSYNC_API __attribute__((visibility("default")))
#else
#define PALMSYNC_API
#endif
