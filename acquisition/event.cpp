#include "acquisition/event.h"

SEvent::~SEvent() {
  KillLeads();
}

bool SEvent::InitLeads(uint8_t leads) {
  return SLeadObj::InitLeads(leads, 2u * Info.SampleCount);
}

void SEvent::KillLeads() {
  SLeadObj::KillLeads();
  Info.LeadCount = 0;
  Info.SampleCount = 0;
}
