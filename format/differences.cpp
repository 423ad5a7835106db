#include "format/waveform_steps.h"
#include "platform/errors.h"

bool UndoDifferences(uint8_t order, std::vector<int16_t>* samples) {
  int16_t* x = samples->data();
  const size_t n = samples->size();
  switch (order) {
    case 0:
      return true;
    case 1:
      // The first sample is stored as it is, every other one as its step.
      for (size_t i = 1; i < n; ++i) x[i] = static_cast<int16_t>(x[i] + x[i - 1]);
      return true;
    case 2:
      // The first two samples are stored as they are.
      for (size_t i = 2; i < n; ++i) x[i] = static_cast<int16_t>(x[i] + 2 * x[i - 1] - x[i - 2]);
      return true;
    default:
      return plat::FailWith(plat::kErrInvalidData);
  }
}
