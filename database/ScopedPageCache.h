// ScopedPageCache: a larger page cache on the connection for the length of one large write, then
// the size it had before. A bulk insert into a file of many expenses otherwise rereads the same
// index pages from the file thousands of times. Only a matter of speed: a connection that
// refuses either change works as before.
#pragma once

#include <string>

class CADODataBase;

// What a long read or a large write asks of the page cache, in KiB (SQLite takes it only as pages
// are read); SQLite's own default is 2000.
inline constexpr int kLargePageCacheKiB = 32768;
inline constexpr int kDefaultPageCacheKiB = 2000;

class ScopedPageCache {
public:
    explicit ScopedPageCache(CADODataBase& db);
    ~ScopedPageCache();
    ScopedPageCache(const ScopedPageCache&) = delete;
    ScopedPageCache& operator=(const ScopedPageCache&) = delete;

private:
    CADODataBase& m_db;
    std::string m_previous;  // the size to go back to; empty when it could not be read
};
