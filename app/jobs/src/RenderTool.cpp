#include "jobs/RenderTool.h"

#include <cstdio>
#include <optional>
#include <ostream>

#include "jobs/JobFiles.h"
#include "jobs/JobMail.h"
#include "jobs/JobSequence.h"
#include "jobs/JobTicket.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "prepared/frxPreviewPages.h"
#include "report/frxClassReport.h"
#include "report/frxRes.h"
#include "tables/JobDataSets.h"

namespace {

constexpr const char* kHelp =
    "Usage: tavrel-render [options] TICKET.prn\n"
    "       tavrel-render [options] --template FILE.fr3 --data FILE\n"
    "       tavrel-render [options] --prepared FILE.fp3\n"
    "\n"
    "Runs one print job the way the Tavrel utility does, without any window, and exits.\n"
    "A ticket names the data file (PLIK) and the layout file (ARKUSZ) beside which the\n"
    "template lies; --template and --data name both directly. --prepared opens a saved\n"
    "prepared report and sends its pages to the output without any template or data.\n"
    "\n"
    "Options:\n"
    "  --action ACTION  print, preview, pdf, jpg, email or none (default: AKCJA of\n"
    "                   Tavrel.ini when set, else pdf); with --prepared, none opens\n"
    "                   the file and builds every page (email is not offered)\n"
    "  --out DIR        folder the output goes to (default: KATALOG_PDF, or KATALOG_TMP\n"
    "                   for email, of Tavrel.ini when set, else the current folder)\n"
    "  --consume        delete the ticket and the data file afterwards, whatever\n"
    "                   happened, as the utility does (by default nothing is deleted)\n"
    "  --dump-tables    after loading the data, print the job tables Dane, Seria and\n"
    "                   Sumy and the report variables as tab-separated text\n"
    "  --errors         print the report's errors after the run (standard error)\n"
    "  --verbose        print each step of the job on standard error\n"
    "  --help           show this text\n"
    "\n"
    "Settings are read from Tavrel.ini in the program's folder. The files written are\n"
    "printed one per line. Exit status: 0 done, 1 the job failed (its message on\n"
    "standard error), 2 a usage error.\n";

constexpr const char* kActionNames[] = {"print", "preview", "pdf", "jpg", "email"};
constexpr int kNoAction = -1;

struct TRenderOptions {
  std::string Ticket, Template, Data, Prepared, Out;
  std::optional<int> Action;
  bool Consume = false, DumpTables = false, Errors = false, Verbose = false, Help = false;
};

struct TUsageError {
  std::string Message;
};

std::optional<int> ActionByName(const std::string& name) {
  if (name == "none") return kNoAction;
  for (int i = 0; i < 5; ++i)
    if (name == kActionNames[i]) return i;
  return std::nullopt;
}

TRenderOptions ParseOptions(const std::vector<std::string>& args) {
  TRenderOptions o;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    std::optional<std::string> inlineValue;
    if (arg.rfind("--", 0) == 0)
      if (size_t eq = arg.find('='); eq != std::string::npos) {
        inlineValue = arg.substr(eq + 1);
        arg.resize(eq);
      }
    auto value = [&]() -> std::string {
      if (inlineValue) return *inlineValue;
      if (i + 1 >= args.size()) throw TUsageError{"option " + arg + " needs a value"};
      return args[++i];
    };
    auto flag = [&](bool& target) {
      if (inlineValue) throw TUsageError{"option " + arg + " takes no value"};
      target = true;
    };
    if (arg == "--help" || arg == "-h") flag(o.Help);
    else if (arg == "--consume") flag(o.Consume);
    else if (arg == "--dump-tables") flag(o.DumpTables);
    else if (arg == "--errors") flag(o.Errors);
    else if (arg == "--verbose") flag(o.Verbose);
    else if (arg == "--template") o.Template = value();
    else if (arg == "--data") o.Data = value();
    else if (arg == "--prepared") o.Prepared = value();
    else if (arg == "--out") o.Out = value();
    else if (arg == "--action") {
      const std::string name = value();
      o.Action = ActionByName(name);
      if (!o.Action) throw TUsageError{"unknown action '" + name + "' (print, preview, pdf, jpg, email, none)"};
    } else if (arg.size() > 1 && arg[0] == '-') {
      throw TUsageError{"unknown option " + arg};
    } else if (!o.Ticket.empty()) {
      throw TUsageError{"only one ticket can be given"};
    } else {
      o.Ticket = arg;
    }
  }
  if (o.Help) return o;
  const bool direct = !o.Template.empty() || !o.Data.empty();
  if (!o.Prepared.empty()) {
    if (direct || !o.Ticket.empty()) throw TUsageError{"--prepared opens a prepared report alone, without a ticket or a template"};
    if (o.Consume || o.DumpTables) throw TUsageError{"--consume and --dump-tables need a job's data, not a prepared report"};
    if (o.Action && *o.Action == jaEmail) throw TUsageError{"a prepared report has no recipient: --action email needs a job"};
    return o;
  }
  if (!o.Ticket.empty() && direct) throw TUsageError{"give a ticket or --template and --data, not both"};
  if (o.Ticket.empty() && !direct) throw TUsageError{"no job given: a ticket, or --template and --data"};
  if (direct && (o.Template.empty() || o.Data.empty())) throw TUsageError{"--template and --data go together"};
  return o;
}

