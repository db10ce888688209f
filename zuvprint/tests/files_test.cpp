// What every backend of the file layer must do, run against the POSIX one
// on Linux and the Windows one under Wine: a file test that means a file,
// exclusive copies and creations that never replace a file, whole reads.
#include "platform/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "platform/surface.h"

namespace zuvprint::platform {
namespace {

namespace fs = std::filesystem;

class Files : public ::testing::Test {
 protected:
  Files() : dir_(fs::temp_directory_path() / ("zuvprint_files_" + std::to_string(std::random_device{}()))) {
    fs::create_directories(dir_);
  }
  ~Files() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / fs::u8path(name)).string(); }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(dir_ / fs::u8path(name), std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(dir_ / fs::u8path(name), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

  fs::path dir_;
};

TEST_F(Files, OnlyAnExistingFileExists) {
  Write("plik.txt", "x");
  Write("zażółć.txt", "x");
  fs::create_directories(dir_ / "katalog.txt");
  EXPECT_TRUE(FileExists(Path("plik.txt")));
  EXPECT_TRUE(FileExists(Path("zażółć.txt")));
  EXPECT_FALSE(FileExists(Path("katalog.txt")));
  EXPECT_FALSE(FileExists(Path("brak.txt")));
  EXPECT_FALSE(FileExists(""));
}

TEST_F(Files, DeleteRemovesAFileAndTellsWhenThereWasNone) {
  Write("plik.txt", "x");
  EXPECT_TRUE(DeleteFile(Path("plik.txt")));
  EXPECT_FALSE(fs::exists(dir_ / "plik.txt"));
  EXPECT_FALSE(DeleteFile(Path("plik.txt")));
}

TEST_F(Files, ACopyIsExactAndNeverReplacesAFile) {
  std::string bytes(200000, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  Write("zrodlo.txt", bytes);
  Write("zajety.lst", "mine");
  EXPECT_EQ(CopyToNewFile(Path("zrodlo.txt"), Path("kopia.lst")), CopyResult::Copied);
  EXPECT_EQ(Read("kopia.lst"), bytes);
  EXPECT_EQ(CopyToNewFile(Path("zrodlo.txt"), Path("zajety.lst")), CopyResult::TargetExists);
  EXPECT_EQ(Read("zajety.lst"), "mine");
  EXPECT_EQ(CopyToNewFile(Path("brak.txt"), Path("nowy.lst")), CopyResult::Failed);
  EXPECT_FALSE(fs::exists(dir_ / "nowy.lst"));
  fs::create_directories(dir_ / "katalog");
  EXPECT_EQ(CopyToNewFile(Path("katalog"), Path("nowy.lst")), CopyResult::Failed);
  EXPECT_FALSE(fs::exists(dir_ / "nowy.lst"));
}

TEST_F(Files, WholeFilesAndPiecesAreRead) {
  std::string bytes(150000, 'a');
  bytes += "koniec";
  Write("dane.bin", bytes);
  std::string read;
  EXPECT_EQ(ReadWholeFile(Path("dane.bin"), read), ReadResult::Ok);
  EXPECT_EQ(read, bytes);
  EXPECT_EQ(ReadWholeFile(Path("brak.bin"), read), ReadResult::CannotOpen);
  EXPECT_EQ(read, "");
  fs::create_directories(dir_ / "katalog");
  EXPECT_EQ(ReadWholeFile(Path("katalog"), read), ReadResult::CannotOpen);

  NativeFile file = OpenRegularFile(Path("dane.bin"));
  ASSERT_TRUE(file.IsOpen());
  char piece[6];
  EXPECT_EQ(file.Read(piece, 3), 3);
  EXPECT_EQ(std::string(piece, 3), "aaa");

  std::uint64_t size = 0;
  file = OpenRegularFile(Path("dane.bin"), &size);
  ASSERT_TRUE(file.IsOpen());
  EXPECT_EQ(size, bytes.size());
  EXPECT_EQ(file.ReadAt(150000, piece, sizeof piece), 6);
  EXPECT_EQ(std::string(piece, 6), "koniec");
  EXPECT_EQ(file.ReadAt(size, piece, sizeof piece), 0);  // at the end
  EXPECT_EQ(file.ReadAt(1, piece, 2), 2);                // and back
  EXPECT_EQ(std::string(piece, 2), "aa");
}

TEST_F(Files, OutputTakesTheFirstFreeNumberedName) {
  Write("doc.jsonl", "mine");
  std::string path;
  NativeFile log = CreateWithoutOverwrite(dir_.string(), "doc", ".jsonl", path);
  ASSERT_TRUE(log.IsOpen());
  EXPECT_EQ(fs::path(path).filename(), "doc-2.jsonl");
  EXPECT_TRUE(log.Write("nowy", 4));
  EXPECT_TRUE(log.Close());
  EXPECT_EQ(Read("doc-2.jsonl"), "nowy");
  EXPECT_EQ(Read("doc.jsonl"), "mine");

  Write("doc.pdf", "mine");
  Write("tmp.pdf", "wydruk");
  path = PublishWithoutOverwrite(Path("tmp.pdf"), dir_.string(), "doc", ".pdf");
  EXPECT_EQ(fs::path(path).filename(), "doc-2.pdf");
  EXPECT_EQ(Read("doc-2.pdf"), "wydruk");
  EXPECT_EQ(Read("doc.pdf"), "mine");
  EXPECT_FALSE(fs::exists(dir_ / "tmp.pdf"));

  EXPECT_THROW(CreateWithoutOverwrite(Path("brak/katalog"), "doc", ".jsonl", path), PrintError);
}

}  // namespace
}  // namespace zuvprint::platform
