#include "report/frxRes.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/Stream.h"
#include "report/frxXML.h"

namespace {

std::vector<TfrxResourceEntry> ReadDocument(const std::string& bytes, std::string_view source = "test.xml") {
  TMemoryStream stream;
  stream.WriteString(bytes);
  stream.SetPosition(0);
  return frxReadResourceDocument(stream, source);
}

void LoadDocument(TfrxResources& table, const std::string& bytes) {
  TMemoryStream stream;
  stream.WriteString(bytes);
  stream.SetPosition(0);
  table.LoadFromStream(stream, "test.xml");
}

std::string Document(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<Resources CodePage=\"1250\">" + body + "</Resources>";
}

std::vector<std::filesystem::path> SourceDocuments() {
  std::vector<std::filesystem::path> paths;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(TAVREL_SOURCE_DIR) / "report/res"))
    if (entry.path().extension() == ".xml") paths.push_back(entry.path());
  std::sort(paths.begin(), paths.end());
  return paths;
}

struct LookupCase {
  const char* what;
  const char* stored;  // nullptr: no entry for the key
  const char* expected;
};

TEST(frxResLookup, FollowsTheEntryRules) {
  const LookupCase cases[] = {
      {"missing key yields the key", nullptr, "clDecryptError"},
      {"plain entry", "Błąd", "Błąd"},
      {"leading ! is dropped", "!Domyślny", "Domyślny"},
      {"only one ! is dropped", "!!Uwaga", "!Uwaga"},
      {"entry of a lone !", "!", ""},
      {"empty entry is not a missing one", "", ""},
      {"! inside the text stays", "Uwaga!", "Uwaga!"},
      {"blanks are kept", " Strona ", " Strona "},
  };
  for (const auto& c : cases) {
    TfrxResources table;
    if (c.stored) table.Add("clDecryptError", c.stored);
    EXPECT_EQ(table.Get("clDecryptError"), c.expected) << c.what;
    EXPECT_EQ(table.Contains("clDecryptError"), c.stored != nullptr) << c.what;
  }
}

TEST(frxResLookup, KeysCompareExactly) {
  TfrxResources table;
  table.Add("prDupl", "Nazwa jest już użyta");
  EXPECT_EQ(table.Get("PRDUPL"), "PRDUPL");
  EXPECT_EQ(table.Get("prDupl "), "prDupl ");
  EXPECT_EQ(table.Get(""), "");
}

TEST(frxResLookup, NumberedKeysAreTheirDecimalText) {
  TfrxResources table;
  table.Add("200", "Drukuj");
  EXPECT_EQ(table.Get(200), "Drukuj");
  EXPECT_EQ(table.Get(201), "201");
}

TEST(frxResLookup, LaterEntryReplacesEarlier) {
  TfrxResources table;
  table.Add("mbError", "Error");
  table.Add("mbError", "Błąd");
  EXPECT_EQ(table.Get("mbError"), "Błąd");
  table.AddEntries({{"mbError", "Uwaga"}, {"clClose", "Zamknij"}, {"mbError", "!Błąd krytyczny"}});
  EXPECT_EQ(table.Get("mbError"), "Błąd krytyczny");
  EXPECT_EQ(table.Get("clClose"), "Zamknij");
  EXPECT_EQ(table.Count(), 2u);
}

TEST(frxResDocument, TextIsUtf8AndBecomesSystemCodePage) {
  auto entries = ReadDocument(Document("<StrRes Name=\"x\" Text=\"Zażółć gęślą jaźń\"/>"));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].Name, "x");
  EXPECT_EQ(entries[0].Text.size(), std::string("Zażółć gęślą jaźń").size() - 9);  // one byte per letter
  EXPECT_EQ(codepage::AnsiToUtf8(entries[0].Text), "Zażółć gęślą jaźń");
}

TEST(frxResDocument, KeepsDocumentOrderEscapesAndOtherElementsAside) {
  auto entries = ReadDocument(Document(
      "<!-- faktury -->"
      "<StrRes Name=\"b\" Text=\"Pozycja &#34;%s&#34;&#13;&#10;druga linia\"/>"
      "<Image Name=\"logo\" Data=\"00\"/>"
      "<StrRes Name=\"a\" Text=\"\"/>"
      "<StrRes Name=\"b\" Text=\"!Netto \"/>"));
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].Name, "b");
  EXPECT_EQ(entries[0].Text, "Pozycja \"%s\"\r\ndruga linia");
  EXPECT_EQ(entries[1].Name, "a");
  EXPECT_EQ(entries[1].Text, "");
  EXPECT_EQ(entries[2].Text, "!Netto ");
}

struct BadDocumentCase {
  const char* what;
  std::string bytes;
  const char* message;  // part of the error message
};