// The settings the utility would use, with the command line's overrides.
TJobSettings ReadSettings(const TRenderOptions& o, const TIniFile& ini, const std::string& currentFolder) {
  const std::string current = codepage::Utf8ToAnsi(currentFolder);
  TJobSettings s;
  s.Action = o.Action ? *o.Action : ini.ReadInteger("MAIN", "AKCJA", jaPdf);
  if (s.Action < jaPrint || s.Action > jaEmail) s.Action = kNoAction;
  s.TargetFolder = ini.ReadString("MAIN", "KATALOG_PDF", current);
  s.TempFolder = ini.ReadString("EMAIL", "KATALOG_TMP", current);
  if (!o.Out.empty()) s.TargetFolder = s.TempFolder = codepage::Utf8ToAnsi(o.Out);
  return s;
}

std::string Escaped(const std::string& ansi) {
  std::string text;
  for (char c : codepage::AnsiToUtf8(ansi)) {
    if (c == '\t') text += "\\t";
    else if (c == '\\') text += "\\\\";
    else text += c;
  }
  return text;
}

std::string VariantText(const Variant& v) {
  if (v.isText()) return v.toString8();
  if (v.kind() == VarKind::Boolean) return v.toBool() ? "True" : "False";
  if (v.isOrdinal()) return std::to_string(v.toInt64());
  if (v.isFloat()) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15g", v.toDouble());
    return buffer;
  }
  return "";  // empty, null, arrays and objects have no text
}

void DumpTable(TRxMemoryData& table, const char* alias, std::ostream& out) {
  out << alias;
  for (int f = 0; f < table.FieldCount(); ++f) out << '\t' << table.Fields(f).FieldName();
  out << '\n';
  for (table.First(); !table.Eof(); table.Next()) {
    for (int f = 0; f < table.FieldCount(); ++f) out << '\t' << Escaped(table.Fields(f).AsString());
    out << '\n';
  }
}

// Lifts a detail table's filter for the walk and puts it back.
void DumpDetailTable(TRxMemoryData& table, const char* alias, std::ostream& out) {
  const bool filtered = table.Filtered();
  table.SetFiltered(false);
  DumpTable(table, alias, out);
  table.SetFiltered(filtered);
}

// The errors of loading the template and those of the run after it, each once.
void PrintErrors(const TJobSequence& sequence, const TfrxReport& report, std::ostream& err) {
  TfrxErrorList all;
  all.AddAll(sequence.TemplateErrors());
  all.AddAll(report.Errors().Items());
  for (const std::string& e : all.Items()) err << codepage::AnsiToUtf8(e) << '\n';
}

// The job tables with their report datasets and the report object, set up as the main
// window sets up its own.
struct TRenderHost {
  TRenderHost() {
    tables.CreateJobTables();
    // A program that plugged in no store still opens and writes prepared pages.
    if (!report.PreviewPages() && !report.Engine())
      report.SetPreviewPages(std::make_unique<TfrxPreviewPages>(report), nullptr);
    ApplyReportHostSettings(report);
  }
  TJobTables tables;
  TJobDataSets dataSets{tables};
  TfrxReport report;
};

// The files written, and the errors when an export failed or --errors asks for them.
int Finish(const TRenderOptions& o, const TJobSequence& sequence, const TfrxReport& report, const TJobResult& result,
           int status, std::ostream& out, std::ostream& err) {
  for (const std::string& file : result.Files) out << codepage::AnsiToUtf8(file) << '\n';
  if (status == kRenderDone && result.ExportFailed) {
    err << codepage::AnsiToUtf8(frxResources().Get("clErrors")) << '\n';
    PrintErrors(sequence, report, err);
    return kRenderJobFailed;
  }
  if (o.Errors) PrintErrors(sequence, report, err);
  return status;
}

int RunPrepared(const TRenderOptions& o, TJobSequence& sequence, const TJobSettings& settings, TfrxReport& report,
                std::ostream& out, std::ostream& err) {
  TJobResult result;
  int status = kRenderDone;
  try {
    result = sequence.RunPrepared(codepage::Utf8ToAnsi(o.Prepared), settings);
  } catch (const std::exception& e) {
    err << codepage::AnsiToUtf8(e.what()) << '\n';
    status = kRenderJobFailed;
  }
  return Finish(o, sequence, report, result, status, out, err);
}

