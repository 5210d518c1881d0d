#include "template/TemplateTool.h"

#include <ostream>

#include "platform/Stream.h"
#include "report/frxClassReport.h"
#include "report/frxXMLSerializer.h"

namespace {

// A report template loads as the program loads it: through the report object, with its
// own raw-data records, its option rules and its ancestor (found beside `name`). The
// report reports nothing itself; its error list is the template's.
TTemplate LoadReport(TStream& stream, const std::string& name) {
  auto report = std::make_unique<TfrxReport>();
  report->EngineOptions().NewSilentMode = simSilent;
  report->SetFileName(name);
  report->LoadFromStream(stream);
  // The silent mode is the tool's, not the template's: a normalised template must not
  // carry it.
  report->EngineOptions().NewSilentMode = TfrxEngineOptions().NewSilentMode;
  TTemplate result;
  result.Errors = report->Errors().Items();
  result.Root = std::move(report);
  return result;
}

// Any other root (a page, a test class) is created through the class registry and read
// by the serializer alone.
TTemplate LoadComponent(const TfrxXMLDocument& document, const std::string& name) {
  const std::string& rootClass = document.Root()->Name;
  const TfrxClassInfo* cls = frxFindClass(rootClass);
  if (!cls || !cls->Factory())
    throw ETemplateError(name + ": the document element <" + rootClass + "> is not a known report class");
  TTemplate result;
  result.Root.reset(cls->Factory()(nullptr));
  TfrxXMLSerializer serializer;
  serializer.RootOwner = result.Root.get();
  serializer.LegacyText = document.LegacyText;
  serializer.LoadRoot(result.Root.get(), document.Root());
  result.Errors = serializer.ErrorTexts();
  return result;
}

}  // namespace

TTemplate LoadTemplate(TStream& stream, const std::string& name) {
  // Read once into memory: the document is parsed here for a clear message with the
  // offset, and a report template is read again by the report object.
  TMemoryStream data;
  data.CopyFrom(stream, stream.Size() - stream.Position());
  TfrxXMLDocument document;
  data.SetPosition(0);
  try {
    document.LoadFromStream(data);
  } catch (const TfrxInvalidXMLException& e) {
    throw ETemplateError(name + ": " + e.what() + " (at byte " + std::to_string(e.Offset()) + ")");
  }
  if (frxSameText(document.Root()->Name, TfrxReport::StaticClassInfo().Name())) {
    data.SetPosition(0);
    return LoadReport(data, name);
  }
  return LoadComponent(document, name);
}

TTemplate LoadTemplate(const std::string& path) {
  std::unique_ptr<TFileStream> file;
  try {
    file = std::make_unique<TFileStream>(path, TFileMode::OpenRead, TFileShare::DenyWrite);
  } catch (const EStreamError& e) {
    throw ETemplateError(std::string("cannot read template: ") + e.what());
  }
  return LoadTemplate(*file, path);
}

void SaveTemplate(TfrxComponent& root, TStream& stream) { root.SaveToStream(stream); }

void SaveTemplate(TfrxComponent& root, const std::string& path) {
  // Written to memory first, so that a failing save leaves the old file untouched.
  TMemoryStream data;
  SaveTemplate(root, data);
  try {
    data.SaveToFile(path);
  } catch (const EStreamError& e) {
    throw ETemplateError(std::string("cannot write template: ") + e.what());
  }
}

static void PrintNode(const TfrxComponent& node, int level, std::ostream& out) {
  out << std::string(static_cast<size_t>(level) * 2, ' ') << node.ClassName();
  if (!node.Name().empty()) out << ' ' << node.Name();
  out << " (" << frxFloatToStr(node.Left()) << "; " << frxFloatToStr(node.Top()) << "; "
      << frxFloatToStr(node.Width()) << "; " << frxFloatToStr(node.Height()) << ")\n";
  for (const TfrxComponent* child : node.Objects()) PrintNode(*child, level + 1, out);
}

void PrintTree(const TfrxComponent& root, std::ostream& out) { PrintNode(root, 0, out); }

namespace {

constexpr const char* kUsage =
    "usage: tavrel-template check FILE       list the errors met while loading\n"
    "       tavrel-template tree FILE        print the objects: class, name, bounds\n"
    "       tavrel-template normalise FILE OUT   load and write back in the normal form\n"
    "                                            (OUT \"-\" is standard output)\n";

int ReportErrors(const TTemplate& t, std::ostream& err) {
  for (const std::string& e : t.Errors) err << e << '\n';
  return t.Errors.empty() ? 0 : 1;
}

}  // namespace

int RunTemplateTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << kUsage;
    return 2;
  }
  const std::string& command = args[0];
  const size_t wanted = command == "normalise" ? 3 : 2;
  if ((command != "check" && command != "tree" && command != "normalise") || args.size() != wanted) {
    err << kUsage;
    return 2;
  }
  try {
    TTemplate t = LoadTemplate(args[1]);
    if (command == "tree") PrintTree(*t.Root, out);
    if (command == "normalise") {
      if (args[2] == "-") {
        TMemoryStream data;
        SaveTemplate(*t.Root, data);
        out << data.DataString();
      } else {
        SaveTemplate(*t.Root, args[2]);
      }
    }
    return ReportErrors(t, err);
  } catch (const ETemplateError& e) {
    err << "tavrel-template: " << e.what() << '\n';
    return 2;
  }
}
