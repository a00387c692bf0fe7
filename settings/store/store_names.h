// Where the settings editor keeps the menu store: HKCU\Software\Ostrel\Tevrix.
#pragma once

constexpr char kStoreCompany[] = "Ostrel";
constexpr char kStoreProduct[] = "Tevrix";
