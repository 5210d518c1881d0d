#pragma once
// Templates as files: loading with the load errors listed, saving in the normal form,
// printing the object tree, and the command line of tavrel-template.
//
// A template's document element names the class of its root object. Report templates
// (TfrxReport) load through the report object, as the program loads them: its raw-data
// records (datasets, variables, styles), its option rules and its ancestor; their
// errors are the report's error list. Any other root is created through the class
// registry and read by the serializer, keeping its error texts. Saving goes through the
// root's own SaveToStream.

#include <iosfwd>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "report/frxClassComponent.h"

class TStream;

// A template that cannot be read: the message names the file and the reason.
class ETemplateError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TTemplate {
  std::unique_ptr<TfrxComponent> Root;
  std::vector<std::string> Errors;  // sorted, each message once
};

// `name` is used in messages.
TTemplate LoadTemplate(TStream& stream, const std::string& name);
TTemplate LoadTemplate(const std::string& path);
void SaveTemplate(TfrxComponent& root, TStream& stream);
void SaveTemplate(TfrxComponent& root, const std::string& path);

// One line per object, indented two spaces per level: class, name and bounds.
void PrintTree(const TfrxComponent& root, std::ostream& out);

// tavrel-template check FILE | tree FILE | normalise FILE OUT ("-": standard output).
// Exit status: 0 done, 1 the template has load errors (listed on `err`), 2 bad usage or
// a file that cannot be read or written.
int RunTemplateTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
