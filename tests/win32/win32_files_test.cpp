#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/win32/test_probes/file_marks.h"
#include "platform/win32/win32_platform.h"
#include "tests/win32/scratch_folder.h"

namespace kalmor {
namespace {

using probes::FileMark;
using testing::FromUtf8;
using testing::ScratchFolder;

constexpr std::int32_t kErrorFileNotFound = 2;

std::string ReadAll(InputFile& file, std::size_t chunk) {
  std::string bytes;
  std::string buffer(chunk, '\0');
  std::int32_t error = 0;
  while (const std::size_t got = file.read(buffer.data(), buffer.size(), error)) {
    bytes.append(buffer, 0, got);
  }
  EXPECT_EQ(error, 0);
  return bytes;
}

class Win32Files : public ::testing::Test {
 protected:
  ScratchFolder folder;
  Win32Platform platform;
};

TEST_F(Win32Files, FindsPlainFilesOnly) {
  const std::string plain = folder.put("test_#3.INP", "task");
  const std::string hidden = folder.put("hidden.INP", "task");
  const std::string system = folder.put("system.INP", "task");
  ASSERT_TRUE(probes::MarkFile(hidden, FileMark::Hidden));
  ASSERT_TRUE(probes::MarkFile(system, FileMark::System));
  std::filesystem::create_directory(folder.path() / "kmwin32.exe");

  EXPECT_TRUE(platform.plainFileExists(plain));
  EXPECT_TRUE(platform.plainFileExists(testing::Utf8(folder.path()) + "/test_#3.INP"))
      << "the start-up checks join with a slash";
  EXPECT_FALSE(platform.plainFileExists(hidden));
  EXPECT_FALSE(platform.plainFileExists(system));
  EXPECT_FALSE(platform.plainFileExists(folder.file("kmwin32.exe")));
  EXPECT_FALSE(platform.plainFileExists(folder.file("test_#4.INP")));
  EXPECT_FALSE(platform.plainFileExists(folder.file("no such folder\\test_#3.INP")));
}

TEST_F(Win32Files, WritesAndReadsRawBytesInAFolderBeyondAscii) {
  // Bytes of the ANSI page, both line ends and a NUL pass unchanged.
  const std::string bytes = std::string("Pr\xFC" "fung\r\nzweite Zeile\n") + '\0' + "Ende";
  std::int32_t error = 0;
  auto output = platform.openForWriting(folder.file("TMP_INPUT.INP"), error);
  ASSERT_NE(output, nullptr) << "error " << error;
  ASSERT_TRUE(output->write(bytes.data(), 10, error));
  ASSERT_TRUE(output->write(bytes.data() + 10, bytes.size() - 10, error));
  ASSERT_TRUE(output->close(error));

  auto input = platform.openForReading(folder.file("TMP_INPUT.INP"), error);
  ASSERT_NE(input, nullptr) << "error " << error;
  EXPECT_EQ(ReadAll(*input, 7), bytes);
}

TEST_F(Win32Files, WritingEmptiesAnExistingFileEvenWhileItIsOpenForReading) {
  const std::string path = folder.put("KM.OUT", "an older and longer protocol");
  std::int32_t error = 0;
  auto reader = platform.openForReading(path, error);
  ASSERT_NE(reader, nullptr) << "error " << error;

  auto writer = platform.openForWriting(path, error);
  ASSERT_NE(writer, nullptr) << "error " << error;
  ASSERT_TRUE(writer->write("new", 3, error));
  ASSERT_TRUE(writer->close(error));

  auto again = platform.openForReading(path, error);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(ReadAll(*again, 64), "new");
}

TEST_F(Win32Files, ReportsTheSystemErrorWhenAFileCannotBeOpened) {
  std::int32_t error = 0;
  EXPECT_EQ(platform.openForReading(folder.file("KM.OUT"), error), nullptr);
  EXPECT_EQ(error, kErrorFileNotFound);

  error = 0;
  EXPECT_EQ(platform.openForWriting(folder.file("no such folder\\KM.OUT"), error), nullptr);
  EXPECT_NE(error, 0);
}

TEST_F(Win32Files, DeletingCountsAMissingFileAsDeleted) {
  const std::string path = folder.put("KM.OUT", "protocol");
  std::int32_t error = 0;
  EXPECT_TRUE(platform.deleteFile(path, error));
  EXPECT_FALSE(std::filesystem::exists(FromUtf8(path)));
  EXPECT_TRUE(platform.deleteFile(path, error));
  EXPECT_TRUE(platform.deleteFile(folder.file("no such folder\\KM.OUT"), error));
  EXPECT_EQ(error, 0);

  std::filesystem::create_directory(folder.path() / "KM.OUT");
  EXPECT_FALSE(platform.deleteFile(path, error)) << "a folder is not deleted as a file";
  EXPECT_NE(error, 0);
}

}  // namespace
}  // namespace kalmor
