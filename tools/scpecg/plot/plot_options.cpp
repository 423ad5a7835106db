#include "plot/plot_options.h"

namespace scpecg::plot {

bool ParseLayout(const std::string& name, Layout* layout) {
  static const struct {
    const char* Name;
    Layout Value;
  } kNames[] = {{"auto", Layout::kAuto},
                {"3x4+1", Layout::k3x4Plus1},
                {"3x4", Layout::k3x4},
                {"6x2", Layout::k6x2},
                {"12x1", Layout::k12x1}};
  for (const auto& entry : kNames) {
    if (name == entry.Name) {
      *layout = entry.Value;
      return true;
    }
  }
  return false;
}

const char* LayoutName(Layout layout) {
  switch (layout) {
    case Layout::kAuto:
      return "auto";
    case Layout::k3x4Plus1:
      return "3x4+1";
    case Layout::k3x4:
      return "3x4";
    case Layout::k6x2:
      return "6x2";
    case Layout::k12x1:
      return "12x1";
    case Layout::kRows:
      return "one row per lead";
  }
  return "?";
}

}  // namespace scpecg::plot
