// Writes and reads an XML document shaped like a large prepared report: a few thousand
// pageable pages holding 200,000 elements of 8 attributes, about 100 MB. Prints the
// writing and reading rates, the rate of pugixml's DOM parse of the same file as the
// reference, the resident memory with every page paged out and the time to page one in.
//
//   report_xml_benchmark [folder]   (default: the system's temporary folder)
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <pugixml.hpp>
#include <random>
#include <string>

#include "report/frxXML.h"

namespace {

constexpr int kPages = 4000;
constexpr int kBandsPerPage = 10;
constexpr int kMemosPerBand = 4;  // 4000 * (10 + 40) = 200,000 elements

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

// Eight attributes of the kind the store records for a placed object.
void FillObject(TfrxXMLItem& item, int page, int band, int memo) {
  // Built by appending: GCC 12 warns falsely (-Wrestrict) on "literal" + std::string&&.
  std::string text = "l=\"";
  text += std::to_string(37.7953 + memo * 94.5);
  text += "\" t=\"";
  text += std::to_string(band * 18.9);
  text += "\" w=\"94,4882\" h=\"18,89765\" Font.Name=\"Arial\" Font.Style=\"1\" Frame.Typ=\"15\" x=\"";
  text += EscapeXMLText("Strona " + std::to_string(page) + ", pozycja " + std::to_string(band * 10 + memo) +
                        ": Śruba sześciokątna M8x40 ocynk \"DIN 933\", 100 szt. & nakrętka M8 \"DIN 934\", "
                        "podkładka 8,4 mm; dostawa do magazynu centralnego, Łódź, ul. Piotrkowska 104, "
                        "termin płatności 14 dni od daty wystawienia faktury VAT, uwagi: towar paletowany, "
                        "rozładunek wózkiem widłowym od poniedziałku do piątku w godzinach 7-15, "
                        "kontakt z magazynierem pod numerem wewnętrznym 214");
  text += '"';
  item.Text = std::move(text);
}

void FillPage(TfrxXMLItem& page, int index) {
  page.Name = "page0";
  page.Pageable = true;
  for (int b = 0; b < kBandsPerPage; ++b) {
    TfrxXMLItem* band = page.Add();
    band->Name = 'b';
    band->Name += std::to_string(b + 1);
    FillObject(*band, index, b, 0);
    for (int m = 0; m < kMemosPerBand; ++m) {
      TfrxXMLItem* memo = band->Add();
      memo->Name = 'm';
      memo->Name += std::to_string(m + 1);
      FillObject(*memo, index, b, m);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder = argc > 1 ? argv[1] : SystemTempFolder();
  std::string file = folder + "/tavrel-xml-bench.fp3";
  std::string copy = folder + "/tavrel-xml-bench-copy.fp3";

  // Built as the prepared pages store builds a run: every page but the last two paged out.
  TfrxXMLDocument built;
  built.TempDir = folder;
  built.Root()->Name = "preparedreport";
  auto start = Clock::now();
  for (int p = 0; p < kPages; ++p) {
    FillPage(*built.Root()->Add(), p);
    if (p >= 2) built.PageOutItem(built.Root()->Items(p - 2));
  }
  for (int p = kPages - 2; p < kPages; ++p) built.PageOutItem(built.Root()->Items(p));
  double buildTime = Seconds(start);
  long builtRss = ResidentKilobytes();

  start = Clock::now();
  {
    TFileStream out(file, TFileMode::Create);
    built.SaveToStream(out);
  }
  double pagedWriteTime = Seconds(start);
  double megabytes = static_cast<double>(std::filesystem::file_size(file)) / 1e6;
  built.Clear();

  // Reading: best of three full loads.
  double readTime = 1e9;
  TfrxXMLDocument doc;
  for (int run = 0; run < 3; ++run) {
    start = Clock::now();
    TFileStream in(file, TFileMode::OpenRead);
    doc.LoadFromStream(in);
    readTime = std::min(readTime, Seconds(start));
  }
  long loadedRss = ResidentKilobytes();

  double writeTime = 1e9;
  for (int run = 0; run < 3; ++run) {
    start = Clock::now();
    TFileStream out(copy, TFileMode::Create);
    doc.SaveToStream(out);
    writeTime = std::min(writeTime, Seconds(start));
  }

  double pugiTime = 1e9;
  for (int run = 0; run < 3; ++run) {
    pugi::xml_document pugiDoc;
    start = Clock::now();
    pugi::xml_parse_result result = pugiDoc.load_file(file.c_str());
    pugiTime = std::min(pugiTime, Seconds(start));
    if (!result) {
      std::fprintf(stderr, "pugixml: %s\n", result.description());
      return 1;
    }
  }

  // Paging out every page of the fully loaded document.
  doc.TempDir = folder;
  TfrxXMLItem* root = doc.Root();
  start = Clock::now();
  for (int p = 0; p < root->Count(); ++p) {
    root->Items(p)->Pageable = true;
    doc.PageOutItem(root->Items(p));
  }
  double pageOutTime = Seconds(start);
  long pagedRss = ResidentKilobytes();

  // Paging one page in, at random places of the paging file.
  std::mt19937 random(7);
  constexpr int kPageIns = 2000;
  double pageInTime = 0;
  for (int i = 0; i < kPageIns; ++i) {
    TfrxXMLItem* page = root->Items(static_cast<int>(random() % static_cast<unsigned>(root->Count())));
    start = Clock::now();
    doc.PageInItem(page);
    pageInTime += Seconds(start);
    page->Clear();
  }

  // A partial load leaves every page in the file.
  TFileStream in(file, TFileMode::OpenRead);  // the partial document's store: outlives it
  TfrxXMLDocument partial;
  start = Clock::now();
  partial.LoadFromStream(in, true);
  double partialTime = Seconds(start);
  double partialPageIn = 0;
  for (int i = 0; i < kPageIns; ++i) {
    TfrxXMLItem* page = partial.Root()->Items(static_cast<int>(random() % static_cast<unsigned>(kPages)));
    start = Clock::now();
    partial.PageInItem(page);
    partialPageIn += Seconds(start);
    page->Clear();
  }

  std::printf("document: %.1f MB, %d pages, %d elements of 8 attributes\n", megabytes, kPages,
              kPages * kBandsPerPage * (1 + kMemosPerBand));
  std::printf("building with paging:    %7.3f s, resident %ld MB afterwards\n", buildTime, builtRss / 1024);
  std::printf("writing (all resident):  %7.1f MB/s\n", megabytes / writeTime);
  std::printf("writing (paged in/out):  %7.1f MB/s\n", megabytes / pagedWriteTime);
  std::printf("reading (full load):     %7.1f MB/s\n", megabytes / readTime);
  std::printf("pugixml DOM load_file:   %7.1f MB/s  (reading is %.2f x pugixml)\n", megabytes / pugiTime,
              pugiTime / readTime);
  std::printf("partial load:            %7.1f MB/s\n", megabytes / partialTime);
  std::printf("resident memory: loaded %ld MB, all pages paged out %ld MB\n", loadedRss / 1024,
              pagedRss / 1024);
  std::printf("paging out all pages:    %7.3f s\n", pageOutTime);
  std::printf("page in one page:        %7.1f us (temporary file), %.1f us (partial load source)\n",
              pageInTime / kPageIns * 1e6, partialPageIn / kPageIns * 1e6);

  std::filesystem::remove(file);
  std::filesystem::remove(copy);
  return 0;
}
