#include "automation/class_table.h"

#include "KTXSCP32_h.h"
#include "automation/com_object.h"
#include "automation/scp_analysis.h"
#include "automation/scp_loader.h"
#include "automation/scp_patient_info.h"
#include "automation/scp_reader.h"
#include "automation/scp_writer.h"

namespace ktx_com {

// Registration runs in this order. The writer, reader, loader and analysis classes are
// registered already but have no objects yet: their class objects are not available.
SClassEntry g_classes[11] = {
    {&CLSID_ScpPatientInfo, L"ScpPatientInfo", CreateComObject<CScpPatientInfo>, nullptr},
    {&CLSID_ScpRecordingInfo, L"ScpRecordingInfo", nullptr, nullptr},
    {&CLSID_ScpGeneralInfo, L"ScpGeneralInfo", nullptr, nullptr},
    {&CLSID_ScpAnalysisInfo, L"ScpAnalysisInfo", nullptr, nullptr},
    {&CLSID_ScpLeadErrorInfo, L"ScpLeadErrorInfo", nullptr, nullptr},
    {&CLSID_ScpEncodedData, L"ScpEncodedData", nullptr, nullptr},
    {&CLSID_ScpWriter, L"ScpWriter", CreateComObject<CScpWriter>, nullptr},
    {&CLSID_ScpReader, L"ScpReader", CreateComObject<CScpReader>, nullptr},
    {&CLSID_ScpLeadData, L"ScpLeadData", nullptr, nullptr},
    {&CLSID_ScpLoader, L"ScpLoader", CreateComObject<CScpLoader>, nullptr},
    {&CLSID_ScpAnalysis, L"ScpAnalysis", CreateComObject<CScpAnalysis>, nullptr},
};

}  // namespace ktx_com
