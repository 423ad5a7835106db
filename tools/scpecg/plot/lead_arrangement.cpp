#include "plot/lead_arrangement.h"
#include "record/codes.h"

#include <algorithm>

namespace scpecg::plot {

namespace {

// The standard twelve in printing order: the limb leads, then the chest leads.
constexpr uint8_t kStandardOrder[12] = {kLeadI,  kLeadII, kLeadIII, kLeadAVR, kLeadAVL, kLeadAVF,
                                        kLeadV1, kLeadV2, kLeadV3,  kLeadV4,  kLeadV5,  kLeadV6};

int IndexOf(const std::vector<uint8_t>& codes, uint8_t code) {
  const auto found = std::find(codes.begin(), codes.end(), code);
  return found == codes.end() ? -1 : static_cast<int>(found - codes.begin());
}

struct Grid {
  unsigned Rows;
  unsigned Columns;
  bool Strip;
};

Grid GridOf(Layout layout) {
  switch (layout) {
    case Layout::k3x4Plus1:
      return {3, 4, true};
    case Layout::k3x4:
      return {3, 4, false};
    case Layout::k6x2:
      return {6, 2, false};
    case Layout::k12x1:
      return {12, 1, false};
    default:
      return {0, 1, false};
  }
}

}  // namespace

bool IsStandardTwelve(const std::vector<uint8_t>& codes) {
  return std::all_of(std::begin(kStandardOrder), std::end(kStandardOrder),
                     [&](uint8_t code) { return IndexOf(codes, code) >= 0; });
}

bool WantsLimbLeads(const std::vector<uint8_t>& codes) {
  return IndexOf(codes, 1) >= 0 && IndexOf(codes, 2) >= 0 && IndexOf(codes, 61) < 0 &&
         IndexOf(codes, 62) < 0 && IndexOf(codes, 63) < 0 && IndexOf(codes, 64) < 0;
}

Arrangement Arrange(const std::vector<uint8_t>& codes, Layout requested, bool median,
                    double window) {
  const bool standard = IsStandardTwelve(codes);
  Arrangement out;
  out.Chosen = requested;
  if (requested == Layout::kAuto) {
    out.Chosen = !standard ? Layout::kRows : median ? Layout::k3x4 : Layout::k3x4Plus1;
  }
  // Reference beats have no rhythm to strip along the bottom.
  if (median && out.Chosen == Layout::k3x4Plus1) out.Chosen = Layout::k3x4;

  if (out.Chosen == Layout::kRows) {
    out.Columns = 1;
    out.ColumnDuration = window;
    for (unsigned i = 0; i < codes.size(); ++i) out.Panels.push_back({i, i, 0, 1, 0.0, window});
    out.Rows = static_cast<unsigned>(codes.size());
    return out;
  }

  const Grid grid = GridOf(out.Chosen);
  out.Columns = grid.Columns;
  out.Rows = grid.Rows;
  // Rhythm columns show consecutive stretches; every column of reference beats the beat.
  out.ColumnDuration = median ? window : window / grid.Columns;
  const unsigned slots = grid.Rows * grid.Columns;
  for (unsigned slot = 0; slot < slots; ++slot) {
    const int lead = standard ? IndexOf(codes, kStandardOrder[slot])
                              : (slot < codes.size() ? static_cast<int>(slot) : -1);
    if (lead < 0) continue;
    const unsigned column = slot / grid.Rows;
    const double start = median ? 0.0 : column * out.ColumnDuration;
    out.Panels.push_back(
        {static_cast<unsigned>(lead), slot % grid.Rows, column, 1, start, out.ColumnDuration});
  }
  if (grid.Strip && !codes.empty()) {
    const int lead = IndexOf(codes, kLeadII);
    out.Panels.push_back(
        {static_cast<unsigned>(std::max(lead, 0)), grid.Rows, 0, grid.Columns, 0.0, window});
    ++out.Rows;
  }
  return out;
}

}  // namespace scpecg::plot
