// The address books, and the host's list of them, as last read: kept between
// builds of the address popup and read again only when their file changed.
#pragma once
#include <windows.h>

#include "address_book.h"

// The book listed at position (0 for the first) of the host's list, whose file
// is path: the kept one while the file has the same size and times, else the
// file read afresh. Null when the file cannot be had. Valid until the next
// call for this position, ForgetAddressBooksFrom or FreeAddressBookCache.
const ParsedBook* AddressBookAt(DWORD position, const char* path);

// The host's list now ends before position: the books kept there go.
void ForgetAddressBooksFrom(DWORD position);

// Reads a settings file's "AddressFile" value: a fresh heap string and its
// length, or null when there is none.
typedef char* (*AddressFileValueReader)(const char* settingsPath, DWORD* length);

// The "AddressFile" value of the settings file at settingsPath: the kept one
// while the file has the same size and times, else read afresh with read.
// Null when there is none. Valid until the next call or FreeAddressBookCache.
const char* KeptAddressFileValue(const char* settingsPath, DWORD* length,
                                 AddressFileValueReader read);

void FreeAddressBookCache(void);
