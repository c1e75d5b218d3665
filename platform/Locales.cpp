#include "Locales.h"

#include "CodePage.h"

#include <unicode/uloc.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <set>

namespace lx::platform {

namespace {

// Windows' three-letter language abbreviations: the ISO 639-1 language and one
// letter for the country. Locales missing here fall back to ISO 639-2.
const std::map<unsigned, const char*>& AbbreviationTable() {
    static const std::map<unsigned, const char*> table = {
        {0x0401, "ARA"}, {0x0402, "BGR"}, {0x0403, "CAT"}, {0x0404, "CHT"}, {0x0405, "CSY"},
        {0x0406, "DAN"}, {0x0407, "DEU"}, {0x0408, "ELL"}, {0x0409, "ENU"}, {0x040A, "ESP"},
        {0x040B, "FIN"}, {0x040C, "FRA"}, {0x040D, "HEB"}, {0x040E, "HUN"}, {0x040F, "ISL"},
        {0x0410, "ITA"}, {0x0411, "JPN"}, {0x0412, "KOR"}, {0x0413, "NLD"}, {0x0414, "NOR"},
        {0x0415, "PLK"}, {0x0416, "PTB"}, {0x0418, "ROM"}, {0x0419, "RUS"}, {0x041A, "HRV"},
        {0x041B, "SKY"}, {0x041C, "SQI"}, {0x041D, "SVE"}, {0x041E, "THA"}, {0x041F, "TRK"},
        {0x0420, "URD"}, {0x0421, "IND"}, {0x0422, "UKR"}, {0x0423, "BEL"}, {0x0424, "SLV"},
        {0x0425, "ETI"}, {0x0426, "LVI"}, {0x0427, "LTH"}, {0x0429, "FAR"}, {0x042A, "VIT"},
        {0x042B, "HYE"}, {0x042C, "AZE"}, {0x042D, "EUQ"}, {0x042F, "MKI"}, {0x0436, "AFK"},
        {0x0437, "KAT"}, {0x0438, "FOS"}, {0x0439, "HIN"}, {0x043E, "MSL"}, {0x043F, "KKZ"},
        {0x0440, "KYR"}, {0x0441, "SWK"}, {0x0443, "UZB"}, {0x0444, "TTT"}, {0x0456, "GLC"},
        {0x0804, "CHS"}, {0x0807, "DES"}, {0x0809, "ENG"}, {0x080A, "ESM"}, {0x080C, "FRB"},
        {0x0810, "ITS"}, {0x0813, "NLB"}, {0x0814, "NON"}, {0x0816, "PTG"}, {0x081A, "SRL"},
        {0x0C04, "ZHH"}, {0x0C07, "DEA"}, {0x0C09, "ENA"}, {0x0C0A, "ESN"}, {0x0C0C, "FRC"},
        {0x0C1A, "SRB"}, {0x1004, "ZHI"}, {0x1009, "ENC"}, {0x100C, "FRS"}, {0x1409, "ENZ"},
        {0x1809, "ENI"}, {0x1C09, "ENS"}, {0x2009, "ENJ"}, {0x0818, "ROD"}, {0x0819, "RUM"},
    };
    return table;
}

std::string DisplayNameOf(const std::string& locale) {
    UChar buf[256];
    UErrorCode err = U_ZERO_ERROR;
    const int32_t n = uloc_getDisplayName(locale.c_str(), "en", buf, 256, &err);
    if (U_FAILURE(err) || n <= 0)
        return {};
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(buf),
                                           static_cast<std::size_t>(std::min(n, 255))));
}

} // namespace

std::string LocaleNameOfLCID(unsigned lcid) {
    if (lcid == 0)
        return {};
    char buf[ULOC_FULLNAME_CAPACITY];
    UErrorCode err = U_ZERO_ERROR;
    const int32_t n = uloc_getLocaleForLCID(lcid, buf, sizeof buf, &err);
    if (U_FAILURE(err) || n <= 0)
        return {};
    return std::string(buf, static_cast<std::size_t>(n));
}

std::string EnglishDisplayNameOfLCID(unsigned lcid) {
    const std::string name = LocaleNameOfLCID(lcid);
    return name.empty() ? std::string() : DisplayNameOf(name);
}

std::string AbbreviationOfLCID(unsigned lcid) {
    const auto& table = AbbreviationTable();
    if (auto it = table.find(lcid); it != table.end())
        return it->second;
    const std::string name = LocaleNameOfLCID(lcid);
    if (name.empty())
        return {};
    std::string iso3 = uloc_getISO3Language(name.c_str());
    for (char& c : iso3)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return iso3;
}

const std::vector<TLocaleInfo>& AvailableLocales() {
    static std::once_flag once;
    static std::vector<TLocaleInfo> list;
    std::call_once(once, [] {
        std::set<unsigned> seen;
        const int32_t count = uloc_countAvailable();
        for (int32_t i = 0; i < count; ++i) {
            const unsigned lcid = uloc_getLCID(uloc_getAvailable(i));
            // Identifiers below 0x400 name a language without a country.
            if (lcid < 0x400 || !seen.insert(lcid).second)
                continue;
            TLocaleInfo info;
            info.Lcid = lcid;
            info.Name = LocaleNameOfLCID(lcid);
            info.DisplayName = DisplayNameOf(info.Name);
            info.Abbreviation = AbbreviationOfLCID(lcid);
            if (!info.Name.empty() && !info.DisplayName.empty())
                list.push_back(std::move(info));
        }
        std::sort(list.begin(), list.end(),
                  [](const TLocaleInfo& a, const TLocaleInfo& b) { return a.Lcid < b.Lcid; });
    });
    return list;
}

} // namespace lx::platform
