#include "automation/scp_general_info.h"

namespace ktx_com {

CScpGeneralInfo::~CScpGeneralInfo() {
  for (BSTR text : texts_) SysFreeString(text);
}

KTX_DATE_PROPERTIES(CScpGeneralInfo, Received, received_)
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

}  // namespace ktx_com
