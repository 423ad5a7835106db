// A scratch folder per test, removed with everything in it at the end.
#pragma once

#include <filesystem>
#include <string>

#include "support/record_builder.h"

namespace test {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // Full path of `name` in the folder, as narrow text for the library.
  std::string File(const std::string& name) const;
  // Writes `bytes` to `name` and returns its full path.
  std::string Write(const std::string& name, const Bytes& bytes) const;

 private:
  std::filesystem::path path_;
};

Bytes ReadWholeFile(const std::string& path);

// The shared sample records beside the checkout; empty when that folder is absent.
std::string SamplesFolder();

}  // namespace test
