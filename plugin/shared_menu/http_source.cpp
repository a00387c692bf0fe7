// winhttp.dll is no KnownDLL: it is loaded by its full path in the system
// folder, never by a bare name that the current directory or PATH could
// answer, and only by the reader thread, when an address is first fetched.
#include "http_source.h"

#include <winhttp.h>

#include <stdlib.h>
#include <stdio.h>
#include <string.h>

namespace {

// Resolve, connect and send; one receive that brings nothing.
const int kConnectTimeoutMs = 10000;
const int kReceiveTimeoutMs = 15000;

struct WinHttp {
    HMODULE module;
    decltype(&WinHttpOpen) Open;
    decltype(&WinHttpCrackUrl) CrackUrl;
    decltype(&WinHttpConnect) Connect;
    decltype(&WinHttpOpenRequest) OpenRequest;
    decltype(&WinHttpSendRequest) SendRequest;
    decltype(&WinHttpReceiveResponse) ReceiveResponse;
    decltype(&WinHttpQueryHeaders) QueryHeaders;
    decltype(&WinHttpQueryOption) QueryOption;
    decltype(&WinHttpReadData) ReadData;
    decltype(&WinHttpSetTimeouts) SetTimeouts;
    decltype(&WinHttpSetOption) SetOption;
    decltype(&WinHttpCloseHandle) CloseHandle;
};

WinHttp Http;

template <typename Function> bool Bind(Function* function, const char* name) {
    FARPROC found = GetProcAddress(Http.module, name);
    memcpy(function, &found, sizeof *function);
    return found != nullptr;
}

bool LoadWinHttp(void) {
    if (Http.module)
        return true;
    WCHAR path[MAX_PATH + 16];
    UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    lstrcpynW(path + length, L"\\winhttp.dll", 16);
    Http.module = LoadLibraryExW(path, nullptr, 0);
    if (!Http.module)
        return false;
    if (Bind(&Http.Open, "WinHttpOpen") && Bind(&Http.CrackUrl, "WinHttpCrackUrl") &&
        Bind(&Http.Connect, "WinHttpConnect") && Bind(&Http.OpenRequest, "WinHttpOpenRequest") &&
        Bind(&Http.SendRequest, "WinHttpSendRequest") &&
        Bind(&Http.ReceiveResponse, "WinHttpReceiveResponse") &&
        Bind(&Http.QueryHeaders, "WinHttpQueryHeaders") &&
        Bind(&Http.QueryOption, "WinHttpQueryOption") && Bind(&Http.ReadData, "WinHttpReadData") &&
        Bind(&Http.SetTimeouts, "WinHttpSetTimeouts") &&
        Bind(&Http.SetOption, "WinHttpSetOption") && Bind(&Http.CloseHandle, "WinHttpCloseHandle"))
        return true;
    FreeLibrary(Http.module);
    Http = {};
    return false;
}

bool StartsWith(const WCHAR* text, const WCHAR* start) {
    return _wcsnicmp(text, start, lstrlenW(start)) == 0;
}

// Plain http:// only to this computer: a text on its way from anywhere else
// could be changed (an account number in an invoice).
bool IsLoopback(const URL_COMPONENTS& parts) {
    int length = static_cast<int>(parts.dwHostNameLength);
    return (length == 9 && _wcsnicmp(parts.lpszHostName, L"127.0.0.1", 9) == 0) ||
           (length == 9 && _wcsnicmp(parts.lpszHostName, L"localhost", 9) == 0);
}

SharedProblem ErrorProblem(DWORD error) {
    switch (error) {
    case ERROR_WINHTTP_TIMEOUT:
        return kSharedTimeout;
    case ERROR_WINHTTP_SECURE_FAILURE:
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
    case ERROR_WINHTTP_SECURE_INVALID_CA:
    case ERROR_WINHTTP_SECURE_CERT_REV_FAILED:
    case ERROR_WINHTTP_SECURE_CERT_REVOKED:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
    case ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE:
        return kSharedCertificate;
    default:
        return kSharedUnreachable;
    }
}

DWORD StatusOf(HINTERNET request) {
    DWORD status = 0, size = sizeof status;
    if (!Http.QueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                           WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX))
        return 0;
    return status;
}

void HeaderOf(HINTERNET request, DWORD which, WCHAR* value, DWORD capacity) {
    DWORD size = capacity * sizeof(WCHAR);
    if (!Http.QueryHeaders(request, which, WINHTTP_HEADER_NAME_BY_INDEX, value, &size,
                           WINHTTP_NO_HEADER_INDEX))
        value[0] = L'\0';
    value[capacity - 1] = L'\0';
}

