// C8BitMemReader on arbitrary bytes: the first byte picks signed or unsigned.
#include "acquisition/raw8_reader.h"
#include "raw_stream_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzRawStream<C8BitMemReader, 1>(data, size);
}