TEST(frxResDocument, BadDocumentsRaiseAndLeaveTheTableAsItWas) {
  const BadDocumentCase cases[] = {
      {"no declaration", "<Resources><StrRes Name=\"a\" Text=\"x\"/></Resources>", "Invalid file format"},
      {"broken tag", "<?xml version=\"1.0\"?><Resources><StrRes Name=\"a\" <x></Resources>", "Invalid file format"},
      {"empty input", "", "Invalid file format"},
      {"another document element", "<?xml version=\"1.0\"?><TfrxReport><StrRes Name=\"a\" Text=\"x\"/></TfrxReport>",
       "\"TfrxReport\""},
      {"code page not a number", "<?xml version=\"1.0\"?><Resources CodePage=\"cp1250\"></Resources>", "\"cp1250\""},
      {"code page with a broken reference", "<?xml version=\"1.0\"?><Resources CodePage=\"&#12a;\"></Resources>",
       "document element, CodePage"},
      {"code page unknown", "<?xml version=\"1.0\"?><Resources CodePage=\"31337\"></Resources>", "\"31337\""},
      {"entry without a name", Document("<StrRes Name=\"a\" Text=\"x\"/><StrRes Text=\"y\"/>"), "element 2 has no Name"},
      {"reference that is not a number", Document("<StrRes Name=\"a\" Text=\"x\"/><StrRes Name=\"b\" Text=\"&#4x;\"/>"),
       "element 2, Text"},
  };
  for (const auto& c : cases) {
    TfrxResources table;
    table.Add("mbError", "Błąd");
    try {
      LoadDocument(table, c.bytes);
      ADD_FAILURE() << c.what << ": no error";
    } catch (const EfrxResourceError& e) {
      const std::string message = e.what();
      EXPECT_NE(message.find("test.xml"), std::string::npos) << c.what << ": " << message;
      EXPECT_NE(message.find(c.message), std::string::npos) << c.what << ": " << message;
    }
    EXPECT_EQ(table.Count(), 1u) << c.what;
    EXPECT_FALSE(table.Contains("a")) << c.what;
    EXPECT_EQ(table.Get("mbError"), "Błąd") << c.what;
  }
}

TEST(frxResDocument, MissingCodePageMeansTheSystemPage) {
  auto entries = ReadDocument("<?xml version=\"1.0\"?><Resources><StrRes Name=\"mbError\" Text=\"Błąd\"/></Resources>");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(codepage::AnsiToUtf8(entries[0].Text), "Błąd");
}

TEST(frxResTable, LaterDocumentOverridesAndKeepsTheRest) {
  TfrxResources table;
  LoadDocument(table, Document("<StrRes Name=\"mbError\" Text=\"Błąd\"/><StrRes Name=\"clClose\" Text=\"Zamknij\"/>"));
  LoadDocument(table, Document("<StrRes Name=\"mbError\" Text=\"!Błąd programu\"/><StrRes Name=\"clFaktura\" Text=\"Faktura VAT\"/>"));
  EXPECT_EQ(codepage::AnsiToUtf8(table.Get("mbError")), "Błąd programu");
  EXPECT_EQ(codepage::AnsiToUtf8(table.Get("clClose")), "Zamknij");
  EXPECT_EQ(codepage::AnsiToUtf8(table.Get("clFaktura")), "Faktura VAT");
  EXPECT_EQ(table.Count(), 3u);
}

