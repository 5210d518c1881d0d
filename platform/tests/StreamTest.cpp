#include "platform/Stream.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>

namespace fs = std::filesystem;

namespace {

// A folder of its own per test, removed afterwards.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "tavrel-streams-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempFolder() { fs::remove_all(path_); }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

std::string ReadAll(TStream& s) {
  s.SetPosition(0);
  std::string bytes(static_cast<size_t>(s.Size()), '\0');
  s.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  return bytes;
}

// The behaviour every stream shares, run on each kind.
struct StreamKind {
  const char* name;
  std::function<std::unique_ptr<TStream>(const TempFolder&)> make;
};

class AnyStream : public ::testing::TestWithParam<StreamKind> {
 protected:
  TempFolder folder;
  std::unique_ptr<TStream> s = GetParam().make(folder);
};

TEST_P(AnyStream, WriteSeekReadKeepsPositions) {
  s->WriteString("Faktura VAT nr 12/2026");
  EXPECT_EQ(s->Position(), 22);
  EXPECT_EQ(s->Size(), 22);
  EXPECT_EQ(s->Seek(8, TSeekOrigin::Beginning), 8);
  char buf[4] = {};
  EXPECT_EQ(s->Read(buf, 3), 3);
  EXPECT_EQ(std::string(buf, 3), "VAT");
  EXPECT_EQ(s->Seek(-7, TSeekOrigin::End), 15);
  EXPECT_EQ(s->Seek(3, TSeekOrigin::Current), 18);
  EXPECT_EQ(s->Read(buf, 4), 4);
  EXPECT_EQ(std::string(buf, 4), "2026");
  EXPECT_EQ(s->Read(buf, 4), 0);  // at the end
}

TEST_P(AnyStream, OverwriteInTheMiddleKeepsTheRest) {
  s->WriteString("ABCDEFGH");
  s->SetPosition(2);
  s->WriteString("xy");
  EXPECT_EQ(ReadAll(*s), "ABxyEFGH");
}

TEST_P(AnyStream, ShortReadRaisesFromReadBuffer) {
  s->WriteString("abc");
  s->SetPosition(1);
  char buf[8];
  EXPECT_THROW(s->ReadBuffer(buf, 5), EReadError);
  s->SetPosition(0);
  EXPECT_NO_THROW(s->ReadBuffer(buf, 3));
}

TEST_P(AnyStream, SeekBeforeStartRaisesAndKeepsPosition) {
  s->WriteString("abc");
  EXPECT_THROW(s->Seek(-4, TSeekOrigin::End), EStreamError);
  EXPECT_THROW(s->Seek(-1, TSeekOrigin::Beginning), EStreamError);
  EXPECT_EQ(s->Position(), 3);
}

TEST_P(AnyStream, WritingPastTheEndFillsTheGapWithZeros) {
  s->WriteString("ab");
  s->SetPosition(5);
  s->WriteString("z");
  EXPECT_EQ(ReadAll(*s), std::string("ab\0\0\0z", 6));
}

TEST_P(AnyStream, SetSizeTruncatesAndExtends) {
  s->WriteString("0123456789");
  s->SetSize(4);
  EXPECT_EQ(s->Size(), 4);
  EXPECT_EQ(s->Position(), 4);  // moved back to the new end
  s->SetSize(6);
  EXPECT_EQ(ReadAll(*s), std::string("0123\0\0", 6));
}

TEST_P(AnyStream, PositionsBeyondFourGigabytes) {
  // Only positions are exercised: sizes this large are not written.
  int64_t far = (int64_t{1} << 33) + 5;
  EXPECT_EQ(s->Seek(far, TSeekOrigin::Beginning), far);
  EXPECT_EQ(s->Seek(-5, TSeekOrigin::Current), int64_t{1} << 33);
}

TEST_P(AnyStream, CopyFromCopiesCountOrWholeSource) {
  TMemoryStream source;
  std::string big(200000, 'q');
  big[199999] = 'E';
  source.WriteString(big);
  source.SetPosition(10);
  s->CopyFrom(source, 5);
  EXPECT_EQ(ReadAll(*s), "qqqqq");
  s->SetSize(0);
  EXPECT_EQ(s->CopyFrom(source, 0), 200000);
  EXPECT_EQ(ReadAll(*s), big);
  source.SetPosition(199999);
  EXPECT_THROW(s->CopyFrom(source, 2), EReadError);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, AnyStream,
    ::testing::Values(
        StreamKind{"Memory", [](const TempFolder&) { return std::make_unique<TMemoryStream>(); }},
        StreamKind{"File",
                   [](const TempFolder& f) {
                     return std::make_unique<TFileStream>(f.File("dane.bin"), TFileMode::Create);
                   }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MemoryStream, DataStringAndClear) {
  TMemoryStream m;
  m.WriteString("Dowód dostawy");
  EXPECT_EQ(m.DataString(), "Dowód dostawy");
  EXPECT_EQ(m.Position(), m.Size());  // DataString does not move
  m.Clear();
  EXPECT_EQ(m.Size(), 0);
  EXPECT_EQ(m.Position(), 0);
  EXPECT_EQ(m.DataString(), "");
}

TEST(MemoryStream, SaveAndLoadFile) {
  TempFolder folder;
  TMemoryStream m;
  m.WriteString("pozycja 1\r\npozycja 2");
  m.SaveToFile(folder.File("lista.txt"));
  TMemoryStream back;
  back.LoadFromFile(folder.File("lista.txt"));
  EXPECT_EQ(back.DataString(), "pozycja 1\r\npozycja 2");
  EXPECT_EQ(back.Position(), 0);
}

TEST(FileStream, OpenModes) {
  TempFolder folder;
  std::string path = folder.File("wz.txt");
  { TFileStream(path, TFileMode::Create).WriteString("stara treść"); }
  {
    TFileStream in(path, TFileMode::OpenRead);
    EXPECT_EQ(ReadAll(in), "stara treść");
    EXPECT_THROW(in.WriteString("x"), EWriteError);
  }
  { TFileStream(path, TFileMode::OpenWrite).WriteString("NOWA "); }
  {
    TFileStream rw(path, TFileMode::OpenReadWrite);
    EXPECT_EQ(ReadAll(rw), "NOWA  treść");  // five bytes replaced, the rest kept
  }
  { TFileStream again(path, TFileMode::Create); }  // truncates
  EXPECT_EQ(fs::file_size(path), 0u);
}

TEST(FileStream, FailuresNameTheFile) {
  TempFolder folder;
  std::string missing = folder.File("brak.fr3");
  try {
    TFileStream s(missing, TFileMode::OpenRead);
    FAIL() << "opened a missing file";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot open file \"" + missing + "\". ", 0), 0u) << e.what();
    EXPECT_EQ(e.path(), missing);
    EXPECT_EQ(e.errorCode(), ENOENT);
  }
  EXPECT_THROW(TFileStream(folder.File("nie/ma/folderu.txt"), TFileMode::Create), EFCreateError);
  EXPECT_THROW(TFileStream(folder.path(), TFileMode::OpenRead), EFOpenError);  // a folder
}

TEST(FileStream, ShareLocksAreHonouredBetweenStreams) {
  TempFolder folder;
  std::string path = folder.File("raport.fp3");
  { TFileStream(path, TFileMode::Create).WriteString("x"); }
  {
    TFileStream reader(path, TFileMode::OpenRead, TFileShare::DenyWrite);
    TFileStream secondReader(path, TFileMode::OpenRead, TFileShare::DenyWrite);
    EXPECT_THROW(TFileStream(path, TFileMode::Create, TFileShare::Exclusive), EFCreateError);
    EXPECT_THROW(TFileStream(path, TFileMode::OpenReadWrite, TFileShare::Exclusive), EFOpenError);
  }
  EXPECT_EQ(fs::file_size(path), 1u);  // the refused create did not truncate
  TFileStream writer(path, TFileMode::OpenReadWrite, TFileShare::Exclusive);
  EXPECT_THROW(TFileStream(path, TFileMode::OpenRead, TFileShare::DenyWrite), EFOpenError);
}

TEST(FileStream, TemporaryFilesAreUniqueAndInTheFolder) {
  TempFolder folder;
  auto a = TFileStream::CreateTemporary(folder.path(), "fr");
  auto b = TFileStream::CreateTemporary(folder.path(), "fr");
  EXPECT_NE(a->FileName(), b->FileName());
  EXPECT_EQ(fs::path(a->FileName()).parent_path(), fs::path(folder.path()));
  EXPECT_EQ(fs::path(a->FileName()).filename().string().rfind("fr", 0), 0u);
  a->WriteString("abc");
  EXPECT_EQ(ReadAll(*a), "abc");
  EXPECT_THROW(TFileStream::CreateTemporary(folder.File("brak"), "fr"), EFCreateError);
  auto sys = TFileStream::CreateTemporary("", "fr");
  EXPECT_EQ(fs::path(sys->FileName()).parent_path(), fs::path(SystemTempFolder()));
  fs::remove(sys->FileName());
}

}  // namespace
