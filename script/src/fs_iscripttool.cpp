#include "script/fs_iscripttool.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>

#include "script/fs_iilparser.h"
#include "script/fs_iinterpreter.h"
#include "script/fs_isysrtti.h"

namespace {

constexpr const char* kUsage =
    "usage: tavrel-script [--language NAME] [--il | --run] FILE\n"
    "Checks a report script's syntax and prints OK, or with --il the intermediate\n"
    "program; with --run compiles and runs its main block.\n"
    "  --language NAME  PascalScript (default), C++Script, BasicScript or JScript;\n"
    "                   a first line \"#language NAME\" in the file also selects it\n"
    "  --il             print the intermediate program (XML) instead of OK\n"
    "  --run            run the script; ShowMessage writes its text to standard output\n"
    "  --help           print this text\n";

struct Options {
  std::string language = "PascalScript";
  bool il = false;
  bool run = false;
  bool help = false;
  std::string file;
};

// False with a message for a command line that does not make sense.
bool ParseArgs(const std::vector<std::string>& args, Options& options, std::string& problem) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--il") {
      options.il = true;
    } else if (arg == "--run") {
      options.run = true;
    } else if (arg == "--language") {
      if (i + 1 >= args.size()) {
        problem = "--language needs a language name";
        return false;
      }
      options.language = args[++i];
    } else if (arg.rfind("--language=", 0) == 0) {
      options.language = arg.substr(11);
    } else if (arg.size() > 1 && arg[0] == '-') {
      problem = "unknown option " + arg;
      return false;
    } else if (!options.file.empty()) {
      problem = "only one FILE may be given";
      return false;
    } else {
      options.file = arg;
    }
  }
  if (!options.help && options.file.empty()) {
    problem = "no FILE given";
    return false;
  }
  if (options.il && options.run) {
    problem = "--il and --run do not go together";
    return false;
  }
  return true;
}

void ReportError(std::ostream& err, const std::string& file, const std::string& unit, const std::string& position,
                 const std::string& message) {
  err << (unit.empty() ? file : unit) << ":";
  if (!position.empty()) err << position << ":";
  err << " " << message << "\n";
}

// What a script run by the tool finds: the registered modules, with ShowMessage writing
// its text and a line break to the tool's output for as long as the object lives.
class TRunHost {
 public:
  TRunHost(TfsScript& script, std::ostream& out)
      : previous_(fsSetShowMessageHandler([&out](const std::string& text) { out << text << "\n"; })) {
    script.AddSystemModules();
  }
  ~TRunHost() { fsSetShowMessageHandler(std::move(previous_)); }
  TRunHost(const TRunHost&) = delete;
  TRunHost& operator=(const TRunHost&) = delete;

 private:
  TfsShowMessageHandler previous_;
};

}  // namespace

std::vector<std::string> fsSplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

int fsRunScriptTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Options options;
  std::string problem;
  if (!ParseArgs(args, options, problem)) {
    err << "tavrel-script: " << problem << "\n" << kUsage;
    return 2;
  }
  if (options.help) {
    out << kUsage;
    return 0;
  }
  std::ifstream in(options.file, std::ios::binary);
  if (!in) {
    err << options.file << ": cannot read the file\n";
    return 1;
  }
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

  TfsScript script;
  script.SyntaxType = options.language;
  script.Lines = fsSplitLines(text);
  std::filesystem::path folder = std::filesystem::path(options.file).parent_path();
  script.UnitFolders = {folder.empty() ? std::string() : folder.string()};
  std::optional<TRunHost> host;
  if (options.run) host.emplace(script, out);
  TfsILParser parser(&script);
  if (!script.CompileScript(parser, options.run)) {
    ReportError(err, options.file, script.ErrorUnitName, script.ErrorPosition, script.ErrorMessage);
    return 1;
  }
  if (options.run) {
    // A run-time error is reported at the statement that was running.
    std::string unit, position;
    script.OnRunLine = [&](TfsScript&, const std::string& unitName, const std::string& where) {
      unit = unitName;
      position = where;
    };
    try {
      script.ExecuteScript();
    } catch (const std::exception& e) {
      out.flush();
      ReportError(err, options.file, unit, position, e.what());
      return 1;
    }
    return 0;
  }
  if (options.il) {
    parser.ILDocument().LineBreak.assign(1, '\n');
    out << parser.ILDocument().SaveToString(true);
  } else {
    out << "OK\n";
  }
  return 0;
}