int RunJob(const TRenderOptions& o, const std::string& programFolder, const std::string& currentFolder,
           std::ostream& out, std::ostream& err, TJobOutputs outputs) {
  const TIniFile ini(programFolder + "Tavrel.ini");
  const TJobSettings settings = ReadSettings(o, ini, currentFolder);
  TRenderHost host;
  // The e-mail action hands its PDF to the mail client with the utility's e-mail settings.
  TMapiSendMail msm;
  const TEmailSettings email = ReadEmailSettings(ini);
  if (!outputs.SendJobMail) outputs.SendJobMail = [&](const std::string& pdfPath, const std::string& recipient) {
    SendJobMail(msm, programFolder, email, pdfPath, recipient);
  };
  TJobSequence sequence(host.report, host.tables, outputs);
  if (o.Verbose) {
    sequence.OnStep = [&err](const std::string& line) { err << codepage::AnsiToUtf8(line) << '\n'; };
    // The progress a window would show, one line per page.
    host.report.OnProgress = [&err](TfrxReport& report, TfrxProgressType, int progress) {
      err << codepage::AnsiToUtf8(report.ProgressCaption(progress)) << '\n';
    };
    for (TJobExportFilter* filter : {outputs.PDF_E, outputs.JPG_E})
      if (filter) filter->SetShowProgress(true);
  }
  if (o.DumpTables)
    sequence.OnDataLoaded = [&] { DumpJobTables(host.tables, host.report.Variables(), out); };

  if (!o.Prepared.empty()) return RunPrepared(o, sequence, settings, host.report, out, err);

  // What --consume may delete is guarded as in the utility (jobs/JobFiles.h); what it
  // leaves alone is said on standard error.
  const auto say = [&err](const std::string& notice) {
    if (!notice.empty()) err << codepage::AnsiToUtf8(notice) << '\n';
  };
  if (o.Consume) say(ProgramFolderNotice(programFolder));
  std::string templatePath, dataPath;
  std::string ticketPath;
  bool dataDeletable = true;  // a data file named on the command line is the user's choice
  if (!o.Ticket.empty()) {
    ticketPath = codepage::Utf8ToAnsi(o.Ticket);
    const TTicketCheck check = CheckTicket(ticketPath);
    dataDeletable = check.Trusted;
    if (o.Consume) say(check.Notice);
    const TJobTicket ticket = check.Readable ? ReadJobTicket(ticketPath) : TJobTicket();
    dataPath = ticket.DataPath;
    if (o.Verbose) {
      err << "bilet: " << o.Ticket << '\n';
      err << "kopii: " << ticket.Copies << '\n';
    }
    // The utility drops such a ticket (deleting its data file); here it is a failure.
    for (const std::string& needed : {ticket.LayoutPath, ticket.DataPath})
      if (!fsys::FileExists(needed)) {
        if (o.Consume) {
          say(DeleteJobDataFile(ticket.DataPath, dataDeletable));
          fsys::DeleteFile(ticketPath);
        }
        err << "Brak pliku zlecenia: " << codepage::AnsiToUtf8(needed) << '\n';
        return kRenderJobFailed;
      }
    templatePath = TemplatePathFor(ticket.LayoutPath);
  } else {
    templatePath = codepage::Utf8ToAnsi(o.Template);
    dataPath = codepage::Utf8ToAnsi(o.Data);
  }

  TJobResult result;
  int status = kRenderDone;
  try {
    RunThenRemove([&] { result = sequence.Run(templatePath, dataPath, settings); },
                  [&] {
                    if (!o.Consume) return;
                    say(DeleteJobDataFile(dataPath, dataDeletable));
                    if (!ticketPath.empty()) fsys::DeleteFile(ticketPath);
                  });
  } catch (const std::exception& e) {
    err << codepage::AnsiToUtf8(e.what()) << '\n';
    status = kRenderJobFailed;
  }
  return Finish(o, sequence, host.report, result, status, out, err);
}

}  // namespace

void DumpJobTables(TJobTables& tables, const TfrxVariables& variables, std::ostream& out) {
  DumpTable(tables.db_Data, "Dane", out);
  DumpDetailTable(tables.db_Serial, "Seria", out);
  DumpDetailTable(tables.db_sumy, "Sumy", out);
  tables.db_Data.First();
  out << "Variables\tName\tValue\n";
  for (int i = 0; i < variables.Count(); ++i) {
    const TfrxVariable& v = variables.Items(i);
    out << '\t' << Escaped(v.Name()) << '\t' << Escaped(VariantText(v.Value())) << '\n';
  }
}

int RunRenderTool(const std::vector<std::string>& args, const std::string& programFolder,
                  const std::string& currentFolder, std::ostream& out, std::ostream& err, TJobOutputs outputs) {
  TRenderOptions options;
  try {
    options = ParseOptions(args);
  } catch (const TUsageError& e) {
    err << "tavrel-render: " << e.Message << "\nTry 'tavrel-render --help'.\n";
    return kRenderUsageError;
  }
  if (options.Help) {
    out << kHelp;
    return kRenderDone;
  }
  return RunJob(options, programFolder, currentFolder, out, err, std::move(outputs));
}
