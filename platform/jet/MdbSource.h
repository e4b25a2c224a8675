// MdbSource: a Jet 3 or Jet 4 file read through libmdb (mdbtools), read-only. Only the database
// converter links it: a damaged file may bring the reader down, so it runs in a process of its own.
#pragma once

#include <string>

#include "platform/jet/JetSource.h"

namespace jet {

class MdbSource : public Source {
public:
    // Throws Error when path is not a Jet 3 or Jet 4 file or its catalog cannot be read.
    explicit MdbSource(const std::string& path);
    ~MdbSource() override;
    MdbSource(const MdbSource&) = delete;
    MdbSource& operator=(const MdbSource&) = delete;

    std::vector<std::string> TableNames() const override;
    std::unique_ptr<TableReader> OpenTable(const std::string& name) override;

private:
    struct Handle;
    std::unique_ptr<Handle> m_handle;  // the open file and its catalog
};

}  // namespace jet
