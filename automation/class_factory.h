// The class object of one creatable class.
#pragma once

#include "automation/class_table.h"

namespace ktx_com {

// A new factory for the entry (one reference), or null without memory.
IClassFactory* NewClassFactory(CreateInstanceFn create);

}  // namespace ktx_com
