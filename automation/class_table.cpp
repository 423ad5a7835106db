#include "automation/class_table.h"

#include "KTXSCP32_h.h"
#include "automation/com_object.h"
#include "automation/scp_analysis.h"
#include "automation/scp_analysis_info.h"
#include "automation/scp_encoded_data.h"
#include "automation/scp_general_info.h"
#include "automation/scp_lead_data.h"
#include "automation/scp_lead_error_info.h"
#include "automation/scp_loader.h"
#include "automation/scp_patient_info.h"
#include "automation/scp_reader.h"
#include "automation/scp_recording_info.h"
#include "automation/scp_writer.h"

namespace ktx_com {

// Registration runs in this order, one line per class.
SClassEntry g_classes[11] = {
    {&CLSID_ScpPatientInfo, L"ScpPatientInfo", CreateComObject<CScpPatientInfo>, nullptr},
    {&CLSID_ScpRecordingInfo, L"ScpRecordingInfo", CreateComObject<CScpRecordingInfo>, nullptr},
    {&CLSID_ScpGeneralInfo, L"ScpGeneralInfo", CreateComObject<CScpGeneralInfo>, nullptr},
    {&CLSID_ScpAnalysisInfo, L"ScpAnalysisInfo", CreateComObject<CScpAnalysisInfo>, nullptr},
    {&CLSID_ScpLeadErrorInfo, L"ScpLeadErrorInfo", CreateComObject<CScpLeadErrorInfo>, nullptr},
    {&CLSID_ScpEncodedData, L"ScpEncodedData", CreateComObject<CScpEncodedData>, nullptr},
    {&CLSID_ScpWriter, L"ScpWriter", CreateComObject<CScpWriter>, nullptr},
    {&CLSID_ScpReader, L"ScpReader", CreateComObject<CScpReader>, nullptr},
    {&CLSID_ScpLeadData, L"ScpLeadData", CreateComObject<CScpLeadData>, nullptr},
    {&CLSID_ScpLoader, L"ScpLoader", CreateComObject<CScpLoader>, nullptr},
    {&CLSID_ScpAnalysis, L"ScpAnalysis", CreateComObject<CScpAnalysis>, nullptr},
};

}  // namespace ktx_com
