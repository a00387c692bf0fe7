// The store root's "Favorites": the folder the Favorites import remembers.
#pragma once
#include "menu_store_io.h"

#include <string>

inline void StoreFavoritesFolder(const std::string& folder) {
    WriteStoreString("", "Favorites", folder);
}

inline std::string StoredFavoritesFolder() {
    return ReadStoreString("", "Favorites");
}

inline bool FavoritesFolderStored() {
    return StoreValueExists("", "Favorites");
}
