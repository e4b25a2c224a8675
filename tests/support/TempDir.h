// A fresh temporary folder for one test, removed with everything in it when the test ends.
#pragma once

#include <map>
#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;  // absolute path of the folder
};

// Whole-file helpers for tests.
std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
bool fileExists(const std::string& path);
// Everything below folder: relative name -> bytes ("" for a folder), to show that a failed
// write changed nothing and left no stray file.
std::map<std::string, std::string> folderContents(const std::string& folder);
