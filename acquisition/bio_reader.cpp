#include "acquisition/bio_reader.h"

#include "acquisition/bio_data_blocks.h"
#include "acquisition/bio_input.h"
#include "platform/errors.h"
#include "platform/memory_file.h"
#include "platform/scoped_file.h"

using ktx::acq::BioInput;

namespace {

// Reads a block structure whatever the payload length says; SkipRest then passes
// over what the payload holds beyond the structures read.
template <typename Block>
bool ReadBlock(BioInput& input, Block* block, uint32_t* consumed) {
  if (!input.Read(block, sizeof(Block))) return false;
  *consumed += sizeof(Block);
  return true;
}

bool SkipRest(BioInput& input, uint32_t payload, uint32_t consumed) {
  return payload <= consumed || input.Skip(payload - consumed);
}

// Type 2 and 3 headers: the block, then the extension when the payload has room.
template <typename Block>
bool ReadWithExtension(BioInput& input, uint16_t payload, SECGInfo* header, uint32_t* consumed) {
  Block block{};
  if (!ReadBlock(input, &block, consumed)) return false;
  header->Set(block);
  SBioBlockExt extension{};
  if (payload < sizeof(block) + sizeof(extension)) return true;
  if (!ReadBlock(input, &extension, consumed)) return false;
  header->Set(extension);
  return true;
}

// One data block a lead: a 6 or 12-lead device may send fewer.
bool CheckType3Leads(SECGInfo* header, int blocks) {
  const int dataBlocks = blocks - 1;
  if ((header->LeadCount == 6 || header->LeadCount == 12) && dataBlocks <= header->LeadCount) {
    header->LeadCount = static_cast<uint8_t>(dataBlocks < 0 ? 0 : dataBlocks);
  }
  return header->LeadCount == dataBlocks || plat::FailWith(plat::kErrInvalidData);
}

// The header block: fills `header` and gives the number of events it announces.
bool ReadHeader(BioInput& input, int blocks, SECGInfo* header, int16_t* events) {
  uint16_t payload = 0;
  uint8_t type = 0;
  if (!input.ReadBlockHead(&payload, &type)) return false;
  uint32_t consumed = 0;
  SBioBlock20 block20{};
  SBioBlock15 block15{};
  switch (type) {
    case 2:
      if (!ReadWithExtension<SBioBlock2>(input, payload, header, &consumed)) return false;
      break;
    case 3:
      if (!ReadWithExtension<SBioBlock3>(input, payload, header, &consumed) ||
          !CheckType3Leads(header, blocks)) {
        return false;
      }
      break;
    case 20:
      if (!ReadBlock(input, &block20, &consumed)) return false;
      header->Set(block20);
      break;
    case 30:
      if (!ReadBlock(input, &block15, &consumed)) return false;
      header->Set(block15);
      *events = block15.EventCount;
      break;
    default:
      return plat::FailWith(plat::kErrInvalidData);
  }
  if (!SkipRest(input, payload, consumed)) return false;
  if (*events == 0) *events = 1;
  if (header->LeadCount < 1 || header->LeadCount > 12) return plat::FailWith(plat::kErrInvalidData);
  return true;
}

// An event block: the first one describes event 0, each later one the next event.
bool ReadEventBlock(BioInput& input, uint16_t payload, CBioReader& reader, int16_t* current,
                    bool* seen) {
  SBioBlock16 block{};
  uint32_t consumed = 0;
  if (!ReadBlock(input, &block, &consumed) || !SkipRest(input, payload, consumed)) {
    return false;
  }
  if (block.Valid == 0) return plat::FailWith(plat::kErrInvalidData);
  if (*seen && ++*current >= reader.EventCount) return plat::FailWith(plat::kErrOutOfStructures);
  *seen = true;
  SEvent& event = reader.Events[*current];
  // Data blocks ahead of the first event block have filled leads sized for the
  // header's count; a longer count would reach past them. (A count that does not
  // grow keeps the samples read.)
  if (event.Leads != nullptr && block.SampleCount > event.Info.SampleCount) {
    return plat::FailWith(plat::kErrInvalidData);
  }
  event.Info.Set(block);
  return true;
}

// Blocks 2 to N. Blocks of types 12-14 and 32-38 carry nothing the events use; they
// are passed over and reading goes on, so that a device that adds them still reads.
bool ReadBlocks(BioInput& input, int blocks, CBioReader& reader) {
  int16_t current = 0;
  bool seen = false;
  for (int i = 2; i <= blocks; ++i) {
    uint16_t payload = 0;
    uint8_t type = 0;
    if (!input.ReadBlockHead(&payload, &type)) return false;
    bool ok = true;
    if (type == 31) {
      ok = ReadEventBlock(input, payload, reader, &current, &seen);
    } else if (ktx::acq::IsBioDataBlock(type)) {
      // The payload length of a data block is not used: the event's count rules.
      ok = ktx::acq::ReadBioDataBlock(input, reader.Events[current], type);
    } else if ((type >= 12 && type <= 14) || (type >= 32 && type <= 38)) {
      ok = input.Skip(payload);
    } else {
      ok = plat::FailWith(plat::kErrInvalidData);
    }
    if (!ok) return false;
  }
  return true;
}

}  // namespace

bool CBioReader::ReadEvents(const char* fileName, int16_t* eventCount) {
  // A null count is refused like a null name: the caller could not learn the result.
  if (fileName == nullptr || eventCount == nullptr)
    return plat::FailWith(plat::kErrInvalidParameter);
  ClearEvents();
  *eventCount = 0;
  const plat::ScopedFile file(fileName);
  return file.IsOpen() && ReadOpened(file.Handle(), eventCount);
}

bool CBioReader::ReadEventsMemory(const uint8_t* bytes, size_t size, int16_t* eventCount) {
  if ((bytes == nullptr && size != 0) || eventCount == nullptr) {
    return plat::FailWith(plat::kErrInvalidParameter);
  }
  ClearEvents();
  *eventCount = 0;
  const plat::FileHandle file = plat::OpenMemoryFile(bytes, size);
  if (file == plat::kClosedFile) return false;
  const bool ok = ReadOpened(file, eventCount);
  plat::KeepLastError keep;
  plat::CloseFile(file);
  return ok;
}

bool CBioReader::ReadOpened(plat::FileHandle file, int16_t* eventCount) {
  uint64_t size = 0;
  if (!plat::FileSize(file, &size)) return false;
  BioInput input(file, size);

  uint8_t blocks = 0;
  SECGInfo header;
  header.Clear();
  int16_t events = 0;
  bool ok =
      input.Read(&blocks, 1) && ReadHeader(input, blocks, &header, &events) && AllocEvents(events);
  if (ok) {
    for (int16_t i = 0; i < EventCount; ++i) Events[i].Info.Set(header);
    ok = blocks < 2 || ReadBlocks(input, blocks, *this);
  }
  if (!ok) {
    plat::KeepLastError keep;
    ClearEvents();
    return false;
  }
  *eventCount = EventCount;
  plat::SetLastError(plat::kErrSuccess);
  return true;
}