TEST(frxResTable, LoadsAFileAndNamesAMissingOne) {
  const auto folder = std::filesystem::temp_directory_path() / ("frxRes_test_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "dostawa_pl.xml").string();
  {
    TFileStream file(path, TFileMode::Create);
    file.WriteString(Document("<StrRes Name=\"clDelivery\" Text=\"Dowód dostawy\"/>"));
  }
  TfrxResources table;
  table.LoadFromFile(path);
  EXPECT_EQ(codepage::AnsiToUtf8(table.Get("clDelivery")), "Dowód dostawy");

  const std::string missing = (folder / "brak.xml").string();
  try {
    table.LoadFromFile(missing);
    ADD_FAILURE() << "no error for a missing file";
  } catch (const EStreamError& e) {
    EXPECT_NE(std::string(e.what()).find("brak.xml"), std::string::npos) << e.what();
  }
  std::filesystem::remove_all(folder);
}

// Texts the report library shows, exactly as its users see them (UTF-8 here).
struct CarriedText {
  const char* key;
  const char* text;
};

TEST(frxResCarried, ShowsTheLibrarysPolishTexts) {
  const CarriedText cases[] = {
      {"prDupl", "Nazwa jest już użyta"},
      {"clErrors", "Pojawił się następujący błąd(y):"},
      {"mbError", "Błąd"},
      {"clDSNotExist", "Źródło \"%s\" nie istnieje"},
      {"dbNotConn", "Źródło %s jest niepodłączone"},
      {"dbFldNotFound", "Nieznaleziono pola:"},
      {"clUnknownVar", "Nieznana zmienna lub pole danych:"},
      {"clScrError", "Błąd wykonania skryptu w %s: %s"},
      {"prDefault", "Domyślny"},
      {"xrCantFindClass", "Nie znaleziono klasy"},
      {"enUnconnHeader", "Niepołączony nagłówek/stopka"},
      {"prRunningFirst", "Pierwszy przebieg: strona %d"},
      {"clNoPrinters", "Brak zainstalowanych drukarek w systemie"},
      {"clFirstPass", "Pierwszy przebieg: strona "},
      {"clPageOf", "Strona %d z %d"},
      {"JPEGexportFilter", "Jpeg obraz (*.jpg)|*.jpg"},
      {"8707", "Dokument Adobe PDF (*.pdf)|*.pdf"},
      {"9", "Podaj numer strony i/lub zakres stron, oddzielone przecinkami, np.1,3,5-12"},
      {"200", "Drukuj"},
      {"305", "Rozróżniaj wielkość liter"},
      {"413", "Zastosuj do bieżącej strony"},
      {"152", "Wyślij przez E-mail"},
  };
  for (const auto& c : cases) EXPECT_EQ(codepage::AnsiToUtf8(frxResources().Get(c.key)), c.text) << c.key;
}

// Every key the library looks up; each must have its entry in the carried documents.
const char* const kCollectedKeys[] = {
    "1", "2", "7", "9",
    "100", "101", "102", "103", "104", "105", "106", "107", "108", "109", "110", "119", "120", "121",
    "124", "125", "126", "127", "128", "129", "130", "131", "132", "133", "134", "135", "136", "137",
    "138", "139", "140", "141", "142", "150", "151", "152",
    "200", "201", "202", "203", "204", "205", "207", "208", "209", "210", "211", "212", "213", "214",
    "216", "510",
    "300", "301", "302", "303", "304", "305",
    "400", "401", "402", "403", "404", "405", "406", "407", "408", "409", "410", "411", "412", "413",
    "414", "uCm", "uInch",
    "600", "601",
    "8600", "8601", "8707", "8708", "PDFexport", "JPEGexport", "JPEGexportFilter",
    "clDSNotExist", "clErrors", "clScrError", "clUnknownVar", "dbFldNotFound", "dbNotConn", "enBandPos",
    "enUnconnGFooter", "enUnconnGroup", "enUnconnHeader", "mbError", "prDupl", "prInvProp",
    "xrCantFindClass",
    "prExporting", "prPrinting", "prRunning", "prRunningFirst",
    "clNoPrinters", "prCustom", "prDefault", "prVirtual",
    "clCancel", "clClose", "clFirstPass", "clFP3files", "clLoading", "clPageOf", "clSaving",
    "clStrNotFound", "zmPageWidth", "zmWholePage",
};

// Keys shown as themselves: they must stay without an entry.
const char* const kKeysWithoutEntry[] = {"clDecryptError", "PdfB", "EmailB"};

TEST(frxResCarried, HoldEveryCollectedKey) {
  TfrxResources table;
  ASSERT_NO_THROW(table.LoadCarriedDocuments());
  for (const char* key : kCollectedKeys) EXPECT_TRUE(table.Contains(key)) << key;
  for (const char* key : kKeysWithoutEntry) {
    EXPECT_FALSE(table.Contains(key)) << key;
    EXPECT_EQ(frxResources().Get(key), key);
  }
}

TEST(frxResCarried, AreTheSourceDocumentsWithNoKeyTwice) {
  std::map<std::string, std::string> firstSeenIn;
  std::size_t entries = 0;
  const auto paths = SourceDocuments();
  ASSERT_FALSE(paths.empty());
  for (const auto& path : paths) {
    TFileStream file(path.string(), TFileMode::OpenRead);
    for (const auto& entry : frxReadResourceDocument(file, path.filename().string())) {
      ++entries;
      auto [it, fresh] = firstSeenIn.emplace(entry.Name, path.filename().string());
      EXPECT_TRUE(fresh) << entry.Name << " in " << path.filename() << " and " << it->second;
    }
  }
  TfrxResources table;
  table.LoadCarriedDocuments();
  EXPECT_EQ(table.Count(), firstSeenIn.size()) << "the library carries other documents than report/res";
  EXPECT_EQ(frxResources().Count(), firstSeenIn.size());
  EXPECT_EQ(entries, firstSeenIn.size());
}

TEST(frxResCarried, TextsFitTheSystemCodePage) {
  for (const auto& path : SourceDocuments()) {
    TfrxXMLDocument document;
    document.LoadFromFile(path.string());
    const TfrxXMLItem& root = *document.Root();
    for (int i = 0; i < root.Count(); ++i) {
      const std::string utf8 = root.Items(i)->Prop("Text");
      EXPECT_EQ(codepage::AnsiToUtf8(codepage::Utf8ToAnsi(utf8)), utf8)
          << root.Items(i)->Prop("Name") << " in " << path.filename();
    }
  }
}

}  // namespace
