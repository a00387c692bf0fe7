// Walks the ";"-separated list of address-book files. ";" is never the second
// byte of a Shift-JIS character, so splitting on the byte is safe.
#include "address_file_list.h"

bool NextAddressFileField(const char* value, size_t length, size_t* position,
                          AddressFileField* field) {
    size_t at = *position;
    while (at < length && value[at] == ';')
        ++at;
    if (at >= length) {
        *position = length;
        return false;
    }
    size_t end = at;
    while (end < length && value[end] != ';')
        ++end;
    field->begin = value + at;
    field->length = end - at;
    field->isDefaultBook = value[at] == '*';
    *position = end;
    return true;
}
