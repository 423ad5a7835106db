// Creating SCP-ECG files from a Bio file: one file per event, all received at the
// same moment.
#include "acquisition/bio_reader.h"
#include "platform/errors.h"
#include "writer/writer.h"

bool CWriter::CreateFromBioFile(const char* ScpFilename, const char* BioFilename,
                                const CPatientInfo* pPatInfo) {
  if (ScpFilename == nullptr || BioFilename == nullptr) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  if (File != plat::kClosedFile) {
    return plat::FailWith(plat::kErrInvalidAccess);
  }
  CBioReader reader;
  const plat::SystemTime now = plat::LocalTimeNow();
  int16_t events = 0;
  if (!reader.ReadEvents(BioFilename, &events)) {
    CReader::Close();
    return false;
  }
  for (int16_t event = 0; event < events; ++event) {
    Clear(kAllSections);
    // A lone event keeps the name asked for; with several, even the first gets a suffix.
    char name[plat::kMaxPath];
    if (events > 1) CreateEventFileName(name, ScpFilename, event);
    SECGInfo info;
    info.Clear();
    const SLeadObj* leads = reader.GetEvent(&info, event);
    // The files of the events before a failing one stay written.
    if (!CreateFromEvent(events > 1 ? name : ScpFilename, pPatInfo, now, info, leads)) {
      return false;
    }
  }
  return true;
}
