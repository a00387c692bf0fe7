// The "AddressFile" value of the host's settings: a list of address-book files
// separated by ";". Plain byte functions, no Windows headers.
#pragma once
#include <stddef.h>

struct AddressFileField {
    const char* begin;
    size_t length;
    bool isDefaultBook; // the field starts with "*": the host's own book
};

// Finds the next non-empty field of value at or after *position and moves
// *position past it. Fields are taken as they are, blanks included. Returns
// false when no field is left.
bool NextAddressFileField(const char* value, size_t length, size_t* position,
                          AddressFileField* field);
