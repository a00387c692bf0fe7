// Feeds arbitrary bytes as the "AddressFile" value to the field walker and
// checks that it ends and that its fields are exactly the non-empty pieces
// between the semicolons.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "plugin/address_book/address_file_list.h"

namespace {
void Require(bool condition) {
    if (!condition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> value(data, data + size); // exactly sized: over-reads are caught
    std::vector<std::string> fields;
    size_t position = 0;
    AddressFileField field;
    while (NextAddressFileField(value.data(), value.size(), &position, &field)) {
        Require(field.length > 0 && position <= size);
        Require(field.begin >= value.data() &&
                field.begin + field.length == value.data() + position);
        Require(field.isDefaultBook == (field.begin[0] == '*'));
        fields.emplace_back(field.begin, field.length);
        Require(fields.size() <= size);
    }
    Require(position == size);

    std::vector<std::string> expected;
    std::string piece;
    for (size_t i = 0; i <= size; ++i) {
        if (i == size || value[i] == ';') {
            if (!piece.empty())
                expected.push_back(piece);
            piece.clear();
        } else {
            piece.push_back(value[i]);
        }
    }
    Require(fields == expected);
    return 0;
}
