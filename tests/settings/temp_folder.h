// A folder of files that a test writes for the imports to read, removed with
// everything in it when the test ends.
#pragma once
#include <windows.h>

#include <string>

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's full path, without a trailing backslash.
    const std::string& Path() const { return path_; }
    // Full path of a name below the folder ("News\\a.url").
    std::string PathOf(const std::string& relative) const;

    // Creates a subfolder; its full path.
    std::string MakeFolder(const std::string& relative) const;
    // Writes a file with exactly these bytes; its full path.
    std::string WriteFile(const std::string& relative, const std::string& bytes) const;
    // Writes an Internet Shortcut naming address; its full path.
    std::string WriteShortcut(const std::string& relative, const std::string& address) const;
    // Writes a file whose full path may pass MAX_PATH (through the wide functions).
    bool WriteLongFile(const std::string& relative, const std::string& bytes) const;
    // Creates a subfolder whose full path may pass MAX_PATH.
    bool MakeLongFolder(const std::string& relative) const;

  private:
    std::string path_;
};

// The process's current directory.
std::string CurrentDirectory();
