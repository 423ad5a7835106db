#include "support/temp_folder.h"

#include <fstream>
#include <iterator>
#include <random>

namespace test {

TempFolder::TempFolder() {
  std::random_device random;
  // Under the system's scratch folder, never the current one: a run that is killed must
  // not leave its files in a checkout.
  const auto base = std::filesystem::temp_directory_path();
  for (;;) {
    path_ = base / ("ktx-test-" + std::to_string(random()));
    if (std::filesystem::create_directory(path_)) break;
  }
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::File(const std::string& name) const {
  return (path_ / name).string();
}

std::string TempFolder::Write(const std::string& name, const Bytes& bytes) const {
  const std::string path = File(name);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return path;
}

Bytes ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string SamplesFolder() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::path(KTX_SAMPLES_DIR) / "scp";
  return std::filesystem::is_directory(folder, error) ? folder.string() : std::string();
}

}  // namespace test
