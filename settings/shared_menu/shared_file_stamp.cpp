#include "settings/shared_menu/shared_file_stamp.h"

SharedFileStamp::Stamp SharedFileStamp::Take(const std::string& path) {
    Stamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return stamp;
    stamp.exists = true;
    stamp.size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.written = data.ftLastWriteTime;
    return stamp;
}

void SharedFileStamp::Remember(const std::string& path) {
    m_bKnown = true;
    m_strPath = path;
    m_stamp = Take(path);
}

bool SharedFileStamp::ChangedSince(const std::string& path) const {
    Stamp now = Take(path);
    if (!m_bKnown || path != m_strPath)
        return now.exists;
    if (now.exists != m_stamp.exists)
        return true;
    return now.exists &&
           (now.size != m_stamp.size || ::CompareFileTime(&now.written, &m_stamp.written) != 0);
}
