#include "automation/scp_general_info.h"

#include "automation/ole_date.h"

namespace ktx_com {

CScpGeneralInfo::~CScpGeneralInfo() {
  for (BSTR text : texts_) SysFreeString(text);
}

KTX_PLAIN_PROPERTY(CScpGeneralInfo, ReceivedHour, short, hour_)
KTX_PLAIN_PROPERTY(CScpGeneralInfo, ReceivedMinute, short, minute_)
KTX_PLAIN_PROPERTY(CScpGeneralInfo, ReceivedSecond, short, second_)
KTX_PLAIN_PROPERTY(CScpGeneralInfo, ReceivedDay, short, day_)
KTX_PLAIN_PROPERTY(CScpGeneralInfo, ReceivedMonth, short, month_)
KTX_PLAIN_PROPERTY(CScpGeneralInfo, ReceivedYear, short, year_)
KTX_PLAIN_PROPERTY(CScpGeneralInfo, InterpretationConfirmed, VARIANT_BOOL, confirmed_)
KTX_PLAIN_PROPERTY(CScpGeneralInfo, InterpretationModified, VARIANT_BOOL, modified_)
KTX_TEXT_PROPERTY(CScpGeneralInfo, InterpretationText, texts_[kInterpretationText])
KTX_TEXT_PROPERTY(CScpGeneralInfo, RecordingId, texts_[kRecordingId])
KTX_TEXT_PROPERTY(CScpGeneralInfo, OverreadingPhysician, texts_[kOverreadingPhysician])
KTX_TEXT_PROPERTY(CScpGeneralInfo, InterpretationPhysician, texts_[kInterpretationPhysician])
KTX_TEXT_PROPERTY(CScpGeneralInfo, CommentText, texts_[kCommentText])
KTX_TEXT_PROPERTY(CScpGeneralInfo, CreatorApp, texts_[kCreatorApp])
KTX_TEXT_PROPERTY(CScpGeneralInfo, CreatorVer, texts_[kCreatorVer])
KTX_TEXT_PROPERTY(CScpGeneralInfo, ModifierApp, texts_[kModifierApp])
KTX_TEXT_PROPERTY(CScpGeneralInfo, ModifierVer, texts_[kModifierVer])
KTX_TEXT_PROPERTY(CScpGeneralInfo, RecordingLocation, texts_[kRecordingLocation])
KTX_TEXT_PROPERTY(CScpGeneralInfo, RecordingPhysician, texts_[kRecordingPhysician])
KTX_TEXT_PROPERTY(CScpGeneralInfo, RecordingApp, texts_[kRecordingApp])
KTX_TEXT_PROPERTY(CScpGeneralInfo, RecordingVer, texts_[kRecordingVer])
KTX_TEXT_PROPERTY(CScpGeneralInfo, InterpretationVer, texts_[kInterpretationVer])
KTX_TEXT_PROPERTY(CScpGeneralInfo, InterpretationApp, texts_[kInterpretationApp])

HRESULT CScpGeneralInfo::get_ReceivedDate(DATE* pVal) {
  if (!pVal) return E_INVALIDARG;
  return ComposeDate({year_, month_, day_, hour_, minute_, second_}, pVal);
}

HRESULT CScpGeneralInfo::put_ReceivedDate(DATE value) {
  const SDateParts parts = SplitDate(value);
  year_ = parts.Year;
  month_ = parts.Month;
  day_ = parts.Day;
  hour_ = parts.Hour;
  minute_ = parts.Minute;
  second_ = parts.Second;
  return S_OK;
}

}  // namespace ktx_com
