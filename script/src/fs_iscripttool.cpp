#include "script/fs_iscripttool.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>

#include "script/fs_iilparser.h"
#include "script/fs_iinterpreter.h"

namespace {

constexpr const char* kUsage =
    "usage: tavrel-script [--language NAME] [--il] FILE\n"
    "Compiles a report script and prints OK, or with --il the intermediate program.\n"
    "  --language NAME  PascalScript (default), C++Script, BasicScript or JScript;\n"
    "                   a first line \"#language NAME\" in the file also selects it\n"
    "  --il             print the intermediate program (XML) instead of OK\n"
    "  --help           print this text\n";

struct Options {
  std::string language = "PascalScript";
  bool il = false;
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
  return true;
}

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
  TfsILParser parser(&script);
  if (!script.CompileScript(parser)) {
    const std::string& where = script.ErrorUnitName.empty() ? options.file : script.ErrorUnitName;
    err << where << ":";
    if (!script.ErrorPosition.empty()) err << script.ErrorPosition << ":";
    err << " " << script.ErrorMessage << "\n";
    return 1;
  }
  if (options.il) {
    parser.ILDocument().LineBreak.assign(1, '\n');
    out << parser.ILDocument().SaveToString(true);
  } else {
    out << "OK\n";
  }
  return 0;
}
