#include "record/global_measurements.h"

void SGlobalMeasurements::KillData() {
  *this = SGlobalMeasurements();
}
