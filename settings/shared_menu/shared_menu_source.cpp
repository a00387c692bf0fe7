#include "settings/shared_menu/shared_menu_source.h"

#include "settings/store/store_key.h"
#include "settings/store/store_names.h"

const char kSharedMenuValue[] = "SharedMenu";
const char kSharedMenuTitleValue[] = "SharedMenuTitle";
const char kDefaultSharedTitle[] = "共有";

namespace {
bool StartsWithNoCase(const std::string& text, const char* prefix) {
    size_t length = lstrlenA(prefix);
    return text.size() >= length && ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE,
                                                     text.c_str(), static_cast<int>(length), prefix,
                                                     static_cast<int>(length)) == CSTR_EQUAL;
}

bool EqualsNoCase(const std::string& a, const char* b) {
    return a.size() == static_cast<size_t>(lstrlenA(b)) && StartsWithNoCase(a, b);
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// \\server\share\name: a server, a share and something below it. Walked by
// characters: a backslash may also be the second byte of a Shift-JIS one.
bool IsUncPath(const std::string& text) {
    if (text.size() < 2 || text[0] != '\\' || text[1] != '\\')
        return false;
    int part = 0;      // 0 server, 1 share, 2 below the share
    size_t length = 0; // of the current part
    for (const char* p = text.c_str() + 2; *p; p = ::CharNextA(p)) {
        if (*p == '\\') {
            if (length == 0)
                return false;
            ++part;
            length = 0;
        } else {
            ++length;
        }
    }
    return part >= 2 && length > 0;
}

bool IsDrivePath(const std::string& text) {
    char drive = text.empty() ? '\0' : text[0];
    bool letter = (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
    return letter && text.size() > 3 && text[1] == ':' && IsSeparator(text[2]);
}

// http://host[:port][/...]: the host must be this PC. No user part: in
// http://localhost@example.com/ the host is example.com.
bool IsLoopbackAddress(const std::string& rest) {
    size_t end = rest.find_first_of("/?#");
    std::string authority = rest.substr(0, end);
    if (authority.find('@') != std::string::npos)
        return false;
    size_t colon = authority.find(':');
    std::string host = authority.substr(0, colon);
    if (colon != std::string::npos) {
        std::string port = authority.substr(colon + 1);
        if (port.empty() || port.size() > 5 ||
            port.find_first_not_of("0123456789") != std::string::npos)
            return false;
    }
    return host == "127.0.0.1" || EqualsNoCase(host, "localhost");
}
} // namespace

std::string Trimmed(const std::string& text) {
    const char* blanks = " \t\r\n";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

SharedSourceKind ClassifySharedSource(const std::string& source) {
    if (source.empty())
        return SharedSourceKind::kNone;
    if (StartsWithNoCase(source, "https://")) {
        std::string rest = source.substr(8);
        bool hasHost = !rest.empty() && rest.find_first_of("/?#@") != 0;
        return hasHost ? SharedSourceKind::kAddress : SharedSourceKind::kInvalid;
    }
    if (StartsWithNoCase(source, "http://"))
        return IsLoopbackAddress(source.substr(7)) ? SharedSourceKind::kAddress
                                                   : SharedSourceKind::kInvalid;
    if (IsDrivePath(source) || IsUncPath(source))
        return SharedSourceKind::kPath;
    return SharedSourceKind::kInvalid;
}

std::string StoredSharedSource() {
    CStoreRootKey root(kStoreCompany, kStoreProduct);
    std::string source;
    root.ReadString(kSharedMenuValue, source, "");
    return source;
}

std::string StoredSharedTitle() {
    CStoreRootKey root(kStoreCompany, kStoreProduct);
    std::string title;
    root.ReadString(kSharedMenuTitleValue, title, "");
    return title;
}

bool StoreSharedMenu(const std::string& source, const std::string& title) {
    CStoreRootKey root(kStoreCompany, kStoreProduct);
    if (source.empty())
        return root.DeleteValue(kSharedMenuValue) && root.DeleteValue(kSharedMenuTitleValue);
    bool titleWritten = title.empty() ? root.DeleteValue(kSharedMenuTitleValue)
                                      : root.WriteString(kSharedMenuTitleValue, title.c_str());
    return root.WriteString(kSharedMenuValue, source.c_str()) && titleWritten;
}
