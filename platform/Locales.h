#pragma once
// Locales by Windows locale identifier (LCID), through ICU.

#include <string>
#include <vector>

namespace lx::platform {

struct TLocaleInfo {
    unsigned Lcid = 0;
    std::string Name;         ///< ICU locale name, "ru_RU"
    std::string DisplayName;  ///< English display name, "Russian (Russia)"
    std::string Abbreviation; ///< three letters, "RUS"
};

/// The ICU locale name of an identifier ("en_US" for 1033), or "" when unknown.
std::string LocaleNameOfLCID(unsigned lcid);

/// The English display name ("English (United States)"), or "" when unknown.
std::string EnglishDisplayNameOfLCID(unsigned lcid);

/// The three-letter abbreviation ("ENU", "RUS", "DEU"), or "" when unknown.
std::string AbbreviationOfLCID(unsigned lcid);

/// Every locale that has an identifier, once per identifier, ordered by identifier.
const std::vector<TLocaleInfo>& AvailableLocales();

} // namespace lx::platform
