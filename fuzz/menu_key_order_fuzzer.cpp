// Feeds arbitrary bytes, split into lines, as the entry key names of one menu
// level to the order both libraries read a level in, and checks that the
// order is total and means what it says: numbered names first by their
// number, the other names after them in listed order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/menu_store_rules.h"

namespace {
void Require(bool condition) {
    if (!condition)
        std::abort();
}

// The number as a plain integer where it has few enough digits.
bool SmallNumber(const menu_store::EntryKeyOrder& order, unsigned long long* value) {
    if (!order.numbered || order.digitCount > 18)
        return false;
    *value = std::strtoull(std::string(order.digits, order.digitCount).c_str(), nullptr, 10);
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Each name in a buffer of exactly its size, so that any read past it is
    // caught.
    std::vector<std::unique_ptr<char[]>> names;
    std::vector<menu_store::EntryKeyOrder> orders;
    const char* bytes = reinterpret_cast<const char*>(data);
    for (size_t start = 0; start <= size && orders.size() < 200;) {
        const void* end = std::memchr(bytes + start, '\n', size - start);
        size_t length = end ? static_cast<const char*>(end) - (bytes + start) : size - start;
        names.emplace_back(new char[length ? length : 1]);
        std::memcpy(names.back().get(), bytes + start, length);
        orders.push_back(menu_store::EntryKeyOrderOf(names.back().get(), length, orders.size()));
        const menu_store::EntryKeyOrder& order = orders.back();
        if (order.numbered) {
            Require(length > 3 && order.digitCount >= 1);
            Require(order.digits >= names.back().get() + 3 &&
                    order.digits + order.digitCount == names.back().get() + length);
            Require(order.digitCount == 1 || order.digits[0] != '0');
        }
        start += length + 1;
    }
    for (size_t i = 0; i < orders.size(); ++i) {
        Require(menu_store::CompareEntryKeys(orders[i], orders[i]) == 0);
        for (size_t j = i + 1; j < orders.size(); ++j) {
            int forward = menu_store::CompareEntryKeys(orders[i], orders[j]);
            int backward = menu_store::CompareEntryKeys(orders[j], orders[i]);
            Require(forward != 0 && (forward < 0) == (backward > 0));
            if (orders[i].numbered != orders[j].numbered)
                Require((forward < 0) == orders[i].numbered);
            else if (!orders[i].numbered)
                Require(forward < 0);
            unsigned long long a = 0, b = 0;
            if (SmallNumber(orders[i], &a) && SmallNumber(orders[j], &b))
                Require(a == b ? forward < 0 : (forward < 0) == (a < b));
        }
    }
    return 0;
}
