// The shared file as this sheet last saw it: its size and last write time,
// or that it did not exist. Another maintainer's write in between changes it.
#pragma once
#include <windows.h>

#include <string>

class SharedFileStamp {
  public:
    // Takes the file's stamp now, for path.
    void Remember(const std::string& path);
    // Whether the file at path is not as remembered: also when path was never
    // remembered and a file is there, whose content this sheet never saw.
    bool ChangedSince(const std::string& path) const;

  private:
    struct Stamp {
        bool exists = false;
        ULONGLONG size = 0;
        FILETIME written{};
    };
    static Stamp Take(const std::string& path);

    bool m_bKnown = false;
    std::string m_strPath;
    Stamp m_stamp;
};
