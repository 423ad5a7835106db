// Visibility of the core's public declarations.
#pragma once

#if defined(_WIN32) && defined(KTX_BUILDING_DLL)
#define KTX_API __declspec(dllexport)
#elif defined(_WIN32) && defined(KTX_USING_DLL)
#define KTX_API __declspec(dllimport)
#elif defined(__GNUC__)
#define KTX_API __attribute__((visibility("default")))
#else
#define KTX_API
#endif
