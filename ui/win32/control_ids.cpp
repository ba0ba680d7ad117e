#include "ui/win32/control_ids.h"

namespace kalmor {
namespace {

struct NamedId {
  std::string_view name;
  int id;
};

constexpr NamedId kIds[] = {
    {"rahmen(11)", 1011}, {"lblOSVersion", 1012},        {"Frame3", 1020},
    {"lblLanguage", 1021}, {"lstLanguage", 1022},         {"lblTask", 1023},
    {"lstTask", 1024},     {"lblMode", 1025},             {"lstKalmorBitVersion", 1026},
    {"Label1", 1027},      {"lstKalmorCallingMode", 1028}, {"rahmen(14)", 1014},
    {"bild(0)", 1030},     {"lblStatus", 1031},           {"lbl(1)", 1032},
    {"lblTimer", 1033},    {"lblResult", 1034},           {"cmdOK", 1040},
    {"cmdClose", 1041},    {"cmdDummy", 1042},            {"lblTestvariante", 1050},
    {"lbl(28)", 1051},
};

}  // namespace

int ControlId(std::string_view controlName) {
  for (const NamedId& entry : kIds) {
    if (entry.name == controlName) return entry.id;
  }
  return 0;
}

}  // namespace kalmor
