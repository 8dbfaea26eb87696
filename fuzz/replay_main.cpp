// SPDX-License-Identifier: GPL-2.0-or-later
// Runs a fuzz target's LLVMFuzzerTestOneInput once on every file of the
// folders (and on the files) given, in name order, as libFuzzer does when it
// only reads a corpus. Built with the ordinary compiler for the tests, so a
// saved input that once crashed fails them on every build, sanitized or not.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  std::vector<std::filesystem::path> files;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path given(argv[i]);
    std::error_code ec;
    if (!std::filesystem::is_directory(given, ec)) {
      files.push_back(given);
      continue;
    }
    for (std::filesystem::recursive_directory_iterator it(given, ec), end; !ec && it != end;
         it.increment(ec)) {
      if (it->is_regular_file(ec)) files.push_back(it->path());
    }
    if (ec) {
      std::fprintf(stderr, "%s: %s\n", argv[i], ec.message().c_str());
      return 1;
    }
  }
  std::sort(files.begin(), files.end());
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "cannot read %s\n", file.string().c_str());
      return 1;
    }
    const std::string input{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    // A copy of its own, as libFuzzer gives, so reads past the end are found.
    const std::vector<std::uint8_t> bytes(input.begin(), input.end());
    std::fprintf(stderr, "%s\n", file.string().c_str());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  }
  std::printf("%zu inputs run\n", files.size());
  return files.empty() ? 1 : 0;
}
