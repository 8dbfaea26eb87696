// SPDX-License-Identifier: GPL-2.0-or-later
// Texts files: what each in tests/data/texts must give, where the file is
// looked for, and what a run does when it changes.
#include "status/texts_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "fakes.h"

namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void Write(const fs::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

int Count(const std::string& text, const std::string& part) {
  int count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
  return text;
}

// The readings and facts tests/data/texts/README.md names.
struct Texts : ::testing::Test {
  Texts() {
    sensors.steady = {{"GetCPUTemperature", 45}, {"GetMBTemperature", 7}, {"GetVoltIN1", 1352},
                      {"GetVoltIN2", 3312},      {"GetVoltIN3", 5040},    {"GetVoltIN4", 12160},
                      {"GetFanCPURPM", 950}};
    facts.host_name = "b\xC3\xBCro-pc";
    facts.cpu_model = "  Intel\xC2\xAE  Core\xE2\x84\xA2 i7-8700 CPU @ 3.20GHz ";
    facts.memory_mb = 15907;
    facts.now = {2026, 2, 1, 7, 5};
  }

  std::vector<std::string> Composed(const std::vector<status::Text>& texts) {
    std::vector<std::string> composed;
    composed.reserve(texts.size());
    for (const status::Text& text : texts) {
      composed.push_back(status::ComposeText(text, sensors, &facts));
    }
    return composed;
  }

  fakes::FakeSensors sensors;
  fakes::FakeFacts facts;
  std::ostringstream said;
  platform::Reporter reporter{"statusanzeige", said};
};

TEST_F(Texts, EachDataFileGivesItsTextsOrItsError) {
  int files = 0;
  for (const auto& entry : fs::directory_iterator(STATUSANZEIGE_TEST_DATA "/texts")) {
    const fs::path& path = entry.path();
    if (path.extension() != ".toml") continue;
    ++files;
    const std::string name = path.filename().string();
    const fs::path stem = fs::path(path).replace_extension();
    SCOPED_TRACE(name);
    const auto parsed = status::ParseTextsDocument(Read(path), name);
    if (fs::exists(stem.string() + ".texts")) {
      ASSERT_TRUE(parsed) << parsed.Error().text;
      std::vector<std::string> expected;
      std::istringstream lines(Read(stem.string() + ".texts"));
      for (std::string line; std::getline(lines, line);) {
        expected.push_back(line.substr(1, line.size() - 2));
      }
      EXPECT_EQ(Composed(*parsed), expected);
    } else if (fs::exists(stem.string() + ".error")) {
      ASSERT_FALSE(parsed);
      EXPECT_EQ(parsed.Error().text + "\n", Read(stem.string() + ".error"));
    } else if (fs::exists(stem.string() + ".check")) {
      status::TextsSource source(path.string(), {}, facts, reporter);
      std::ostringstream out;
      EXPECT_EQ(status::CheckTexts(source, sensors, out, reporter), 0);
      EXPECT_EQ(Replaced(out.str(), path.string(), name), Read(stem.string() + ".check"));
    } else {
      ADD_FAILURE() << "no .texts, .error or .check beside it";
    }
  }
  EXPECT_GT(files, 10) << "the data files were found";
}

// A folder of its own for each test, with two places to look in.
struct TextsFiles : Texts {
  TextsFiles() {
    fs::remove_all(folder);
    fs::create_directories(folder / "etc");
  }
  ~TextsFiles() override { fs::remove_all(folder); }

  status::TextsSource Source(const std::string& named = "") {
    return status::TextsSource(named, {user.string(), system.string()}, facts, reporter);
  }
  std::string FirstText(status::TextsSource& source) {
    return status::ComposeText(source.ForRun().front(), sensors, &facts);
  }

  fs::path folder =
      fs::path(::testing::TempDir()) /
      ("texts-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  fs::path user = folder / "texts.toml";
  fs::path system = folder / "etc" / "texts.toml";
};

TEST_F(TextsFiles, TheNamedFileThenTheFirstPlaceThatHasOneThenTheTable) {
  auto source = Source();
  ASSERT_EQ(source.Load(), std::nullopt);
  EXPECT_EQ(source.Current().file, "");
  EXPECT_EQ(source.ForRun(), status::BuiltInTexts());

  Write(system, "texts = ['system']");
  EXPECT_EQ(FirstText(source), "system") << "looked for again at each run";
  Write(user, "texts = ['user']");
  EXPECT_EQ(FirstText(source), "user");
  EXPECT_EQ(source.Current().file, user.string());
  fs::remove(user);
  fs::remove(system);
  EXPECT_EQ(source.ForRun(), status::BuiltInTexts()) << "no file any more: the table";

  Write(folder / "named.toml", "texts = ['named']");
  Write(user, "texts = ['user']");
  auto named = Source((folder / "named.toml").string());
  ASSERT_EQ(named.Load(), std::nullopt);
  EXPECT_EQ(FirstText(named), "named");
  EXPECT_TRUE(said.str().empty());
}

TEST_F(TextsFiles, AnEditShowsAtTheNextRunAndABrokenOneKeepsTheLastGoodTextsSaidOnce) {
  Write(user, "texts = ['at start-up']");
  auto source = Source();
  ASSERT_EQ(source.Load(), std::nullopt);
  Write(user, "texts = ['first']");
  EXPECT_EQ(FirstText(source), "first") << "an edit before the first click shows in it";
  Write(user, "texts = ['second']");
  EXPECT_EQ(FirstText(source), "second");

  Write(user, "texts = ['{oops}']");
  EXPECT_EQ(FirstText(source), "second");
  EXPECT_EQ(FirstText(source), "second");
  const std::string problem = user.string() + ":1:11: text 1: unknown field {oops}";
  EXPECT_EQ(said.str().rfind("statusanzeige: " + problem, 0), 0U) << said.str();
  EXPECT_EQ(Count(said.str(), "\n"), 1) << "said once for two runs";

  Write(user, "texts = ['third']");
  EXPECT_EQ(FirstText(source), "third");
  Write(user, "texts = ['{oops}']");
  EXPECT_EQ(FirstText(source), "third");
  EXPECT_EQ(Count(said.str(), problem), 2) << "broken again after the mend: said again";
}

TEST_F(TextsFiles, AFileThatCannotBeReadIsAClearErrorAtStartUp) {
  const auto problem = [&](const fs::path& named) { return Source(named.string()).Load(); };
  EXPECT_EQ(problem(folder / "missing.toml"),
            "cannot read " + (folder / "missing.toml").string() + ": No such file or directory");
  EXPECT_EQ(problem(folder / "etc"),
            (folder / "etc").string() + " is a directory, not a texts file");
  const std::string texts = "texts = ['x']\n#";
  Write(user, texts + std::string(status::kMaxTextsFileBytes - texts.size(), '#'));
  EXPECT_EQ(problem(user), std::nullopt) << "as large as a texts file may be";
  Write(user, "texts = ['x']\n" + std::string(status::kMaxTextsFileBytes, '#'));
  EXPECT_EQ(problem(user), user.string() +
                               ": the file is larger than 65536 bytes, the most a texts file may "
                               "have");
#ifndef _WIN32
  EXPECT_EQ(problem("/dev/null"), "/dev/null is not a file") << "never a wait on a device";
#endif
}

}  // namespace
