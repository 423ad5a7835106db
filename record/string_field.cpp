#include "record/string_field.h"

void FreeString(plat::Bstr* field) {
  if (*field != nullptr) plat::SysFreeString(*field);
  *field = nullptr;
}

void CopyString(plat::Bstr* field, const plat::Bstr value) {
  if (*field == value) return;
  FreeString(field);
  if (value != nullptr) *field = plat::SysAllocStringLen(value, plat::SysStringLen(value));
}
