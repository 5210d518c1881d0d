// The program's main job at scale: 1,000 invoices (one per page: a title block over
// Dane, 20 lines over Seria, the total over Sumy, a page footer) from the data file to
// one PDF file, through tavrel-render's own road (template, data file loader, engine,
// PDF export). Reports the seconds, the pages, the file's size and the process's peak
// resident memory. The template is the shared speed workload's; the data file is made
// here with the same contents.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QGuiApplication>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/JobExportFilters.h"
#include "engine/frxEngine.h"
#include "jobs/RenderTool.h"
#include "output/frxClassExport.h"
#include "platform/CodePage.h"
#include "prepared/frxPreviewPages.h"
#include "script/fs_ireportscript.h"

namespace fs = std::filesystem;

namespace {

constexpr int kInvoices = 1000;
constexpr int kLines = 20;

// N invoices in the data-file format (Windows-1250), as the workload's generator writes them.
std::string InvoiceData(int invoices) {
  std::string out;
  char line[256];
  for (int i = 1; i <= invoices; ++i) {
    out += "1=Firma Handlowa Żółw Sp. z o.o. nr " + std::to_string(i) + "\r\n";
    std::snprintf(line, sizeof line, "2=ul. Świętokrzyska %d, 00-%03d Warszawa\r\n", i % 200, i % 1000);
    out += line;
    out += "3=2026-12-10\r\n95=" + std::to_string(i) + "/12/2026\r\nTABLE P\r\n";
    double total = 0;
    for (int k = 1; k <= kLines; ++k) {
      const int qty = (i * k) % 17 + 1;
      const double price = (i + k) % 90 + 9.99;
      const double value = qty * price;
      total += value;
      std::snprintf(line, sizeof line, "%d</>Artykuł biurowy - pozycja %d (zestaw %d)</>%d</>%.2f</>%.2f</>\r\n", k, k, i,
                    qty, price, value);
      out += line;
    }
    std::snprintf(line, sizeof line, "ENDTABLE\r\nTABLE S\r\n%.2f</>\r\nENDTABLE\r\n", total);
    out += line;
  }
  return codepage::Utf8ToAnsi(out);
}

long PeakResidentKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// The page count of a PDF file we wrote: the page tree's /Count.
int PdfPageCount(const fs::path& pdf) {
  std::ifstream in(pdf, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  const std::string text = bytes.str();
  const size_t tree = text.find("/Type /Pages");
  const size_t count = tree == std::string::npos ? tree : text.find("/Count ", tree);
  return count == std::string::npos ? 0 : std::atoi(text.c_str() + count + 7);
}

void BM_InvoiceJobToPdf(benchmark::State& state) {
  const fs::path folder = fs::temp_directory_path() / ("tavrel_invoice_bench_" + std::to_string(getpid()));
  fs::create_directories(folder);
  const fs::path data = folder / "dane_1000.txt";
  std::ofstream(data, std::ios::binary) << InvoiceData(kInvoices);
  const std::string templatePath = std::string(TAVREL_SOURCE_DIR) + "/app/bench/fixtures/faktura_p1.fr3";
  TJobExportFilters filters;
  TJobOutputs outputs;
  filters.AddTo(outputs);
  filters.PDF_E.SetSubsetFonts(state.range(0) != 0);
  fs::path pdf;
  for (auto _ : state) {
    std::ostringstream out, err;
    const int status = RunRenderTool({"--template", templatePath, "--data", data.string(), "--action", "pdf", "--out",
                                      folder.string()},
                                     folder.string() + "/", folder.string(), out, err, outputs);
    if (status != 0) state.SkipWithError(err.str().c_str());
    pdf = out.str().substr(0, out.str().find('\n'));
  }
  state.counters["pages"] = PdfPageCount(pdf);
  state.counters["file_MB"] = fs::exists(pdf) ? fs::file_size(pdf) / 1e6 : 0;
  state.counters["peak_RSS_MB"] = PeakResidentKilobytes() / 1024.0;
  fs::remove_all(folder);
}
BENCHMARK(BM_InvoiceJobToPdf)->Arg(0)->Arg(1)->ArgName("subset")->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QGuiApplication application(qtArgc, argv);
  fsUseScriptEngineForReports();
  frxRegisterPreviewPages();
  frxRegisterExportFilters();
  frxRegisterEngine();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
