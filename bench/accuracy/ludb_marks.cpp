#include "ludb_marks.h"

#include <algorithm>
#include <cstdlib>

namespace accuracy {
namespace {

long Earliest(long a, long b) {
  return a < 0 ? b : b < 0 ? a : std::min(a, b);
}

}  // namespace

bool LeadMarksAt(const LeadMarks& lead, long fiducial, long window, BeatMarks* m) {
  const Wave* qrs = nullptr;
  const Wave* next = nullptr;
  for (const Wave& w : lead.Qrs) {
    if (std::labs(w.Peak - fiducial) <= window &&
        (qrs == nullptr || std::labs(w.Peak - fiducial) < std::labs(qrs->Peak - fiducial)))
      qrs = &w;
  }
  if (qrs == nullptr || qrs->Onset < 0 || qrs->Offset < 0) return false;
  for (const Wave& w : lead.Qrs)
    if (w.Peak > qrs->Peak && (next == nullptr || w.Peak < next->Peak)) next = &w;
  const Wave* previous = nullptr;
  for (const Wave& w : lead.Qrs)
    if (w.Peak < qrs->Peak && (previous == nullptr || w.Peak > previous->Peak)) previous = &w;
  *m = BeatMarks{};
  m->QrsOnset = qrs->Onset;
  m->QrsOffset = qrs->Offset;
  // P: the last one that peaks after the beat before and before this QRS.
  for (const Wave& w : lead.P)
    if (w.Peak < qrs->Onset && (previous == nullptr || w.Peak > previous->Peak) && w.Onset >= 0 &&
        w.Offset >= 0 && w.Onset > m->POnset) {
      m->POnset = w.Onset;
      m->POffset = w.Offset;
    }
  // T: the first one after this QRS and before the next.
  for (const Wave& w : lead.T)
    if (w.Peak > qrs->Offset && (next == nullptr || w.Peak < next->Onset) && w.Offset >= 0) {
      m->TOffset = w.Offset;
      break;
    }
  return true;
}

bool GlobalMarksAt(const LudbRecord& r, long fiducial, long window, BeatMarks* m) {
  *m = BeatMarks{};
  size_t marked = 0;
  for (const LeadMarks& lead : r.Leads) {
    BeatMarks b;
    if (!LeadMarksAt(lead, fiducial, window, &b)) continue;
    ++marked;
    m->POnset = Earliest(m->POnset, b.POnset);
    m->QrsOnset = Earliest(m->QrsOnset, b.QrsOnset);
    m->POffset = std::max(m->POffset, b.POffset);
    m->QrsOffset = std::max(m->QrsOffset, b.QrsOffset);
    m->TOffset = std::max(m->TOffset, b.TOffset);
  }
  return 3 * marked >= 2 * r.Leads.size() && marked > 0;
}

}  // namespace accuracy
