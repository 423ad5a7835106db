// Any bytes as a WFDB header, an annotation file and a MAT v4 file: each parser must
// fail cleanly or succeed, never crash, read past the input or allocate without bound.
#include <cstdint>
#include <string>
#include <vector>

#include "interchange/mat_v4.h"
#include "interchange/wfdb_annotations.h"
#include "interchange/wfdb_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string why;
  SWfdbHeader header;
  ParseWfdbHeader(std::string(reinterpret_cast<const char*>(data), size), &header, &why);
  std::vector<SWfdbAnnotation> annotations;
  if (ParseWfdbAnnotations(data, size, &annotations, &why)) EncodeWfdbAnnotations(annotations);
  SMatMatrix matrix;
  ParseMatV4(data, size, &matrix, &why);
  return 0;
}
