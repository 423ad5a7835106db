// One acquisition event: its leads and its header record.
#pragma once

#include "acquisition/ecg_info.h"
#include "acquisition/lead_data.h"
#include "platform/export.h"

struct KTX_API SEvent : SLeadObj {
  SECGInfo Info;

  SEvent() { Info.Clear(); }
  ~SEvent();

  // `leads` leads with room for twice Info.SampleCount samples each.
  bool InitLeads(uint8_t leads);
  // Releases the leads; Info keeps everything but LeadCount and SampleCount.
  void KillLeads();
};
