// ScpGeneralInfo: received date, interpretation, comment, physicians and the applications
// that made and changed a record.
#pragma once

#include "KTXSCP32_h.h"
#include "automation/com_object.h"
#include "automation/property_macros.h"

namespace ktx_com {

class CScpGeneralInfo : public CComObject<IScpGeneralInfo> {
 public:
  explicit CScpGeneralInfo(IUnknown* outer) : CComObject(outer) {}
  ~CScpGeneralInfo() override;

  KTX_DECLARE_PROPERTY(InterpretationText, BSTR)
  KTX_DECLARE_PROPERTY(RecordingId, BSTR)
  KTX_DECLARE_PROPERTY(InterpretationConfirmed, VARIANT_BOOL)
  KTX_DECLARE_PROPERTY(OverreadingPhysician, BSTR)
  KTX_DECLARE_PROPERTY(InterpretationPhysician, BSTR)
  KTX_DECLARE_PROPERTY(CommentText, BSTR)
  KTX_DECLARE_PROPERTY(CreatorApp, BSTR)
  KTX_DECLARE_PROPERTY(CreatorVer, BSTR)
  KTX_DECLARE_PROPERTY(ModifierApp, BSTR)
  KTX_DECLARE_PROPERTY(ModifierVer, BSTR)
  KTX_DECLARE_PROPERTY(RecordingLocation, BSTR)
  KTX_DECLARE_PROPERTY(RecordingPhysician, BSTR)
  KTX_DECLARE_PROPERTY(InterpretationModified, VARIANT_BOOL)
  KTX_DECLARE_DATE_PROPERTIES(Received)
  KTX_DECLARE_PROPERTY(RecordingApp, BSTR)
  KTX_DECLARE_PROPERTY(RecordingVer, BSTR)
  KTX_DECLARE_PROPERTY(InterpretationVer, BSTR)
  KTX_DECLARE_PROPERTY(InterpretationApp, BSTR)

 private:
  enum ETexts {
    kInterpretationText,
    kRecordingId,
    kOverreadingPhysician,
    kInterpretationPhysician,
    kCommentText,
    kCreatorApp,
    kCreatorVer,
    kModifierApp,
    kModifierVer,
    kRecordingLocation,
    kRecordingPhysician,
    kRecordingApp,
    kRecordingVer,
    kInterpretationVer,
    kInterpretationApp,
    kTextCount
  };
  BSTR texts_[kTextCount] = {};
  SDateParts received_ = {};
  VARIANT_BOOL confirmed_ = 0, modified_ = 0;
};

}  // namespace ktx_com
