// The cardiologists' boundaries of one beat, in one lead or over all twelve.
#pragma once

#include "ludb_record.h"

namespace accuracy {

// Samples of the rhythm; -1 where a boundary is not marked.
struct BeatMarks {
  long POnset = -1, POffset = -1, QrsOnset = -1, QrsOffset = -1, TOffset = -1;
};

// The beat of lead `lead` whose QRS peak lies within `window` samples of `fiducial`:
// its QRS, the P wave just before it and the T wave just after it. False when the
// lead marks no such QRS with both its onset and its offset.
bool LeadMarksAt(const LeadMarks& lead, long fiducial, long window, BeatMarks* marks);

// The global boundaries in the CSE sense: the earliest onset and the latest offset of
// each wave over the leads that mark the beat; false when fewer than two thirds do.
bool GlobalMarksAt(const LudbRecord& record, long fiducial, long window, BeatMarks* marks);

}  // namespace accuracy
