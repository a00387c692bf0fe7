// A file read in text mode (lines, CR LF read as LF) or binary mode (bytes).
#pragma once
#include <windows.h>

#include <string>

class CStdioFile {
  public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        shareDenyNone = 0x0040,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };

    CStdioFile() = default;
    ~CStdioFile() { Close(); }
    CStdioFile(const CStdioFile&) = delete;
    CStdioFile& operator=(const CStdioFile&) = delete;

    // Opens an existing file for reading; flags: modeRead with typeText or typeBinary.
    BOOL Open(const char* path, UINT flags);
    void Close();
    bool IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }

    // The next line, of any length, without its line end. FALSE at the end of
    // the file when nothing was left to read.
    BOOL ReadString(std::string& line);
    // Up to count bytes; the number read, 0 at the end of the file.
    UINT Read(void* buffer, UINT count);

  private:
    // The next byte as read in the file's mode, or -1 at the end.
    int NextByte();
    int RawByte();

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    bool m_bText = false;
    char m_buffer[4096];
    DWORD m_nFilled = 0;
    DWORD m_nNext = 0;
    int m_nPending = -1; // a byte read ahead after a CR
};
