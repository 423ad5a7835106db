#include "automation/crc_answer.h"

#include "automation/narrow_name.h"
#include "reader/reader.h"

namespace ktx_com {

HRESULT CrcAnswer(BSTR ScpFilename, VARIANT_BOOL* pGoodCRC) {
  if (!ScpFilename || !pGoodCRC) return E_INVALIDARG;
  *pGoodCRC = VARIANT_FALSE;
  char name[kNarrowNameSize];
  if (!NarrowName(ScpFilename, name)) return E_FAIL;
  bool valid = false;
  if (!CReader::CheckCrc(name, &valid)) return E_FAIL;
  *pGoodCRC = valid ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

}  // namespace ktx_com
