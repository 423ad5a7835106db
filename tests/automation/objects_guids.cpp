// The class and interface identifiers of the type library, defined once for the client.
#include <windows.h>

// Must come before the library's header: it turns its declarations into definitions.
#include <initguid.h>

#include "KTXSCP32_h.h"
