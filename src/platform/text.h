#pragma once
#include <string_view>

namespace platform {

// The user's locale-aware, case-sensitive comparison of two texts: < 0, 0
// or > 0. Used for the name order of the results list.
int CompareLocale(std::string_view a, std::string_view b);

// An alphabetical comparison that ignores letter case, as sorted list
// controls order their items.
int CompareTextNoCase(std::string_view a, std::string_view b);

// The user's decimal separator, "." when the locale names none.
char DecimalSeparator();

}  // namespace platform
