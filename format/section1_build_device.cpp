// Section 1 tag 14, acquiring device identification, as the writer fills it.
#include <algorithm>
#include <cstring>

#include "format/section1_build.h"
#include "format/section1_device_block.h"

namespace ktx::section1 {
namespace {

using namespace device;

constexpr size_t kModelBytes = 5;  // byte 13 stays 0 to end the description
constexpr char kDefaultModel[] = "KTS  ";
constexpr char kUnspecifiedAddress[] = "255.255.255.255";  // written without terminator

}  // namespace

bool DeviceTag(const CRecordInfo& recording, Bytes* data) {
  std::string model;
  std::string revision;
  std::string serial;
  if (!AnsiText(recording.DeviceType, &model) || !AnsiText(recording.ProgramRevision, &revision) ||
      !AnsiText(recording.SerialNumber, &serial)) {
    return false;
  }

  uint8_t block[kBlockBytes] = {};
  block[0] = 1;  // institution
  block[2] = 1;  // department
  block[kDeviceIdOffset] = static_cast<uint8_t>(recording.DeviceID);
  block[kDeviceIdOffset + 1] = static_cast<uint8_t>(recording.DeviceID >> 8);
  block[6] = 1;    // device type: acquiring device
  block[7] = 100;  // manufacturer code
  if (recording.DeviceType == nullptr) {
    std::memcpy(block + kModelOffset, kDefaultModel, kModelBytes);
  } else {
    // The terminator counts, so a short description ends with its own 0.
    std::memcpy(block + kModelOffset, model.c_str(), std::min(model.size() + 1, kModelBytes));
  }
  block[14] = 10;    // SCP-ECG protocol revision
  block[15] = 0xFF;  // compatibility level
  block[16] = 0;     // language support
  block[17] = 0xFF;  // capabilities
  block[18] = 0;     // mains frequency unspecified
  std::memcpy(block + kAddressOffset, kUnspecifiedAddress, sizeof(kUnspecifiedAddress) - 1);
  // Only the low byte fits; a revision of 255 bytes or more cannot be described here.
  block[kRevisionLengthOffset] = static_cast<uint8_t>(revision.empty() ? 0 : revision.size() + 1);

  data->assign(block, block + kBlockBytes);
  AppendText(revision, data);
  AppendText(serial, data);
  return true;
}

}  // namespace ktx::section1
