#include "jobs/MapiSendMail.h"

#include <gtest/gtest.h>
#include <gmock/gmock.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "FakeDesktop.h"
#include "ReceivedMail.h"
#include "jobs/JobMail.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"

namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string Ansi(std::string_view utf8) { return codepage::Utf8ToAnsi(utf8); }

void WriteFile(const fs::path& path, std::string_view content) { TFakeDesktop::WriteFile(path, content); }

// The mail client is a handler of mailto addresses on a fake desktop.
class MailHandOffTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = desktop_.Root();
    desktop_.RegisterHandler("fakemail", "x-scheme-handler/mailto");
    for (const char* folder : {"program", "temp"}) fs::create_directories(root_ / folder);
    pdf_ = Ansi((root_ / "temp/Faktura_nr_12_żółć.pdf").string());
    WriteFile(fsys::NativePath(pdf_), "%PDF-1.4\n%%EOF\n");
    programFolder_ = (root_ / "program").string() + "/";
  }

  void SetClientStatus(int status) const { desktop_.SetHandlerStatus("fakemail", status); }
  fs::path ReceivedFile() const { return desktop_.Received("fakemail"); }
  bool ClientStarted() const { return fs::exists(ReceivedFile()); }

  TReceivedMail Received() const { return ReadReceivedMail(ReceivedFile()); }

  TEmailSettings Settings(std::string_view bccUtf8 = "") const {
    return TEmailSettings{Ansi(bccUtf8), Ansi("Faktura – zażółć gęślą jaźń"), "body.txt"};
  }

  TFakeDesktop desktop_;
  fs::path root_;
  std::string pdf_;
  std::string programFolder_;
  TMapiSendMail msm_;
};

