// Bad inputs: binary and huge task files, a huge output without a line end,
// and folder names the solver's command line has to carry.
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <fstream>

#include "tests/faults/fault_fixture.h"

namespace kalmor::faults {
namespace {

constexpr std::uintmax_t kHugeTask = 100ULL << 20;
constexpr std::uintmax_t kHugeOutput = 1ULL << 30;

std::string FirstLineOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string line;
  std::getline(in, line, '\r');
  return line;
}

// Writes head, then leaves a hole (zero bytes) up to size.
void SparseFile(const fs::path& path, const std::string& head, std::uintmax_t size) {
  Spit(path, head);
  fs::resize_file(path, size);
}

std::string ReadAt(const fs::path& path, std::uintmax_t offset, std::size_t size) {
  std::ifstream in(path, std::ios::binary);
  in.seekg(static_cast<std::streamoff>(offset));
  std::string bytes(size, '?');
  in.read(bytes.data(), static_cast<std::streamsize>(size));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

using BadInput = FaultRun;

TEST_F(BadInput, BinaryTaskIsCopiedByteForByte) {
  std::string allBytes;
  for (int b = 0; b < 256; ++b) allBytes += static_cast<char>(b);
  using namespace std::string_literals;
  const std::string body = "<Protokoll>\r\nbin:"s + allBytes + "\0\0\r\n"s +
                           "x<Protokoll>\0<Protokoll>\r\r\ntail\0"s;
  const std::string directive = "Protokoll " + (folder / "KM.OUT").string();
  // A lone CR (byte 13 here) ends a line and a lone LF (byte 10) does not.
  const std::string expected = directive + "\r\nbin:" + allBytes.substr(0, 13) + "\r\n" +
                               allBytes.substr(14) + "\0\0\r\n"s + "x" + directive + '\0' +
                               directive + "\r\n\r\ntail\0\r\n"s;
  task(body);
  load();
  const Snapshot before = TakeSnapshot(folder);
  press();
  expectOutcome(Passed(FirstLineOf(folder / "KM.OUT")));
  EXPECT_EQ(Slurp(folder / "TMP_INPUT.INP"), expected);
  expectOnlyRunFilesChanged(before);
}

TEST_F(BadInput, HugeTaskIsCopiedInFull) {
  // One line of 100 MiB of zero bytes after the marker.
  const std::string head = "Stipulation #3\r\n<Protokoll>\r\n";
  SparseFile(folder / "test_#3.INP", head, kHugeTask);
  load();
  const Snapshot before = TakeSnapshot(folder);
  press(std::chrono::minutes(2));
  expectOutcome(Passed(FirstLineOf(folder / "KM.OUT")));
  const std::string directive = "Protokoll " + (folder / "KM.OUT").string();
  const fs::path input = folder / "TMP_INPUT.INP";
  const std::string newHead = "Stipulation #3\r\n" + directive + "\r\n";
  ASSERT_EQ(fs::file_size(input), kHugeTask - head.size() + newHead.size() + 2);
  EXPECT_EQ(ReadAt(input, 0, newHead.size()), newHead);
  EXPECT_EQ(ReadAt(input, kHugeTask / 2, 4), std::string(4, '\0'));
  EXPECT_EQ(ReadAt(input, fs::file_size(input) - 3, 3), std::string("\0\r\n", 3));
  expectOnlyRunFilesChanged(before);
}

TEST_F(BadInput, OldInputFileIsReplacedExactly) {
  const std::string directive = "Protokoll " + (folder / "KM.OUT").string();
  Spit(folder / "TMP_INPUT.INP", std::string(300, 'z'));
  task("Stipulation #3\r\n<Protokoll>\r\n");
  load();
  const Snapshot before = TakeSnapshot(folder);
  press();
  expectOutcome(Passed(FirstLineOf(folder / "KM.OUT")));
  EXPECT_EQ(Slurp(folder / "TMP_INPUT.INP"), "Stipulation #3\r\n" + directive + "\r\n");
  expectOnlyRunFilesChanged(before);
}

TEST_F(BadInput, InputFileThatIsADeviceTakesTheInput) {
  // A character device like /dev/null: written to, nothing to cut.
  if (::mknod((folder / "TMP_INPUT.INP").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) != 0) {
    GTEST_SKIP() << "cannot make a device node here";
  }
  task("<Protokoll>\r\n");
  load();
  const Snapshot before = TakeSnapshot(folder);
  press();
  expectOutcome(Failed());  // the solver read nothing
  expectOnlyRunFilesChanged(before);
}

TEST_F(BadInput, HugeOutputWithoutLineEndShowsABoundedFirstLine) {
  task("%standin nowrite\r\n%standin sleep 300\r\n<Protokoll>\r\n");
  auto& f = load();
  const Snapshot before = TakeSnapshot(folder);
  // As if the solver wrote it: 1 GiB, the first 8 KiB letters, the rest a hole.
  afterPumps(2, [&] { SparseFile(folder / "KM.OUT", std::string(8192, 'x'), kHugeOutput); });
  press();
  expectOutcome(Passed(std::string(4096, 'x')));
  EXPECT_EQ(f.SolverFirstLine, "\r" + std::string(4096, 'x'));
  expectOnlyRunFilesChanged(before);
}

TEST_F(BadInput, FolderNamesReachTheSolverInEveryCallingMode) {
  struct Case {
    const char* folder;
    bool quotedPasses;  // calling modes 1 and 2
    bool plainPasses;   // modes 3 and 4: the bare path is split at blanks
  };
  const Case cases[] = {
      {"Prüf Ordner mit Leerzeichen", true, true},
      {"Ünïcødé 测试 ☃ 🎲", true, true},
      {"latin1 \xfc\xe4 not UTF-8", true, true},
      {"back\\slash\\", true, true},
      // The solver rejoins split words with one blank, so two are lost.
      {"two  blanks", true, false},
      // Windows has no quotes in paths; the command-line rules eat them.
      {"say \"hi\"", false, false},
  };
  for (const Case& c : cases) {
    makeFolder(c.folder);
    task("<Protokoll>\r\n");
    auto& f = load();
    for (int mode = 0; mode < 4; ++mode) {
      SCOPED_TRACE(std::string(c.folder) + ", calling mode " + std::to_string(mode + 1));
      toolkit.choose(f.lstKalmorCallingMode, mode);
      const Snapshot before = TakeSnapshot(folder);
      press();
      const bool passes = mode < 2 ? c.quotedPasses : c.plainPasses;
      expectOutcome(passes ? Passed(FirstLineOf(folder / "KM.OUT")) : Failed());
      EXPECT_EQ(Slurp(folder / "TMP_INPUT.INP"),
                "Protokoll " + (folder / "KM.OUT").string() + "\r\n");
      expectOnlyRunFilesChanged(before);
    }
  }
}

}  // namespace
}  // namespace kalmor::faults
