#include "payload/config_items.h"

#include <algorithm>
#include <array>

namespace {

// A setting's constant and its catalogued name must be the same word apart from the
// case of the first letter, so that kItem<Name> and "name" cannot drift apart.
constexpr bool sameNameApartFromFirstLetter(std::string_view upper, std::string_view lower) {
    if (upper.empty() || upper.size() != lower.size()) return false;
    if (upper[0] < 'A' || upper[0] > 'Z' || lower[0] != upper[0] - 'A' + 'a') return false;
    return upper.substr(1) == lower.substr(1);
}

#define WRENLET_CHECK_SETTING_NAME(Name, name, id, Form)           \
    static_assert(sameNameApartFromFirstLetter(#Name, #name),      \
                  "kItem" #Name " does not match the item name " #name);
#define WRENLET_NO_NAME_CHECK(Name, id)
WRENLET_CONFIG_ITEMS(WRENLET_CHECK_SETTING_NAME, WRENLET_NO_NAME_CHECK)
#undef WRENLET_CHECK_SETTING_NAME
#undef WRENLET_NO_NAME_CHECK

#define WRENLET_SETTING_ENTRY(Name, name, id, Form) ItemInfo{kItem##Name, #name, ItemForm::Form},
#define WRENLET_MESSAGE_ENTRY(Name, id) ItemInfo{kMsg##Name, "msg" #Name, ItemForm::Message},
constexpr std::array kCatalogue{
    WRENLET_CONFIG_ITEMS(WRENLET_SETTING_ENTRY, WRENLET_MESSAGE_ENTRY)
    ItemInfo{kItemVersionSpecificOptionVersionBase, "versionSpecificOptionVersion",
             ItemForm::Text},
    ItemInfo{kItemVersionSpecificOptionsBase, "versionSpecificOptions", ItemForm::WideText},
};
#undef WRENLET_SETTING_ENTRY
#undef WRENLET_MESSAGE_ENTRY

constexpr bool idsStrictlyAscending() {
    return std::adjacent_find(kCatalogue.begin(), kCatalogue.end(),
                              [](const ItemInfo& a, const ItemInfo& b) {
                                  return a.id >= b.id;
                              }) == kCatalogue.end();
}
static_assert(idsStrictlyAscending(), "catalogue ids must be unique and in ascending order");

}  // namespace

std::span<const ItemInfo> itemCatalogue() { return kCatalogue; }

const ItemInfo* findItemByName(std::string_view name) {
    const auto it = std::find_if(kCatalogue.begin(), kCatalogue.end(),
                                 [name](const ItemInfo& item) { return item.name == name; });
    return it == kCatalogue.end() ? nullptr : &*it;
}

const ItemInfo* findItemById(std::int32_t id) {
    const auto it = std::lower_bound(
        kCatalogue.begin(), kCatalogue.end(), id,
        [](const ItemInfo& item, std::int32_t wanted) { return item.id < wanted; });
    return it != kCatalogue.end() && it->id == id ? &*it : nullptr;
}
