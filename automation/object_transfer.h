// Transfers between the core records and the automation objects, and the creation of
// objects that the reader and loader hand out. Every transfer reaches the object only
// through its interface, so a client's own implementation of the interface is accepted.
// A null object or record gives E_FAIL before anything is done; otherwise the first
// failing property call ends the transfer and its HRESULT is returned.
#pragma once

#include "KTXSCP32_h.h"
#include "record/analysis_info.h"
#include "record/encoded_data.h"
#include "record/general_info.h"
#include "record/lead_definitions.h"
#include "record/lead_errors.h"
#include "record/lead_measurements.h"
#include "record/patient_info.h"
#include "record/record_info.h"

namespace ktx_com {

// Record into object.
HRESULT FillPatientObject(IScpPatientInfo* object, const CPatientInfo* record);
HRESULT FillRecordingObject(IScpRecordingInfo* object, const CRecordInfo* record);
HRESULT FillGeneralObject(IScpGeneralInfo* object, const CGeneralInfo* record);
HRESULT FillAnalysisObject(IScpAnalysisInfo* object, const CAnalysisInfo* record);
// These three empty the object (Allocate(0)) when a call fails.
HRESULT FillLeadErrorObject(IScpLeadErrorInfo* object, const SLeadErrors* record);
HRESULT FillLeadDataObject(IScpLeadData* object, const SLeadMeasurements* record);

// Rhythm leads keep the sample range of their definitions; reference beats run from
// sample 1 to their own sample count.
enum class EEncodedForm { Rhythm, ReferenceBeat };
HRESULT FillEncodedDataObject(IScpEncodedData* object, const SLeadDefinitions* leads,
                              const SEncodedData* data, EEncodedForm form);

// Object into record.
HRESULT FillPatientRecord(IScpPatientInfo* object, CPatientInfo* record);
HRESULT FillRecordingRecord(IScpRecordingInfo* object, CRecordInfo* record);

// New objects of the module's own classes with their defaults, one reference held by the
// caller: S_OK, E_POINTER for a null result pointer, E_OUTOFMEMORY.
HRESULT NewPatientInfo(IScpPatientInfo** object);
HRESULT NewRecordingInfo(IScpRecordingInfo** object);
HRESULT NewGeneralInfo(IScpGeneralInfo** object);
HRESULT NewAnalysisInfo(IScpAnalysisInfo** object);
HRESULT NewLeadErrorInfo(IScpLeadErrorInfo** object);
HRESULT NewLeadData(IScpLeadData** object);
HRESULT NewEncodedData(IScpEncodedData** object);

}  // namespace ktx_com
