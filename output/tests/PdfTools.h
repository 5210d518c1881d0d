#pragma once
// Runs the PDF tools a user would (qpdf, pdftotext, pdffonts) on a written file.

#include <cstdio>
#include <string>

struct TToolResult {
  int Status = -1;
  std::string Output;  // standard output and standard error
};

inline TToolResult RunTool(const std::string& command) {
  TToolResult result;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.Output.append(buffer, n);
  result.Status = pclose(pipe);
  return result;
}

inline std::string Quoted(const std::string& path) { return "'" + path + "'"; }

// qpdf --check: no errors and no warnings.
inline bool QpdfCheckClean(const std::string& path, const std::string& password, std::string& report) {
  const TToolResult r =
      RunTool("qpdf --check " + (password.empty() ? std::string() : "--password=" + password + " ") + Quoted(path));
  report = r.Output;
  return r.Status == 0 && r.Output.find("No syntax or stream encoding errors found") != std::string::npos &&
         r.Output.find("WARNING") == std::string::npos;
}

inline std::string PdfText(const std::string& path, const std::string& options = "-layout") {
  return RunTool("pdftotext " + options + " " + Quoted(path) + " -").Output;
}