TEST_F(MailHandOffTest, TheCopyAddressJoinsTheRecipientAsOneLine) {
  struct Case {
    const char* recipient;
    const char* bcc;
    std::vector<std::string> to;
  } cases[] = {
      {"biuro@kowalski.pl", "ksiegowosc@firma.pl", {"biuro@kowalski.pl;ksiegowosc@firma.pl"}},
      {"biuro@kowalski.pl", "   ", {"biuro@kowalski.pl"}},
      {"biuro@kowalski.pl", " \t ", {"biuro@kowalski.pl"}},
      {"biuro@kowalski.pl", "", {"biuro@kowalski.pl"}},
      {"biuro@kowalski.pl", " kopia@firma.pl ", {"biuro@kowalski.pl; kopia@firma.pl "}},
      {"", "kopia@firma.pl", {";kopia@firma.pl"}},
      {"", "  ", {}},
      {"", "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("recipient '") + c.recipient + "', copy '" + c.bcc + "'");
    fs::remove(ReceivedFile());
    SendJobMail(msm_, programFolder_, Settings(c.bcc), pdf_, c.recipient);
    EXPECT_EQ(msm_.Too(), c.to);
    ASSERT_TRUE(ClientStarted());
    const TReceivedMail mail = Received();
    EXPECT_EQ(mail.To, c.to);
    EXPECT_THAT(mail.Attachments, ElementsAre((root_ / "temp/Faktura_nr_12_żółć.pdf").string()));
  }
}

TEST_F(MailHandOffTest, TheBodyComesFromTheBodyFileOrIsTheDefaultText) {
  struct Case {
    const char* name;
    std::string content;  // not written for the missing file
    std::string body;     // UTF-8, as the client gets it
  } cases[] = {
      {"missing file", "", "Treść domyślna\r\n"},
      {"three lines, system text",
       Ansi("Szanowni Państwo,\r\nw załączeniu faktura.\r\nPozdrawiamy, Dział Sprzedaży\r\n"),
       "Szanowni Państwo,\r\nw załączeniu faktura.\r\nPozdrawiamy, Dział Sprzedaży\r\n"},
      {"three lines without a final break, UTF-8 from a desktop editor",
       "Dzień dobry,\nprzesyłamy WZ nr 7/2024.\nŁączę pozdrowienia",
       "Dzień dobry,\r\nprzesyłamy WZ nr 7/2024.\r\nŁączę pozdrowienia\r\n"},
      {"UTF-8 with a byte order mark", "\xEF\xBB\xBFZamówienie gotowe\n", "Zamówienie gotowe\r\n"},
      {"backslashes and shell characters", "Plik: C:\\nowy\\faktury\\0.pdf $HOME `x` \"a\" 'b' & c=d\n",
       "Plik: C:\\nowy\\faktury\\0.pdf $HOME `x` \"a\" 'b' & c=d\r\n"},
      {"blank lines kept", "Pierwsza\n\nTrzecia\n", "Pierwsza\r\n\r\nTrzecia\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(root_ / "program/body.txt");
    if (std::string_view(c.name) != "missing file") WriteFile(root_ / "program/body.txt", c.content);
    SendJobMail(msm_, programFolder_, Settings(), pdf_, "biuro@kowalski.pl");
    ASSERT_TRUE(ClientStarted());
    EXPECT_EQ(Received().Field("body"), c.body);
  }
}

TEST_F(MailHandOffTest, SubjectAndBodyWithPolishLettersArriveIntact) {
  WriteFile(root_ / "program/body.txt", Ansi("Zażółć gęślą jaźń\r\nŹDŹBŁO ŚĆ\r\n"));
  SendJobMail(msm_, programFolder_, Settings(), pdf_, "biuro@kowalski.pl");
  const TReceivedMail mail = Received();
  EXPECT_EQ(mail.Field("subject"), "Faktura – zażółć gęślą jaźń");
  EXPECT_EQ(mail.Field("body"), "Zażółć gęślą jaźń\r\nŹDŹBŁO ŚĆ\r\n");
}

TEST_F(MailHandOffTest, AJobWithoutRecipientAndCopyGivesAMessageWithoutRecipients) {
  SendJobMail(msm_, programFolder_, Settings(), pdf_, "");
  const TReceivedMail mail = Received();
  EXPECT_THAT(mail.To, IsEmpty());
  EXPECT_EQ(mail.Field("subject"), "Faktura – zażółć gęślą jaźń");
  EXPECT_EQ(mail.Attachments.size(), 1u);
  EXPECT_TRUE(fs::exists(fsys::NativePath(pdf_))) << "the temporary PDF stays";
}

TEST_F(MailHandOffTest, SendMailReportsWhetherTheHandOffWasAccepted) {
  msm_.SetToo({"biuro@kowalski.pl"});
  msm_.SetSubject("Faktura");
  msm_.SetText({"Treść"});
  msm_.SetAttachments({pdf_});
  EXPECT_EQ(msm_.SendMail(), 0);

  SetClientStatus(1);
  EXPECT_EQ(msm_.SendMail(), -1) << "the client refused";

  SetClientStatus(0);
  msm_.SetAttachments({Ansi((root_ / "temp/brak.pdf").string())});
  EXPECT_EQ(msm_.SendMail(), -1) << "a missing attachment";

  fs::remove(desktop_.DesktopFile("fakemail"));
  msm_.SetAttachments({pdf_});
  fs::remove(ReceivedFile());
  EXPECT_EQ(msm_.SendMail(), -1) << "no mail client";
  EXPECT_FALSE(ClientStarted());
}

TEST_F(MailHandOffTest, WithoutXdgEmailTheResultIsMinusOne) {
  const std::string path = getenv("PATH");
  setenv("PATH", (root_ / "home").c_str(), 1);
  msm_.SetToo({"biuro@kowalski.pl"});
  const int result = msm_.SendMail();
  setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(result, -1);
  EXPECT_FALSE(ClientStarted());
}

TEST(MapiRecords, FilledFromTheFourProperties) {
  TMapiSendMail msm;
  msm.SetToo({"biuro@kowalski.pl;kopia@firma.pl", "drugi@firma.pl"});
  msm.SetAttachments({"/tmp/poczta/Faktura_nr_12_2024.pdf"});
  msm.SetSubject("Faktura");
  msm.SetText({"Pierwsza", "", "Trzecia"});
  const MapiMessage message = msm.ComposeMessage();

  ASSERT_EQ(message.RecipCount, 2u);
  ASSERT_EQ(message.Recips.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    const MapiRecipDesc& r = message.Recips[i];
    EXPECT_EQ(r.RecipClass, kMapiTo);
    EXPECT_EQ(r.Name, msm.Too()[i]);
    EXPECT_EQ(r.Address, msm.Too()[i]);
    EXPECT_EQ(r.EntryIDSize, 0u);
  }
  ASSERT_EQ(message.FileCount, 1u);
  const MapiFileDesc& f = message.Files.at(0);
  EXPECT_EQ(f.Flags, 0u);
  EXPECT_EQ(f.Position, -1);
  EXPECT_EQ(f.PathName, "/tmp/poczta/Faktura_nr_12_2024.pdf");
  EXPECT_EQ(f.FileName, "/tmp/poczta/Faktura_nr_12_2024.pdf");
  EXPECT_FALSE(f.HasFileType);
  EXPECT_EQ(message.Subject, "Faktura");
  EXPECT_EQ(message.NoteText, "Pierwsza\r\n\r\nTrzecia\r\n");
  EXPECT_EQ(message.Flags, 0u);
  EXPECT_FALSE(message.HasOriginator);
  EXPECT_EQ(message.MessageType, "");
  EXPECT_EQ(message.DateReceived, "");
  EXPECT_EQ(message.ConversationID, "");
}

TEST(MapiRecords, MailtoAddressEncodesEveryFieldAsUtf8) {
  MapiMessage message;
  message.Recips = {MapiRecipDesc{0, kMapiTo, "a&b@x.pl", "a&b@x.pl", 0}, MapiRecipDesc{0, kMapiTo, "", "", 0}};
  message.Subject = Ansi("Ł?=&#");
  message.NoteText = "a b\r\n";
  EXPECT_EQ(MailtoAddress(message), "mailto:?to=a%26b@x.pl&subject=%C5%81%3F%3D%26%23&body=a%20b%0D%0A");
  EXPECT_EQ(MailtoAddress(MapiMessage{}), "mailto:?");
}

}  // namespace
