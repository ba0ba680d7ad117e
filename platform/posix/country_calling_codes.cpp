#include "platform/posix/country_calling_codes.h"

#include <algorithm>
#include <array>
#include <utility>

namespace kalmor {
namespace {

using Entry = std::pair<std::string_view, std::string_view>;

// Sorted by country for the binary search below.
constexpr std::array kCallingCodes{
    Entry{"AD", "376"}, Entry{"AE", "971"}, Entry{"AF", "93"},  Entry{"AL", "355"}, Entry{"AM", "374"},
    Entry{"AO", "244"}, Entry{"AR", "54"},  Entry{"AT", "43"},  Entry{"AU", "61"},  Entry{"AZ", "994"},
    Entry{"BA", "387"}, Entry{"BD", "880"}, Entry{"BE", "32"},  Entry{"BG", "359"}, Entry{"BH", "973"},
    Entry{"BN", "673"}, Entry{"BO", "591"}, Entry{"BR", "55"},  Entry{"BT", "975"}, Entry{"BW", "267"},
    Entry{"BY", "375"}, Entry{"BZ", "501"}, Entry{"CA", "1"},   Entry{"CH", "41"},  Entry{"CI", "225"},
    Entry{"CL", "56"},  Entry{"CM", "237"}, Entry{"CN", "86"},  Entry{"CO", "57"},  Entry{"CR", "506"},
    Entry{"CU", "53"},  Entry{"CY", "357"}, Entry{"CZ", "420"}, Entry{"DE", "49"},  Entry{"DK", "45"},
    Entry{"DO", "1"},   Entry{"DZ", "213"}, Entry{"EC", "593"}, Entry{"EE", "372"}, Entry{"EG", "20"},
    Entry{"ES", "34"},  Entry{"ET", "251"}, Entry{"FI", "358"}, Entry{"FJ", "679"}, Entry{"FO", "298"},
    Entry{"FR", "33"},  Entry{"GB", "44"},  Entry{"GE", "995"}, Entry{"GH", "233"}, Entry{"GI", "350"},
    Entry{"GL", "299"}, Entry{"GR", "30"},  Entry{"GT", "502"}, Entry{"HK", "852"}, Entry{"HN", "504"},
    Entry{"HR", "385"}, Entry{"HT", "509"}, Entry{"HU", "36"},  Entry{"ID", "62"},  Entry{"IE", "353"},
    Entry{"IL", "972"}, Entry{"IN", "91"},  Entry{"IQ", "964"}, Entry{"IR", "98"},  Entry{"IS", "354"},
    Entry{"IT", "39"},  Entry{"JM", "1"},   Entry{"JO", "962"}, Entry{"JP", "81"},  Entry{"KE", "254"},
    Entry{"KG", "996"}, Entry{"KH", "855"}, Entry{"KP", "850"}, Entry{"KR", "82"},  Entry{"KW", "965"},
    Entry{"KZ", "7"},   Entry{"LA", "856"}, Entry{"LB", "961"}, Entry{"LI", "423"}, Entry{"LK", "94"},
    Entry{"LT", "370"}, Entry{"LU", "352"}, Entry{"LV", "371"}, Entry{"LY", "218"}, Entry{"MA", "212"},
    Entry{"MC", "377"}, Entry{"MD", "373"}, Entry{"ME", "382"}, Entry{"MK", "389"}, Entry{"MM", "95"},
    Entry{"MN", "976"}, Entry{"MO", "853"}, Entry{"MT", "356"}, Entry{"MU", "230"}, Entry{"MV", "960"},
    Entry{"MX", "52"},  Entry{"MY", "60"},  Entry{"MZ", "258"}, Entry{"NA", "264"}, Entry{"NG", "234"},
    Entry{"NI", "505"}, Entry{"NL", "31"},  Entry{"NO", "47"},  Entry{"NP", "977"}, Entry{"NZ", "64"},
    Entry{"OM", "968"}, Entry{"PA", "507"}, Entry{"PE", "51"},  Entry{"PG", "675"}, Entry{"PH", "63"},
    Entry{"PK", "92"},  Entry{"PL", "48"},  Entry{"PR", "1"},   Entry{"PS", "970"}, Entry{"PT", "351"},
    Entry{"PY", "595"}, Entry{"QA", "974"}, Entry{"RO", "40"},  Entry{"RS", "381"}, Entry{"RU", "7"},
    Entry{"RW", "250"}, Entry{"SA", "966"}, Entry{"SD", "249"}, Entry{"SE", "46"},  Entry{"SG", "65"},
    Entry{"SI", "386"}, Entry{"SK", "421"}, Entry{"SM", "378"}, Entry{"SN", "221"}, Entry{"SV", "503"},
    Entry{"SY", "963"}, Entry{"TH", "66"},  Entry{"TJ", "992"}, Entry{"TM", "993"}, Entry{"TN", "216"},
    Entry{"TR", "90"},  Entry{"TT", "1"},   Entry{"TW", "886"}, Entry{"TZ", "255"}, Entry{"UA", "380"},
    Entry{"UG", "256"}, Entry{"US", "1"},   Entry{"UY", "598"}, Entry{"UZ", "998"}, Entry{"VA", "39"},
    Entry{"VE", "58"},  Entry{"VN", "84"},  Entry{"XK", "383"}, Entry{"YE", "967"}, Entry{"ZA", "27"},
    Entry{"ZM", "260"}, Entry{"ZW", "263"},
};
static_assert(std::is_sorted(kCallingCodes.begin(), kCallingCodes.end()));

}  // namespace

std::optional<std::string_view> CallingCodeForCountry(std::string_view isoCountry) {
  const auto found = std::lower_bound(kCallingCodes.begin(), kCallingCodes.end(), isoCountry,
                                      [](const Entry& entry, std::string_view key) { return entry.first < key; });
  if (found == kCallingCodes.end() || found->first != isoCountry) return std::nullopt;
  return found->second;
}

}  // namespace kalmor
