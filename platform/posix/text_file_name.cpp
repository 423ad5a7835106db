// File names off Windows: UTF-8, the file system's encoding, through iconv; limited to
// 260 bytes with the terminator as on Windows.
#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <new>
#include <string>

#include "platform/errors.h"
#include "platform/text.h"

namespace plat {
namespace {

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
constexpr const char* kUtf16 = "UTF-16BE";
#else
constexpr const char* kUtf16 = "UTF-16LE";
#endif

// iconv_open reports failure as (iconv_t)-1.
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr)

struct Converter {
  iconv_t handle;
  ~Converter() {
    if (handle != kNoConverter) iconv_close(handle);
  }
};

// Converts `size` bytes strictly: invalid or incomplete input fails with 13.
bool Convert(const char* to_code, const char* from_code, const char* input, size_t size,
             std::string* output) {
  const Converter converter{iconv_open(to_code, from_code)};
  if (converter.handle == kNoConverter) return FailWith(ErrorFromErrno(errno));
  std::string result(size * 2 + 8, '\0');  // enough for either direction but grown if not
  char* in = const_cast<char*>(input);
  size_t in_left = size;
  size_t done = 0;
  uint32_t error = kErrSuccess;
  while (in_left > 0) {
    char* out = &result[done];
    size_t out_left = result.size() - done;
    const size_t status = iconv(converter.handle, &in, &in_left, &out, &out_left);
    done = result.size() - out_left;
    if (status != static_cast<size_t>(-1)) continue;
    if (errno == E2BIG) {
      result.resize(result.size() * 2);
      continue;
    }
    error = errno == EILSEQ || errno == EINVAL ? kErrInvalidData : ErrorFromErrno(errno);
    break;
  }
  if (error != kErrSuccess) return FailWith(error);
  result.resize(done);
  *output = std::move(result);
  return true;
}

}  // namespace

bool WideToUtf8(const OleChar* text, int32_t length, std::string* out) {
  if (!out || length < -1 || (!text && length != 0)) return FailWith(kErrInvalidParameter);
  return CatchOutOfMemory(false, [&] {
    const size_t count =
        length < 0 ? std::char_traits<OleChar>::length(text) : static_cast<size_t>(length);
    return Convert("UTF-8", kUtf16, reinterpret_cast<const char*>(text), count * sizeof(OleChar),
                   out);
  });
}

bool WideToFileName(const OleChar* name, std::string* out) {
  if (!name || !out) return FailWith(kErrInvalidParameter);
  return CatchOutOfMemory(false, [&] {
    std::string bytes;
    if (!WideToUtf8(name, -1, &bytes)) return false;
    if (bytes.size() >= kMaxPath) return FailWith(kErrInsufficientBuffer);
    *out = std::move(bytes);
    return true;
  });
}

bool FileNameToWide(const char* name, WideString* out) {
  if (!name || !out) return FailWith(kErrInvalidParameter);
  return CatchOutOfMemory(false, [&] {
    const size_t size = std::strlen(name);
    if (size >= kMaxPath) return FailWith(kErrInsufficientBuffer);
    std::string bytes;
    if (!Convert(kUtf16, "UTF-8", name, size, &bytes)) return false;
    WideString wide(bytes.size() / sizeof(OleChar), u'\0');
    std::memcpy(&wide[0], bytes.data(), wide.size() * sizeof(OleChar));
    *out = std::move(wide);
    return true;
  });
}

}  // namespace plat
