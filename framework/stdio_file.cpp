#include "framework/stdio_file.h"

BOOL CStdioFile::Open(const char* path, UINT flags) {
    Close();
    m_hFile = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    m_bText = !(flags & typeBinary);
    m_nFilled = m_nNext = 0;
    m_nPending = -1;
    return IsOpen();
}

void CStdioFile::Close() {
    if (IsOpen())
        ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
}

int CStdioFile::RawByte() {
    if (m_nNext == m_nFilled) {
        m_nNext = m_nFilled = 0;
        if (!IsOpen() || !::ReadFile(m_hFile, m_buffer, sizeof m_buffer, &m_nFilled, nullptr) ||
            m_nFilled == 0) {
            m_nFilled = 0;
            return -1;
        }
    }
    return static_cast<unsigned char>(m_buffer[m_nNext++]);
}

int CStdioFile::NextByte() {
    if (m_nPending >= 0) {
        int byte = m_nPending;
        m_nPending = -1;
        return byte;
    }
    int byte = RawByte();
    if (!m_bText || byte != '\r')
        return byte;
    // Text mode: CR LF is one LF; a lone CR stays.
    int following = RawByte();
    if (following == '\n')
        return '\n';
    m_nPending = following;
    return '\r';
}

BOOL CStdioFile::ReadString(std::string& line) {
    line.clear();
    int byte = NextByte();
    if (byte < 0)
        return FALSE;
    while (byte >= 0 && byte != '\n') {
        line.push_back(static_cast<char>(byte));
        byte = NextByte();
    }
    return TRUE;
}

UINT CStdioFile::Read(void* buffer, UINT count) {
    auto* bytes = static_cast<unsigned char*>(buffer);
    UINT read = 0;
    while (read < count) {
        int byte = NextByte();
        if (byte < 0)
            break;
        bytes[read++] = static_cast<unsigned char>(byte);
    }
    return read;
}
