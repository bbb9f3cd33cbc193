// Copying and extracting included-file records through real file handles.
#include "payload/included_files.h"
#include "payload/included_files_win.h"

#include "payload/config_items.h"
#include "payload/config_store.h"
#include "payload/temp_files.h"
#include "scratch_folder_win.h"
#include "util/handle.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using scratch::Folder;
using scratch::readFile;

constexpr unsigned char kMask = 0xA7;

std::string masked(const std::string& bytes) {
  std::string out = bytes;
  for (char& c : out) c = static_cast<char>(static_cast<unsigned char>(c) ^ kMask);
  return out;
}

// Bytes that include the mask value and 0x00, spread over every block.
std::string sampleBytes(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  if (size > 0) bytes[0] = static_cast<char>(kMask);
  if (size > 1) bytes[1] = '\0';
  if (size > 2) bytes[size - 1] = static_cast<char>(kMask);
  return bytes;
}

std::string record(std::int64_t length, const std::string& data) {
  std::string out;
  for (int i = 0; i < 8; ++i)
    out.push_back(static_cast<char>((static_cast<std::uint64_t>(length) >> (8 * i)) & 0xFF));
  return out + masked(data);
}

UniqueHandle openForReading(const std::string& path) {
  return UniqueHandle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

UniqueHandle createForWriting(const std::string& path) {
  return UniqueHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::int64_t positionOf(HANDLE file) {
  LARGE_INTEGER zero{}, now{};
  return SetFilePointerEx(file, zero, &now, FILE_CURRENT) ? now.QuadPart : -1;
}

TEST(CopyPayloadBytes, UnmasksEveryByteAndStopsAtTheLength) {
  // Sizes around the 6000-byte block, and a file of two full blocks and a part.
  for (std::size_t size : {1u, 5999u, 6000u, 6001u, 13000u}) {
    SCOPED_TRACE(size);
    Folder folder;
    const std::string original = sampleBytes(size);
    // Bytes behind the data belong to the next record and must stay unread.
    ASSERT_TRUE(scratch::writeFile(folder / "source", masked(original) + "NEXT"));
    UniqueHandle source = openForReading(folder / "source");
    {
      UniqueHandle target = createForWriting(folder / "target");
      ASSERT_TRUE(source.valid() && target.valid());
      EXPECT_EQ(copyPayloadBytes(source.get(), target.get(), static_cast<std::int64_t>(size)), 0);
    }
    EXPECT_EQ(positionOf(source.get()), static_cast<std::int64_t>(size));
    EXPECT_EQ(readFile(folder / "target"), original);
  }
}

TEST(CopyPayloadBytes, SourceEndingEarlyIsAReadErrorAfterWhatCouldBeCopied) {
  Folder folder;
  const std::string original = sampleBytes(7000);
  ASSERT_TRUE(scratch::writeFile(folder / "source", masked(original)));
  UniqueHandle source = openForReading(folder / "source");
  {
    UniqueHandle target = createForWriting(folder / "target");
    EXPECT_EQ(copyPayloadBytes(source.get(), target.get(), 13000), 1);
  }
  EXPECT_EQ(readFile(folder / "target"), original);
}

TEST(CopyPayloadBytes, TargetThatCannotBeWrittenIsAWriteError) {
  Folder folder;
  ASSERT_TRUE(scratch::writeFile(folder / "source", masked(sampleBytes(100))));
  ASSERT_TRUE(scratch::writeFile(folder / "target", "old"));
  UniqueHandle source = openForReading(folder / "source");
  UniqueHandle target = openForReading(folder / "target");  // no write access
  EXPECT_EQ(copyPayloadBytes(source.get(), target.get(), 100), 2);
  EXPECT_EQ(readFile(folder / "target"), "old");
}

TEST(CopyPayloadBytes, NothingToCopyReadsNothing) {
  Folder folder;
  ASSERT_TRUE(scratch::writeFile(folder / "source", "abc"));
  UniqueHandle source = openForReading(folder / "source");
  UniqueHandle target = createForWriting(folder / "target");
  EXPECT_EQ(copyPayloadBytes(source.get(), target.get(), 0), 0);
  EXPECT_EQ(positionOf(source.get()), 0);
}

TEST(ExtractIncludedFile, RecordsAreReadOneAfterAnother) {
  Folder folder;
  const std::string big = sampleBytes(13000);
  const std::string small = std::string("\xA7\x00\xFF", 3);
  std::string records = record(13000, big) + record(0, "") + record(-5, "") + record(3, small);
  ASSERT_TRUE(scratch::writeFile(folder / "payload", records + "TRAILER"));
  UniqueHandle source = openForReading(folder / "payload");
  ASSERT_TRUE(source.valid());

  EXPECT_EQ(extractIncludedFile(source.get(), folder / "big.bin"), 0);
  EXPECT_EQ(extractIncludedFile(source.get(), folder / "empty.bin"), 0);
  EXPECT_EQ(extractIncludedFile(source.get(), folder / "negative.bin"), 0);
  EXPECT_EQ(extractIncludedFile(source.get(), folder / "small.bin"), 0);

  EXPECT_EQ(readFile(folder / "big.bin"), big);
  EXPECT_EQ(readFile(folder / "small.bin"), small);
  // Records of length 0 or below make no file.
  EXPECT_FALSE(scratch::exists(folder / "empty.bin"));
  EXPECT_FALSE(scratch::exists(folder / "negative.bin"));
  EXPECT_EQ(positionOf(source.get()), static_cast<std::int64_t>(records.size()));
}

TEST(ExtractIncludedFile, ExistingFileIsReplaced) {
  Folder folder;
  ASSERT_TRUE(scratch::writeFile(folder / "a.dll", std::string(500, 'o')));
  ASSERT_TRUE(scratch::writeFile(folder / "payload", record(2, "hi")));
  UniqueHandle source = openForReading(folder / "payload");
  EXPECT_EQ(extractIncludedFile(source.get(), folder / "a.dll"), 0);
  EXPECT_EQ(readFile(folder / "a.dll"), "hi");
}

TEST(ExtractIncludedFile, CutRecordReturnsTheReadError) {
  Folder folder;
  ASSERT_TRUE(scratch::writeFile(folder / "payload", record(13000, sampleBytes(6500))));
  UniqueHandle source = openForReading(folder / "payload");
  EXPECT_EQ(extractIncludedFile(source.get(), folder / "cut.bin"), 1);
  EXPECT_EQ(readFile(folder / "cut.bin"), sampleBytes(6500));
}

TEST(ExtractIncludedFiles, NoCountMeansNoDirectoryAndNoPosition) {
  ConfigStore& store = configStore();
  for (const char* count : {"0", "", "none"}) {
    SCOPED_TRACE(count);
    store.narrow[kItemIncludedFileCount] = count;
    store.narrow[kItemIncludedFileNames] = "a.dll";
    EXPECT_EQ(extractIncludedFiles(), 0);
    EXPECT_EQ(filesEndPosition(), 0u);
    EXPECT_TRUE(launcherTempDirectory().empty());
  }
  store.narrow.erase(kItemIncludedFileCount);
  store.narrow.erase(kItemIncludedFileNames);
}

}  // namespace
