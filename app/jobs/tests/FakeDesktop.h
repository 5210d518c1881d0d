#pragma once
// A desktop without any desktop environment, in a temporary folder: the XDG folders and
// HOME point into it, and handlers registered here are what xdg-open and xdg-email start.
// A handler is a small script that records its arguments, one a line, in
// <root>/<name>.received and ends with the status in <root>/<name>.status.

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TFakeDesktop {
 public:
  TFakeDesktop() {
    char pattern[] = "/tmp/tavrel-desktop-XXXXXX";
    if (!mkdtemp(pattern)) throw std::runtime_error("no temporary folder for the fake desktop");
    root_ = pattern;
    for (const char* folder : {"config", "data/applications", "home"})
      std::filesystem::create_directories(root_ / folder);
    Set("HOME", (root_ / "home").string());
    Set("XDG_CONFIG_HOME", (root_ / "config").string());
    Set("XDG_CONFIG_DIRS", (root_ / "config").string());
    Set("XDG_DATA_HOME", (root_ / "data").string());
    Set("XDG_DATA_DIRS", (root_ / "data").string());
    // xdg-open looks up handlers only with a display; nothing connects to it.
    Set("DISPLAY", ":97");
    // Never a real browser when a handler is not found.
    Set("BROWSER", "/bin/false");
    for (const char* name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                             "GNOME_DESKTOP_SESSION_ID", "MATE_DESKTOP_SESSION_ID", "MAILER",
                             "WAYLAND_DISPLAY", "XDG_SESSION_DESKTOP"})
      Set(name, std::nullopt);
  }
  // The environment goes back to what it was, for the tests that follow in the process.
  ~TFakeDesktop() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second) setenv(it->first.c_str(), it->second->c_str(), 1);
      else unsetenv(it->first.c_str());
    }
    std::filesystem::remove_all(root_);
  }
  TFakeDesktop(const TFakeDesktop&) = delete;
  TFakeDesktop& operator=(const TFakeDesktop&) = delete;

  const std::filesystem::path& Root() const { return root_; }

  static void WriteFile(const std::filesystem::path& path, std::string_view content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
  }

  // Registers the handler `name` as the default for `mimeType`.
  void RegisterHandler(const std::string& name, const std::string& mimeType) {
    const std::filesystem::path script = root_ / (name + ".sh");
    WriteFile(script, "#!/bin/sh\n"
                      "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" + (root_ / (name + ".received")).string() +
                          "\"\n"
                          "exit $(cat \"" + (root_ / (name + ".status")).string() + "\")\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    SetHandlerStatus(name, 0);
    WriteFile(DesktopFile(name), "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" + script.string() +
                                     " %u\nMimeType=" + mimeType + ";\n");
    defaults_ += mimeType + "=" + name + ".desktop\n";
    WriteFile(root_ / "config/mimeapps.list", "[Default Applications]\n" + defaults_);
  }
  std::filesystem::path DesktopFile(const std::string& name) const {
    return root_ / "data/applications" / (name + ".desktop");
  }
  void SetHandlerStatus(const std::string& name, int status) const {
    WriteFile(root_ / (name + ".status"), std::to_string(status) + "\n");
  }
  std::filesystem::path Received(const std::string& name) const { return root_ / (name + ".received"); }

 private:
  void Set(const std::string& name, const std::optional<std::string>& value) {
    const char* previous = getenv(name.c_str());
    saved_.emplace_back(name, previous ? std::optional<std::string>(previous) : std::nullopt);
    if (value) setenv(name.c_str(), value->c_str(), 1);
    else unsetenv(name.c_str());
  }

  std::filesystem::path root_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
  std::string defaults_;  // the lines of mimeapps.list
};