// The body, whole: as long as Content-Length says when it says one.
SharedProblem ReadBody(HINTERNET request, char** bytes, size_t* size) {
    WCHAR lengthText[32];
    HeaderOf(request, WINHTTP_QUERY_CONTENT_LENGTH, lengthText, 32);
    // Saturates at its largest value, which is over the limit.
    unsigned long announced = lengthText[0] ? wcstoul(lengthText, nullptr, 10) : 0;
    if (announced > kSharedMenuMaxBytes)
        return kSharedTooLarge;
    size_t capacity = 0;
    char* buffer = nullptr;
    *size = 0;
    for (;;) {
        if (capacity - *size < 65536) {
            size_t larger = capacity ? capacity * 2 : 262144;
            char* grown = static_cast<char*>(realloc(buffer, larger));
            if (!grown) {
                free(buffer);
                return kSharedIncomplete;
            }
            buffer = grown;
            capacity = larger;
        }
        DWORD read = 0;
        if (!Http.ReadData(request, buffer + *size, 65536, &read)) {
            DWORD error = GetLastError();
            free(buffer);
            return error == ERROR_WINHTTP_TIMEOUT ? kSharedTimeout : kSharedIncomplete;
        }
        if (read == 0)
            break;
        *size += read;
        if (*size > kSharedMenuMaxBytes) {
            free(buffer);
            return kSharedTooLarge;
        }
    }
    if (lengthText[0] && *size != announced) {
        free(buffer);
        return kSharedIncomplete; // the connection ended early
    }
    *bytes = buffer;
    return kSharedFine;
}

struct Handles {
    HINTERNET session, connection, request;
};

void CloseAll(Handles* handles) {
    if (handles->request)
        Http.CloseHandle(handles->request);
    if (handles->connection)
        Http.CloseHandle(handles->connection);
    if (handles->session)
        Http.CloseHandle(handles->session);
}

} // namespace

bool IsSharedAddress(const WCHAR* source) {
    return StartsWith(source, L"https://") || StartsWith(source, L"http://");
}

SharedProblem FetchSharedAddress(const WCHAR* address, HttpValidators* validators, char** bytes,
                                 size_t* size, DWORD* status) {
    *bytes = nullptr;
    *size = 0;
    *status = 0;
    URL_COMPONENTS parts = {};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!LoadWinHttp())
        return kSharedUnreachable;
    if (!Http.CrackUrl(address, 0, 0, &parts))
        return kSharedInsecure;
    bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    if (!secure && !IsLoopback(parts))
        return kSharedInsecure;
    WCHAR host[256];
    if (parts.dwHostNameLength >= 256)
        return kSharedUnreachable;
    lstrcpynW(host, parts.lpszHostName, static_cast<int>(parts.dwHostNameLength) + 1);

    Handles handles = {};
    handles.session = Http.Open(L"Tevrix", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                WINHTTP_NO_PROXY_BYPASS, 0);
    if (!handles.session)
        return kSharedUnreachable;
    Http.SetTimeouts(handles.session, kConnectTimeoutMs, kConnectTimeoutMs, kConnectTimeoutMs,
                     kReceiveTimeoutMs);
    SharedProblem problem = kSharedFine;
    handles.connection = Http.Connect(handles.session, host, parts.nPort, 0);
    // The path with its query: the rest of the address after the host.
    handles.request = handles.connection
                          ? Http.OpenRequest(handles.connection, L"GET", parts.lpszUrlPath, nullptr,
                                             WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                             secure ? WINHTTP_FLAG_SECURE : 0)
                          : nullptr;
    // The wait for the answer's headers has a timeout of its own.
    DWORD responseTimeout = kReceiveTimeoutMs;
    if (handles.request)
        Http.SetOption(handles.request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &responseTimeout,
                       sizeof responseTimeout);
    WCHAR headers[400] = L"";
    if (validators->etag[0])
        _snwprintf(headers, 400, L"If-None-Match: %ls\r\n", validators->etag);
    if (validators->lastModified[0]) {
        size_t used = lstrlenW(headers);
        _snwprintf(headers + used, 400 - used, L"If-Modified-Since: %ls\r\n",
                   validators->lastModified);
    }
    headers[399] = L'\0';
    DWORD asked = GetTickCount();
    if (!handles.request ||
        !Http.SendRequest(handles.request, headers[0] ? headers : WINHTTP_NO_ADDITIONAL_HEADERS,
                          headers[0] ? static_cast<DWORD>(-1L) : 0, WINHTTP_NO_REQUEST_DATA, 0, 0,
                          0) ||
        !Http.ReceiveResponse(handles.request, nullptr)) {
        problem = ErrorProblem(GetLastError());
        // Some stacks end a wait that ran out with another error: a failure
        // that took the whole timeout is one.
        if (problem == kSharedUnreachable && GetTickCount() - asked >= kReceiveTimeoutMs - 500)
            problem = kSharedTimeout;
        CloseAll(&handles);
        return problem;
    }
    // A redirect may not change the scheme (https to http, or the reverse).
    WCHAR finalAddress[2048];
    DWORD finalSize = sizeof finalAddress;
    if (Http.QueryOption(handles.request, WINHTTP_OPTION_URL, finalAddress, &finalSize) &&
        StartsWith(finalAddress, L"https://") != secure) {
        CloseAll(&handles);
        return kSharedInsecure;
    }
    *status = StatusOf(handles.request);
    if (*status == 200) {
        problem = ReadBody(handles.request, bytes, size);
        if (problem == kSharedFine) {
            HeaderOf(handles.request, WINHTTP_QUERY_ETAG, validators->etag, 256);
            HeaderOf(handles.request, WINHTTP_QUERY_LAST_MODIFIED, validators->lastModified, 64);
        }
    } else if (*status == 304) {
        problem = kSharedFine; // unchanged
    } else if (*status == 404 || *status == 410) {
        problem = kSharedNotFound;
    } else {
        problem = kSharedHttpStatus;
    }
    CloseAll(&handles);
    return problem;
}

void EndSharedAddresses(void) {
    if (Http.module)
        FreeLibrary(Http.module);
    Http = {};
}
